// The program's paper, the default printer's page and the printer's set-up
// before its dialog.
#include "app/PrinterPage.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace hp::app {

QPageLayout ProgramPageLayout(QPageLayout::Orientation orientation, QLocale::MeasurementSystem units) {
  const QPageSize paper(units == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
  // The margins keep to the sides of the paper when it is turned.
  const QMarginsF margins =
      orientation == QPageLayout::Landscape ? QMarginsF(6, 6.5, 6, 6.5) : QMarginsF(6.5, 6, 6.5, 6);
  return QPageLayout(paper, orientation, margins, QPageLayout::Millimeter);
}

void PreparePrinter(QPrinter& printer, const doc::Worksheet& worksheet) {
  const auto orientation = worksheet.landscape() != 0 ? QPageLayout::Landscape : QPageLayout::Portrait;
  // Without a printer a QPrinter writes PDF files.
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    printer.setPageLayout(ProgramPageLayout(orientation));
  } else {
    printer.setPageOrientation(orientation);
  }
}

draw::PageSizeMm DefaultPrinterPage(bool landscape) {
  // Asking the print system is slow; the default printer's page is read once.
  static const QRectF page = [] {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return ProgramPageLayout().paintRect(QPageLayout::Millimeter);
    QPrinter printer(info, QPrinter::HighResolution);
    return printer.pageLayout().paintRect(QPageLayout::Millimeter);
  }();
  return draw::PrintablePageSize(page.width(), page.height(), landscape);
}

}  // namespace hp::app
