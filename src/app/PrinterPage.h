// The page the window lays its printing out on: the printer's, or the
// program's own paper when no printer is set up.
#pragma once

#include <QLocale>
#include <QPageLayout>

#include "doc/Worksheet.h"
#include "draw/pages/PageSetup.h"

class QPrinter;

namespace hp::app {

// The paper the window prints on when no printer is set up, also for the
// PDF printer: A4, or Letter where the system's locale measures in US units
// (the program's own texts are German whatever the locale), with margins
// of 6.5 mm left and right and 6 mm top and bottom of the upright paper, so
// that A4 leaves the printable page of 197 x 285 mm the batch tool lays out.
QPageLayout ProgramPageLayout(QPageLayout::Orientation orientation = QPageLayout::Portrait,
                              QLocale::MeasurementSystem units = QLocale::system().measurementSystem());

// The printable page of the default printer for the worksheet's
// orientation; that of the program's paper when there is none.
draw::PageSizeMm DefaultPrinterPage(bool landscape);

// Readies a printer before its dialog: the program's paper for the PDF
// printer (the only one when none is set up), the orientation from the
// worksheet.
void PreparePrinter(QPrinter& printer, const doc::Worksheet& worksheet);

}  // namespace hp::app
