// The coordinates dialog "Koordinaten" of the survey data editor: the shown
// record's station as UTM and as WGS84 position. The widgets only move texts
// between themselves and edit/CoordinatesDialog.h.
#pragma once

class QWidget;

namespace hp::doc {
struct SurveyRecord;
}

namespace hp::app {

class CPlanDoc;

// Opens the dialog on `record`, the record the editor shows (its unsaved
// state). OK writes the UTM easting, northing and height into the record's
// station and reference coordinates (the editor saves the record as usual)
// and zone and letter into the document, marking it modified when they
// changed. True when the dialog was confirmed with OK; "Abbrechen" changes
// nothing. `placeOnMap` (may be null) tells whether it was closed with
// "Auf &Hollowplan Karte positionieren".
bool RunCoordinatesDialog(QWidget* parent, CPlanDoc& doc, doc::SurveyRecord& record, bool* placeOnMap = nullptr);

}  // namespace hp::app
