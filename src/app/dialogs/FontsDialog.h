// "Schriftarten": the fonts of the document's texts with their colours, and
// the font chooser for one stored font that other dialogs use too.
#pragma once

class QFont;
class QString;
class QWidget;

namespace hp::doc {
struct FontSetting;
}

namespace hp::app {

class CPlanDoc;

// True when the dialog was confirmed with OK.
bool RunFontsDialog(QWidget* parent, CPlanDoc& doc);  // "&Schriftarten..."

// The font chooser for one stored font; true when it was confirmed. Only
// what the user changed in the chooser is taken: every other field keeps its
// stored value, so OK without a change leaves the font as it was.
bool ChooseStoredFont(QWidget* parent, const QString& title, doc::FontSetting& font);
// The stored font after a chooser that showed `shown` first and ended on
// `chosen`.
doc::FontSetting FontAfterChooser(const doc::FontSetting& stored, const QFont& shown, const QFont& chosen);

}  // namespace hp::app
