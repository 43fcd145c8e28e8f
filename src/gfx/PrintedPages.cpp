// Painting print jobs on printers and PDF writers.
#include "gfx/PrintedPages.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "gfx/QPainterSurface.h"

namespace hp::gfx {

bool PaintPages(QPagedPaintDevice& device, draw::PrintJob& job, const std::vector<int>& pages) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const draw::DeviceCaps caps = CapsOf(device);
  bool first = true;
  for (const int page : pages) {
    if (!first && !device.newPage()) {
      painter.end();
      return false;
    }
    first = false;
    QPainterSurface surface(painter, caps);
    job.DrawPage(surface, page);
  }
  return painter.end();
}

void SetUpPdfPage(QPdfWriter& pdf, const draw::PageSizeMm& page, int dpi) {
  pdf.setResolution(dpi);
  pdf.setCreator(QStringLiteral("Hollowplan"));
  const QPageSize size(QSizeF(page.width, page.height), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
  pdf.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

}  // namespace hp::gfx
