// The commands of the menu "Do&kument" that edit the document settings:
// "Dokument", "Optionen Daten", "Schriftarten", "Farben", "Geräte",
// "Ebenen" and "Vermesser". Each dialog only moves values between its
// widgets and the dialog logic in doc/ and calc/; each Run function is the
// whole command (dialog, store, modified, compute, redraw).
#pragma once

class QFont;
class QString;
class QWidget;

namespace hp::doc {
struct FontSetting;
}

namespace hp::app {

class CPlanDoc;

// Each returns true when the dialog was confirmed with OK.
bool RunDocumentDialog(QWidget* parent, CPlanDoc& doc);       // "&Dokument..."
bool RunDataOptionsDialog(QWidget* parent, CPlanDoc& doc);    // "&Optionen..."
bool RunFontsDialog(QWidget* parent, CPlanDoc& doc);          // "&Schriftarten..."
bool RunColoursDialog(QWidget* parent, CPlanDoc& doc);        // "&Farben..."
bool RunInstrumentsDialog(QWidget* parent, CPlanDoc& doc);    // "&Geräte..."
bool RunLevelNamesDialog(QWidget* parent, CPlanDoc& doc);     // "&Ebenen..."
bool RunSurveyorNamesDialog(QWidget* parent, CPlanDoc& doc);  // "&Vermesser..."

// The font chooser for one stored font; true when it was confirmed. Only
// what the user changed in the chooser is taken: every other field keeps its
// stored value, so OK without a change leaves the font as it was.
bool ChooseStoredFont(QWidget* parent, const QString& title, doc::FontSetting& font);
// The stored font after a chooser that showed `shown` first and ended on
// `chosen`.
doc::FontSetting FontAfterChooser(const doc::FontSetting& stored, const QFont& shown, const QFont& chosen);

}  // namespace hp::app
