// The commands of the menu "Do&kument" that edit the document settings:
// "Dokument", "Optionen Daten", "Schriftarten", "Farben", "Geräte",
// "Ebenen" and "Vermesser". Each dialog only moves values between its
// widgets and the dialog logic in doc/ and calc/; each Run function is the
// whole command (dialog, store, modified, compute, redraw).
#pragma once

class QWidget;

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

}  // namespace hp::app
