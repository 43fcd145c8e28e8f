// The print, preview and clipboard commands, the page setup and sub-sheet
// dialogs, and printing from the command line.
#include "app/PrintCommands.h"

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/AppContext.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/ProtocolClipboard.h"
#include "app/dialogs/PageSetupDialog.h"
#include "app/dialogs/SubSheetDialog.h"
#include "draw/WorksheetDrawing.h"
#include "draw/pages/SubSheetSetup.h"
#include "draw/protocol/Protocol.h"
#include "gfx/PrintedPages.h"
#include "gfx/QPainterSurface.h"
#include "platform/Clock.h"

namespace hp::app {

namespace {

constexpr std::string_view kNoPrinter = "Es ist kein Drucker eingerichtet.";
constexpr std::string_view kUnknownPrinter = "Der Drucker ist nicht vorhanden: ";

// The printable page the printer has now, in its orientation.
draw::PageSizeMm PageOf(const QPrinter& printer) {
  const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  return draw::PrintablePageSize(paint.width(), paint.height(), paint.width() > paint.height());
}

bool PrintStore(QPrinter& printer, CPlanDoc& doc, draw::ViewTransform& view, draw::BackgroundMap* map,
                const draw::PageRequest& request, bool preview) {
  doc::Worksheet& worksheet = doc.worksheet();
  platform::SystemClock clock;
  draw::PrintJobOptions options;
  options.preview = preview;
  options.clock = &clock;
  options.backgroundMap = map;
  options.documentFolder = doc.folder();
  options.prompter = &doc.app().prompter;
  // A new or reset worksheet prints with its sheet defaults, and keeps them.
  const bool reset = doc.resetFlag();
  draw::ApplySheetReset(worksheet, doc.resetFlag());
  bool printed = false, cut = false;
  std::string_view failure;
  {
    draw::PrintJob job(doc.store(), worksheet, view, doc.app().settings, gfx::CapsOf(printer), PageOf(printer),
                       options);
    const draw::PagePlan plan = draw::PlanPages(worksheet, job.pageCount(), request);
    if (!job.printable()) {
      failure = draw::print::kNotPrinted;
    } else if (plan.pages.empty()) {
      failure = plan.message;
    } else if (!gfx::PaintPages(printer, job, plan.pages)) {
      failure = draw::print::kPrinterFailed;
    } else {
      printed = true;
      cut = job.cutAtPage();
    }
  }
  if (!failure.empty()) doc.app().prompter.Message(failure, platform::Icon::Exclamation);
  if (cut && !preview) doc.app().prompter.Message(draw::print::kCutAtPage, platform::Icon::Exclamation);
  if (reset) doc.UpdateAllViews();
  return printed;
}

// The page count of a job on this printer, for the print dialog.
int PageCountOn(QPrinter& printer, CPlanDoc& doc, draw::ViewTransform& view, bool& selection) {
  draw::ApplySheetReset(doc.worksheet(), doc.resetFlag());
  draw::PrintJob job(doc.store(), doc.worksheet(), view, doc.app().settings, gfx::CapsOf(printer), PageOf(printer));
  selection = job.allowsSelection();
  return job.pageCount();
}

// The survey protocol's printed width in millimetres, measured in the
// fonts at a printer's resolution.
double ProtocolWidthOnPaper(CPlanDoc& doc, CPlanView& view) {
  QImage measure(1, 1, QImage::Format_RGB32);
  QPainter painter(&measure);
  draw::DeviceCaps caps = gfx::CapsOf(measure);
  caps.dpiX = caps.dpiY = gfx::kPrintPdfDpi;
  gfx::QPainterSurface surface(painter, caps);
  return draw::ProtocolWidthMm(surface, doc.store(), doc.worksheet(), view.viewTransform(), doc.app().settings);
}

}  // namespace

bool PrintWorksheet(QPrinter& printer, CPlanDoc& doc, CPlanView& view, const draw::PageRequest& request, bool preview) {
  return PrintStore(printer, doc, view.viewTransform(), nullptr, request, preview);
}

void RunPrintCommand(QWidget* parent, CPlanDoc& doc, CPlanView& view) {
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer, doc.worksheet());
  bool selection = false;
  const int pages = PageCountOn(printer, doc, view.viewTransform(), selection);
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, selection);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  printer.setFromTo(1, pages);
  dialog.setMinMax(1, pages);
  if (dialog.exec() != QDialog::Accepted) return;
  draw::PageRequest request;
  switch (printer.printRange()) {
    case QPrinter::Selection: request.choice = draw::PageChoice::Selection; break;
    case QPrinter::PageRange:
      request.choice = draw::PageChoice::Range;
      request.from = printer.fromPage();
      request.to = printer.toPage();
      break;
    default: break;
  }
  PrintWorksheet(printer, doc, view, request);
}

