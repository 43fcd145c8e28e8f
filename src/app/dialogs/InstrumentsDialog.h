// "Geräte": the table of the survey instruments and their corrections.
#pragma once

class QWidget;

namespace hp::app {

class CPlanDoc;

// True when the dialog was confirmed with OK.
bool RunInstrumentsDialog(QWidget* parent, CPlanDoc& doc);  // "&Geräte..."

}  // namespace hp::app
