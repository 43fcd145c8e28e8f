// export: what the export command does after its dialogs, with the drawn
// picture for a bitmap.
#include <filesystem>
#include <string>

#include "calc/ComputePass.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "cli/ViewOptions.h"
#include "draw/BackgroundMap.h"
#include "draw/ViewTransform.h"
#include "draw/WorksheetDrawing.h"
#include "export/ExportCommand.h"
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
  const QImage picture = gfx::PaintImage(
      draw::ScreenCaps(kScreen), draw::ScreenBackground(store, worksheet),
      [&](draw::Surface& surface) { draw::DrawWorksheet(surface, store, worksheet, view, settings, options); });
  return gfx::ExportBitmap(output, picture, prompter);
}

}  // namespace

int RunExport(const CommandContext& c) {
  const std::filesystem::path input = c.args.positional[0];
  const std::filesystem::path output = c.args.positional[1];
  const auto settings = SettingsOf(c.args);
  exports::ExportModes modes = exports::ExportModes::FromSettings(settings);
  if (const auto it = c.args.options.find("--include-mode"); it != c.args.options.end()) {
    if (it->second != "0" && it->second != "1") return ArgumentProblem(c, "--include-mode nimmt 0 oder 1");
    const bool all = it->second == "1";
    modes.table = all ? exports::TableIncludes::All : exports::TableIncludes::Without;
    modes.copy = all ? doc::WriteMode::IncludesAsOrdinary : doc::WriteMode::AsRead;
  }

  doc::SurveyStore store;
  CliPrompter prompter(c.err, c.args.answer);
  if (const int status = OpenForView(c, store, prompter); status != kExitOk) return status;

  const std::filesystem::path folder = input.parent_path().empty() ? std::filesystem::path(".") : input.parent_path();
  const auto bitmap = [&](const std::filesystem::path& path, platform::Prompter& messages) {
    return ExportDrawnBitmap(path, folder, store, settings, messages);
  };
  exports::ExportCommand command(settings, prompter, bitmap);
  return command.Run(store, output, modes) ? kExitOk : kExitFailed;
}

}  // namespace hp::cli
