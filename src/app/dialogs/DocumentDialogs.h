// The commands of the menu "Do&kument" that edit the document settings:
// "Dokument", "Optionen Daten", "Schriftarten", "Farben", "Geräte",
// "Ebenen" and "Vermesser". Each dialog only moves values between its
// widgets and the dialog logic in doc/ and calc/; each Run function is the
// whole command (dialog, store, modified, compute, redraw). The fonts, the
// colours and the instruments have their own files.
#pragma once

#include "app/dialogs/ColoursDialog.h"
#include "app/dialogs/FontsDialog.h"
#include "app/dialogs/InstrumentsDialog.h"

class QWidget;

namespace hp::app {

class CPlanDoc;

// Each returns true when the dialog was confirmed with OK.
bool RunDocumentDialog(QWidget* parent, CPlanDoc& doc);       // "&Dokument..."
bool RunDataOptionsDialog(QWidget* parent, CPlanDoc& doc);    // "&Optionen..."
bool RunLevelNamesDialog(QWidget* parent, CPlanDoc& doc);     // "&Ebenen..."
bool RunSurveyorNamesDialog(QWidget* parent, CPlanDoc& doc);  // "&Vermesser..."

}  // namespace hp::app
