#include "export/PrepareView.h"

#include "doc/DisplayType.h"

namespace hp::exports {

namespace {

constexpr int kScreenHeight = 1024;

}  // namespace

void PrepareView(PreparedView& prepared, const doc::SurveyStore& store, const platform::SettingsStore& settings) {
  const doc::Worksheet& worksheet = *store.currentWorksheet;
  if (!doc::IsDrawnType(worksheet.displayType())) return;
  prepared.picture = draw::ComposePicture(store, worksheet, prepared.view, settings, kScreenHeight);
}

}  // namespace hp::exports