void ShowWorksheetIn(QPrintPreviewDialog& dialog, CPlanDoc& doc, CPlanView& view) {
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&doc, &view](QPrinter* shown) {
    // The dialog's print button paints on the printer itself, the preview
    // on a recording of its pages.
    const bool previewing = shown->paintEngine() == nullptr || shown->paintEngine()->type() == QPaintEngine::Picture;
    PrintWorksheet(*shown, doc, view, {}, previewing);
  });
  if (auto* pages = dialog.findChild<QPrintPreviewWidget*>()) {
    if (doc.worksheet().previewPages() == 2) {
      pages->setFacingPagesViewMode();
    } else {
      pages->setSinglePageViewMode();
    }
  }
}

void RunPreviewCommand(QWidget* parent, CPlanDoc& doc, CPlanView& view) {
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer, doc.worksheet());
  QPrintPreviewDialog dialog(&printer, parent);
  ShowWorksheetIn(dialog, doc, view);
  dialog.exec();
}

void RunClipboardCommand(CPlanView& view) {
  // The survey protocol goes to the clipboard as its text.
  if (CopyProtocolToClipboard(view)) return;
  view.Redraw();
  const QImage picture = view.viewport()->grab().toImage();
  QGuiApplication::clipboard()->setImage(picture);
}

std::optional<base::FieldFault<draw::PageSetupField>> CentreOnPage(draw::PageSetupOptions& options, CPlanDoc& doc,
                                                                   CPlanView& view, const draw::PageSizeMm& page) {
  if (doc.worksheet().displayType() == doc::DisplayType::Protocol)
    return draw::CentreProtocol(options, ProtocolWidthOnPaper(doc, view), page);
  return draw::CentreGraphic(options, doc.worksheet(), page, view.lastDrawing().area);
}

bool RunPageSetupDialog(QWidget* parent, CPlanDoc& doc, CPlanView& view) {
  doc::Worksheet& worksheet = doc.worksheet();
  const draw::PageSizeMm reported = DefaultPrinterPage(false);
  CPageSetupDialog* shown = nullptr;
  CPageSetupDialog dialog(
      doc.app(), draw::LoadPageSetup(worksheet), worksheet.displayType(), parent,
      [&](const draw::PageSetupOptions& options) -> std::optional<base::FieldFault<draw::PageSetupField>> {
        const draw::PageSetupApplied applied =
            draw::ApplyPageSetup(options, worksheet, reported.width, reported.height);
        if (applied.fault) return applied.fault;
        if (applied.change.modified) doc.setModified();
        doc.UpdateAllViews();
        shown->setOptions(draw::LoadPageSetup(worksheet));
        return std::nullopt;
      },
      [&](draw::PageSetupOptions& options) {
        return CentreOnPage(options, doc, view,
                            draw::PrintablePageSize(reported.width, reported.height, options.landscape));
      });
  shown = &dialog;
  return dialog.exec() == QDialog::Accepted;
}

bool RunSubSheetDialog(QWidget* parent, CPlanDoc& doc, CPlanView& view) {
  doc::Worksheet& worksheet = doc.worksheet();
  CSubSheetDialog dialog(
      doc.app(), draw::LoadSubSheetOptions(worksheet), doc.folder(), parent,
      [&](const draw::SubSheetOptions& options) -> std::optional<base::FieldFault<draw::SubSheetField>> {
        const draw::SubSheetApplied applied = draw::ApplySubSheetOptions(options, worksheet);
        if (applied.fault) return applied.fault;
        if (applied.change.modified) doc.setModified();
        if (applied.mapChanged) view.ResetBackgroundMap();
        doc.UpdateAllViews();
        return std::nullopt;
      });
  return dialog.exec() == QDialog::Accepted;
}

void RunSelectPrintArea(CPlanDoc& doc) {
  if (!draw::SelectPrintArea(doc.worksheet())) return;
  doc.setModified();
  doc.UpdateAllViews();
}

void RunClearPrintArea(CPlanDoc& doc) {
  if (!draw::ClearPrintArea(doc.worksheet())) return;
  doc.setModified();
  doc.UpdateAllViews();
}

std::optional<int> RunCommandLinePrint(AppContext& app, const QStringList& arguments) {
  const bool toDefault = arguments.size() == 2 && arguments[0] == QStringLiteral("-p");
  const bool toNamed = arguments.size() >= 3 && arguments[0] == QStringLiteral("-pt");
  if (!toDefault && !toNamed) return std::nullopt;
  QPrinterInfo printerInfo;
  if (toNamed) {
    printerInfo = QPrinterInfo::printerInfo(arguments[2]);
    if (printerInfo.isNull()) {
      app.prompter.Message(std::string(kUnknownPrinter) + arguments[2].toStdString(), platform::Icon::Stop);
      return 1;
    }
  } else {
    printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
      app.prompter.Message(kNoPrinter, platform::Icon::Stop);
      return 1;
    }
  }
  CPlanDoc doc(app);
  if (!doc.Open(arguments[1].toStdString())) return 1;
  QPrinter printer(printerInfo, QPrinter::HighResolution);
  PreparePrinter(printer, doc.worksheet());
  draw::ViewTransform view;
  draw::BackgroundMap map;
  return PrintStore(printer, doc, view, &map, {}, false) ? 0 : 1;
}

}  // namespace hp::app
