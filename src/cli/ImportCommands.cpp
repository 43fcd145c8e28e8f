// import: table text, PocketTopo text and documents into a new document or a
// copy of an existing one.
#include <filesystem>
#include <ostream>
#include <vector>

#include "base/NumberFormat.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "import/DocumentImport.h"
#include "import/ImportCommand.h"
#include "import/TextImport.h"

namespace hp::cli {

int RunImport(const CommandContext& c) {
  const bool append = c.args.HasFlag("--append");
  const auto into = c.args.options.find("--into");
  const auto hpnMode = c.args.options.find("--hpn-mode");
  if (append && into == c.args.options.end()) {
    c.err << "hollowplan-cli: --append braucht --into DOC.hpn\n";
    return kExitUsage;
  }
  int documentMode = 0;
  if (hpnMode != c.args.options.end()) {
    const auto value = base::ParseInteger(hpnMode->second);
    if (!value || *value < 0 || *value > 3) {
      c.err << "hollowplan-cli: --hpn-mode nimmt 0, 1, 2 oder 3\n";
      return kExitUsage;
    }
    documentMode = static_cast<int>(*value);
  }

  doc::SurveyStore store;
  if (into != c.args.options.end()) {
    if (!OpenInput(c, into->second, store)) return kExitFailed;
  } else {
    store.SetDefaults();
  }
  CliPrompter prompter(c.err, c.args.answer);
  const auto settings = SettingsOf(c.args);
  const std::filesystem::path input = c.args.positional[0];
  std::string extension = input.extension().string();
  for (char& ch : extension) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (extension == ".hpn") {
    const doc::ReadMode mode = imports::ImportCommand::DocumentPartsMode(documentMode);
    if (imports::ImportDocument(store, input, mode, prompter, settings) == imports::DocumentImportResult::Failed) {
      return kExitFailed;
    }
  } else if (const auto tableMode = append ? imports::TableImportMode::Append : imports::TableImportMode::Replace;
             !imports::ImportTable(store, input, tableMode, prompter)) {
    return kExitFailed;
  }
  const std::filesystem::path output = *c.args.output;
  std::vector<std::filesystem::path> unread;
  imports::UpdateIncludes(store, output.parent_path().empty() ? "." : output.parent_path(), prompter, settings,
                          &unread);
  // A document missing the records of an include file is written only when
  // the caller said so.
  if (!unread.empty() && c.args.answer != platform::Answer::Yes) return kExitFailed;
  return WriteOutput(c, output.string(), store) ? kExitOk : kExitFailed;
}

}  // namespace hp::cli
