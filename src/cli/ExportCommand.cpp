// export: what the export command does after its dialogs, for the formats
// that have a writer.
#include <filesystem>
#include <string>

#include "calc/ComputePass.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "cli/ViewOptions.h"
#include "export/ExportFile.h"
#include "draw/BackgroundMap.h"
#include "draw/ViewTransform.h"
#include "draw/WorksheetDrawing.h"
#include "export/PrepareView.h"
#include "gfx/GuiApplication.h"
#include "gfx/PictureFile.h"
#include "platform/Clock.h"

namespace hp::cli {
namespace {

// The picture the window would show on a screen of the default size, handed
// to the bitmap writer once it is drawn.
bool ExportDrawnBitmap(const std::filesystem::path& output, const std::filesystem::path& documentFolder,
                       doc::SurveyStore& store, const platform::SettingsStore& settings, platform::Prompter& prompter) {
  constexpr draw::Size kScreen{1280, 1024};
  doc::Worksheet& worksheet = *store.currentWorksheet;
  platform::SystemClock clock;
  draw::BackgroundMap backgroundMap;
  draw::WorksheetDrawingOptions options;
  options.window = kScreen;
  options.screen = kScreen;
  options.clock = &clock;
  options.backgroundMap = &backgroundMap;
  options.documentFolder = documentFolder;
  options.prompter = &prompter;
  gfx::EnsureGuiApplication();
  draw::ViewTransform view;
  const QImage picture = gfx::PaintImage(draw::ScreenCaps(kScreen), draw::ScreenBackground(store, worksheet),
                                         [&](draw::Surface& surface) {
                                           draw::DrawWorksheet(surface, store, worksheet, view, settings, options);
                                         });
  return gfx::ExportBitmap(output, picture, prompter);
}

}  // namespace

int RunExport(const CommandContext& c) {
  const std::filesystem::path input = c.args.positional[0];
  const std::filesystem::path output = c.args.positional[1];
  const auto settings = SettingsOf(c.args);
  int includeMode = settings.GetInt("Settings", "ExportTAB", 0);
  int copyMode = settings.GetInt("Settings", "ExportHPN", 0);
  if (const auto it = c.args.options.find("--include-mode"); it != c.args.options.end()) {
    if (it->second != "0" && it->second != "1") return ArgumentProblem(c, "--include-mode nimmt 0 oder 1");
    includeMode = copyMode = it->second == "1" ? 1 : 0;
  }

  doc::SurveyStore store;
  CliPrompter prompter(c.err, c.args.answer);
  if (const int status = OpenForView(c, store, prompter); status != kExitOk) return status;

  doc::Worksheet& worksheet = *store.currentWorksheet;
  const std::string extension = exports::ExportExtension(output);
  if (const auto refusal = exports::DisplayTypeRefusal(extension, worksheet.displayType()); !refusal.empty()) {
    prompter.Message(refusal, platform::Icon::Exclamation);
    return kExitFailed;
  }

  const std::filesystem::path folder = input.parent_path().empty() ? std::filesystem::path(".") : input.parent_path();
  // A bitmap is the picture the drawing makes, not a writer's file.
  if (extension == "bmp")
    return ExportDrawnBitmap(output, folder, store, settings, prompter) ? kExitOk : kExitFailed;
  if (extension == "hpn")
    return exports::ExportDocumentCopy(output, store, copyMode, prompter) ? kExitOk : kExitFailed;

  // The writers read what the drawing of the worksheet leaves: the projected
  // points and each record's drawn colour.
  exports::PreparedView prepared;
  if (const auto writer = exports::WriterFor(extension, settings); writer && writer->UsesDrawing())
    exports::PrepareView(prepared, store, settings, &prompter, folder);
  const exports::ExportContext context{store, worksheet, settings, prepared.Drawn(), includeMode};
  return exports::ExportFile(output, context, prompter) ? kExitOk : kExitFailed;
}

}  // namespace hp::cli
