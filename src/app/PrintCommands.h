// Printing from the windows: "&Drucken..." through the print dialog,
// "Sei&tenvorschau" through the print preview, "&Zwischenablage", the page
// setup and sub-sheet dialogs, and printing named on the command line
// (`hollowplan -p FILE`, `hollowplan -pt FILE PRINTER`).
#pragma once

#include <QStringList>
#include <optional>

#include "app/PrinterPage.h"
#include "draw/pages/PageSetup.h"
#include "draw/pages/Printing.h"

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace hp::app {

struct AppContext;
class CPlanDoc;
class CPlanView;

// Prints the chosen pages of the document's current worksheet on `printer`
// (a real printer, a PDF file or the preview), laid out on the page the
// printer has now: the paper, margins and orientation chosen in the print
// or preview dialog. A range outside the pages, an empty print area or a
// printer that fails is reported, and so is a drawing cut at the page's
// margins (not in the preview, which shows it); the document is left as it
// was in every case. False when nothing was printed.
bool PrintWorksheet(QPrinter& printer, CPlanDoc& doc, CPlanView& view, const draw::PageRequest& request,
                    bool preview = false);

// "&Drucken...": the print dialog offers the page range, and the selection
// when sub-sheets are printed.
void RunPrintCommand(QWidget* parent, CPlanDoc& doc, CPlanView& view);
// "Sei&tenvorschau": Qt's preview with the worksheet's one or two pages.
void RunPreviewCommand(QWidget* parent, CPlanDoc& doc, CPlanView& view);
// Lets a preview dialog show the worksheet's pages, laid out again on the
// printer's page each time the dialog asks (after a change of printer,
// paper or orientation); its print button prints them.
void ShowWorksheetIn(QPrintPreviewDialog& dialog, CPlanDoc& doc, CPlanView& view);
// "&Zwischenablage": the window's picture to the clipboard.
void RunClipboardCommand(CPlanView& view);
// "Grafik &zentrieren" of the page setup for the options shown, on `page`:
// the survey protocol by its printed width, the other types by their area.
std::optional<base::FieldFault<draw::PageSetupField>> CentreOnPage(draw::PageSetupOptions& options, CPlanDoc& doc,
                                                                   CPlanView& view, const draw::PageSizeMm& page);
// "Seite &einrichten..." and "&Teilblätter...".
bool RunPageSetupDialog(QWidget* parent, CPlanDoc& doc, CPlanView& view);
bool RunSubSheetDialog(QWidget* parent, CPlanDoc& doc, CPlanView& view);
// "Druckbereich &auswählen" and "Druckbereich &löschen".
void RunSelectPrintArea(CPlanDoc& doc);
void RunClearPrintArea(CPlanDoc& doc);

// `-p FILE` prints the document on the default printer, `-pt FILE PRINTER`
// on the named one, and the program ends: the exit status (0 printed, 1 not).
// Nothing for any other command line.
std::optional<int> RunCommandLinePrint(AppContext& app, const QStringList& arguments);

}  // namespace hp::app
