// Shared helpers of the editor tests: a small survey and an editor over it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "calc/CalcTestSupport.h"
#include "edit/DataEditor.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::test {

// A record of station cave/passage/point (reference 0/0/"").
inline doc::SurveyRecord& AddStation(doc::SurveyStore& store, int cave, int passage, std::string_view point) {
  auto record = std::make_unique<doc::SurveyRecord>();
  record->cave = cave, record->passage = passage;
  base::SetText(record->point, point);
  store.records.push_back(std::move(record));
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  return *store.records.back();
}

struct EditorFixture : ::testing::Test {
  std::unique_ptr<doc::SurveyStore> store = EmptySurvey();
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore program;
  const doc::SurveyRecord* marked = nullptr;
  std::unique_ptr<edit::DataEditor> editor;

  edit::DataEditor& Open(int number) {
    editor = std::make_unique<edit::DataEditor>(*store, prompter, edit::EditorSettings::Load(program), &marked);
    editor->Open(number);
    return *editor;
  }
  void Type(edit::Field field, std::string_view utf8) { editor->Edit(field, base::Utf8ToCp1252(utf8)); }
  std::string Shown(edit::Field field) const { return base::Cp1252ToUtf8(editor->form()[field]); }
};

}  // namespace hp::test
