// The pages of a print job painted on a paged device: a printer, the print
// preview or a PDF file. The window's printing and the batch tool's printed
// PDF go through the same painting.
#pragma once

#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <filesystem>
#include <vector>

#include "draw/Surface.h"
#include "draw/pages/PageSetup.h"
#include "draw/pages/Printing.h"

namespace hp::gfx {

// Paints `pages` (from 1) of `job` one per device page; false when the
// device could not be painted on or refused a new page.
bool PaintPages(QPagedPaintDevice& device, draw::PrintJob& job, const std::vector<int>& pages);

// A PDF writer's pages: exactly `page` millimetres without margins, at `dpi`.
void SetUpPdfPage(QPdfWriter& pdf, const draw::PageSizeMm& page, int dpi);

// The dots per inch of printed PDF pages.
inline constexpr int kPrintPdfDpi = 600;

}  // namespace hp::gfx
