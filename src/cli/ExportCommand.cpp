// export: what the export command does after its dialogs, for the formats
// that have a writer.
#include <filesystem>
#include <string>

#include "calc/ComputePass.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "cli/ViewOptions.h"
#include "export/ExportFile.h"
#include "export/PrepareView.h"

namespace hp::cli {
namespace {

int Usage(const CommandContext& c, const std::string& problem) {
  c.err << "hollowplan-cli: " << problem << "\n";
  return kExitUsage;
}

}  // namespace

int RunExport(const CommandContext& c) {
  const std::filesystem::path input = c.args.positional[0];
  const std::filesystem::path output = c.args.positional[1];
  const auto settings = SettingsOf(c.args);
  int includeMode = settings.GetInt("Settings", "ExportTAB", 0);
  int copyMode = settings.GetInt("Settings", "ExportHPN", 0);
  if (const auto it = c.args.options.find("--include-mode"); it != c.args.options.end()) {
    if (it->second != "0" && it->second != "1") return Usage(c, "--include-mode nimmt 0 oder 1");
    includeMode = copyMode = it->second == "1" ? 1 : 0;
  }

  doc::SurveyStore store;
  if (!OpenInput(c, input.string(), store)) return kExitFailed;
  std::string problem;
  if (!ApplyViewOptions(c.args, store, problem)) return Usage(c, problem);
  CliPrompter prompter(c.err, c.args.answer);
  if (store.settings.computedCurrent == 0) calc::RunComputeCommand(store, prompter);

  doc::Worksheet& worksheet = *store.currentWorksheet;
  const std::string extension = exports::ExportExtension(output);
  if (const auto refusal = exports::DisplayTypeRefusal(extension, worksheet.displayType()); !refusal.empty()) {
    prompter.Message(refusal, platform::Icon::Exclamation);
    return kExitFailed;
  }

  // A bitmap is the picture the drawing makes, as render writes it.
  if (extension == "bmp") return RunRender(c);
  if (extension == "hpn")
    return exports::ExportDocumentCopy(output, store, copyMode, prompter) ? kExitOk : kExitFailed;

  // The writers read what the drawing of the worksheet leaves: the projected
  // points and each record's drawn colour.
  exports::PreparedView prepared;
  if (const auto writer = exports::WriterFor(extension, settings); writer && writer->UsesDrawing())
    exports::PrepareView(prepared, store, settings, &prompter,
                         input.parent_path().empty() ? std::filesystem::path(".") : input.parent_path());
  const exports::ExportContext context{store, worksheet, settings, prepared.Drawn(), includeMode};
  return exports::ExportFile(output, context, prompter) ? kExitOk : kExitFailed;
}

}  // namespace hp::cli
