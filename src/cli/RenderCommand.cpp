// render: the current worksheet drawn as the window would show it, written
// as a PNG, BMP, SVG or PDF picture, or with --print the printed pages as a
// PDF.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include <QBuffer>
#include <QByteArray>
#include <QPdfWriter>
#include <span>

#include "base/ByteStream.h"
#include "base/NumberFormat.h"
#include "calc/ComputePass.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "cli/ViewOptions.h"
#include "doc/DocumentFile.h"
#include "draw/BackgroundMap.h"
#include "draw/ViewTransform.h"
#include "draw/WorksheetDrawing.h"
#include "draw/pages/PageSetup.h"
#include "draw/pages/Printing.h"
#include "draw/protocol/Protocol.h"
#include "gfx/GuiApplication.h"
#include "gfx/PictureFile.h"
#include "gfx/PrintedPages.h"
#include "gfx/QPainterSurface.h"
#include "platform/Clock.h"

namespace hp::cli {
namespace {

constexpr draw::Size kDefaultScreen{1280, 1024};
constexpr int kMaxSide = 20000;

// "WxH" with both sides from 1 to kMaxSide.
std::optional<draw::Size> ParseSize(const std::string& text) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  const auto w = base::ParseInteger(text.substr(0, x));
  const auto h = base::ParseInteger(text.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > kMaxSide || *h > kMaxSide) return std::nullopt;
  return draw::Size{static_cast<int>(*w), static_cast<int>(*h)};
}

// The survey protocol shows the page the view shows.
void DrawProtocolPicture(draw::Surface& surface, doc::SurveyStore& store, doc::Worksheet& worksheet,
                         draw::ViewTransform& view, const platform::SettingsStore& settings,
                         const platform::Clock* clock) {
  draw::ProtocolDrawingOptions options;
  options.clock = clock;
  draw::DrawProtocol(surface, store, worksheet, view, settings, options);
}

// The printed pages of the worksheet, all of them, as a PDF of the printable
// page the program takes when no printer reports one.
int WritePrintedPages(const std::filesystem::path& output, doc::SurveyStore& store, doc::Worksheet& worksheet,
                      const platform::SettingsStore& settings, const draw::PrintJobOptions& options,
                      platform::Prompter& prompter) {
  const draw::PageSizeMm page = draw::PrintablePageSize(0, 0, worksheet.landscape() != 0);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return kExitFailed;
  bool painted = false, cut = false;
  {
    QPdfWriter pdf(&buffer);
    gfx::SetUpPdfPage(pdf, page, gfx::kPrintPdfDpi);
    draw::ViewTransform view;
    draw::PrintJob job(store, worksheet, view, settings, gfx::CapsOf(pdf), page, options);
    const draw::PagePlan plan = draw::PlanPages(worksheet, job.pageCount(), {});
    painted = gfx::PaintPages(pdf, job, plan.pages);
    cut = job.cutAtPage();
  }
  buffer.close();
  if (!painted || !base::WriteFileAtomically(output, [&](base::ByteSink& sink) {
        return sink.Write(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                   static_cast<size_t>(bytes.size())));
      })) {
    prompter.Message(output.string() + doc::messages::kCannotWrite, platform::Icon::Stop);
    return kExitFailed;
  }
  // The cut pages are written all the same, as the window prints them.
  if (cut) prompter.Message(draw::print::kCutAtPage, platform::Icon::Exclamation);
  return kExitOk;
}

}  // namespace

int RunRender(const CommandContext& c) {
  const std::filesystem::path input = c.args.positional[0];
  const std::filesystem::path output = c.args.positional[1];
  const auto format = gfx::PictureFormatOf(output);
  if (!format) return ArgumentProblem(c, "render schreibt Bilder als .png, .bmp, .svg oder .pdf");
  draw::Size size = kDefaultScreen;
  if (const auto it = c.args.options.find("--size"); it != c.args.options.end()) {
    const auto parsed = ParseSize(it->second);
    if (!parsed) return ArgumentProblem(c, "--size nimmt BxH in Pixeln, jeweils von 1 bis " + std::to_string(kMaxSide));
    size = *parsed;
  }
  std::optional<platform::FixedClock> fixedClock;
  if (c.args.date) {
    const auto date = ParseDate(*c.args.date);
    if (!date) return ArgumentProblem(c, "--date nimmt ein Datum TT.MM.JJJJ");
    fixedClock.emplace(*date);
  }

  const bool printed = c.args.HasFlag("--print");
  if (printed && *format != gfx::PictureFormat::Pdf)
    return ArgumentProblem(c, "--print schreibt die gedruckten Seiten als .pdf");

  doc::SurveyStore store;
  CliPrompter prompter(c.err, c.args.answer);
  if (const int status = OpenForView(c, store, prompter); status != kExitOk) return status;

  doc::Worksheet& worksheet = *store.currentWorksheet;
  const bool protocol = worksheet.displayType() == doc::DisplayType::Protocol;
  if (!doc::IsDrawnType(worksheet.displayType()) && !protocol) {
    c.err << "hollowplan-cli: Darstellungsart " << worksheet.displayTypeCode() << " wird nicht als Bild gezeichnet\n";
    return kExitFailed;
  }
  const auto settings = SettingsOf(c.args);
  platform::SystemClock systemClock;
  draw::BackgroundMap backgroundMap;
  draw::WorksheetDrawingOptions options;
  options.window = size;
  options.screen = size;
  options.clock = fixedClock ? static_cast<const platform::Clock*>(&*fixedClock) : &systemClock;
  options.backgroundMap = &backgroundMap;
  options.documentFolder = input.parent_path().empty() ? std::filesystem::path(".") : input.parent_path();
  options.prompter = &prompter;

  gfx::EnsureGuiApplication();
  if (printed) {
    draw::PrintJobOptions job;
    job.clock = options.clock;
    job.backgroundMap = options.backgroundMap;
    job.documentFolder = options.documentFolder;
    job.prompter = options.prompter;
    return WritePrintedPages(output, store, worksheet, settings, job, prompter);
  }
  draw::ViewTransform view;
  const bool written = gfx::WritePicture(
      output, *format, draw::ScreenCaps(size), draw::ScreenBackground(store, worksheet), [&](draw::Surface& surface) {
        if (protocol) {
          DrawProtocolPicture(surface, store, worksheet, view, settings, options.clock);
        } else {
          draw::DrawWorksheet(surface, store, worksheet, view, settings, options);
        }
      });
  if (!written) {
    prompter.Message(output.string() + doc::messages::kCannotWrite, platform::Icon::Stop);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace hp::cli
