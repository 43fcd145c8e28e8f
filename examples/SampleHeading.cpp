// Gives an imported sample document the title, sheet designation and cadastre
// entry that a table text cannot carry, so the sample shows real ones on
// screen, in prints and in exports instead of the placeholders.
// Usage: hp_sample_heading DOC.hpn TITLE SHEET NUMBER CADASTRE (texts in
// UTF-8; the cadastre number and the cadastre designation).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "doc/DocumentFile.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

int main(int argc, char** argv) {
  using namespace hp;
  if (argc != 6) {
    std::fprintf(stderr, "Aufruf: hp_sample_heading DOKUMENT.hpn TITEL BLATT NUMMER KATASTER\n");
    return 2;
  }
  const std::string path = argv[1];
  doc::SurveyStore store;
  platform::ScriptedPrompter prompter;
  const platform::MemorySettingsStore settings;
  size_t target = 0;
  if (doc::LoadDocument(path, store, doc::ReadMode::Open, target, prompter, settings) != doc::ReadStatus::Ok) {
    for (const std::string& text : prompter.Texts()) std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
  }
  base::SetText(store.settings.title, base::Utf8ToCp1252(argv[2]));
  store.currentWorksheet->setSheetDesignation(base::Utf8ToCp1252(argv[3]));
  store.settings.cadastreNumber = static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10));
  base::SetText(store.settings.cadastreDesignation, base::Utf8ToCp1252(argv[5]));
  if (!doc::SaveDocument(path, store)) {
    std::fprintf(stderr, "%s kann nicht geschrieben werden.\n", path.c_str());
    return 1;
  }
  return 0;
}
