// "Farben": the colours of the survey lines, the false colours and the other
// colours of the drawing.
#pragma once

class QWidget;

namespace hp::app {

class CPlanDoc;

// True when the dialog was confirmed with OK.
bool RunColoursDialog(QWidget* parent, CPlanDoc& doc);  // "&Farben..."

}  // namespace hp::app
