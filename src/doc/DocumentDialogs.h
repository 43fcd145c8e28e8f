// The logic of the document dialogs "Dokument", "Optionen Daten",
// "Schriftarten", "Farben", "Ebenen" and "Vermesser": what each shows, which
// entries it refuses, what OK stores and what the document must do next.
// Texts are Windows-1252 like the store; messages are UTF-8 for the Prompter.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FieldFault.h"
#include "base/NumberFormat.h"
#include "doc/DocumentSettings.h"
#include "platform/SettingsStore.h"

namespace hp::doc {

// What OK did, and what the caller runs afterwards. A `fault` means an entry
// was refused: nothing was stored, its field (the model's own field
// numbering) gets the focus and its message is shown; the dialog stays open.
struct DialogOutcome {
  std::optional<base::FieldFault<int>> fault;
  bool modified = false;   // mark the document modified
  bool recompute = false;  // run the compute command
  bool redraw = false;     // redraw all views
};

using base::FormatEntryNumber;

// Multi-line texts are stored with CR LF between lines; edit fields use LF.
std::string ToStoredLines(std::string_view text);
std::string ToEditLines(std::string_view stored);
// `stored` cut to at most `maxLength` bytes without splitting a CR LF pair.
std::string LimitStoredText(std::string_view stored, size_t maxLength);

// ---- "Dokument" -----------------------------------------------------------

// The grid zone letter as stored: below "A" or above "Z" (lower case
// included) becomes "U", "O" becomes "N" and "I" becomes "J".
char CorrectZoneLetter(char letter);

class DocumentDialogModel {
 public:
  enum Field { Title, Title2, CadastreDesignation, CadastreNumber, UtmZone, UtmBand, MeridianConvergence, Description };

  void Load(const DocumentSettings& settings);
  // Longest entry of a text field in characters (Windows-1252 bytes).
  static size_t MaxLength(Field field);

  // Texts as in the fields; `description` with CR LF between lines.
  std::string title, title2, cadastreDesignation, cadastreNumber, utmZone, utmBand, meridianConvergence, description;

  // OK: stores every field and the corrected zone letter; the document is
  // then modified, recomputed and redrawn. Refuses a cadastre number that is
  // not a whole number of 0 to 4294967295, a zone outside 1 to 60 and a
  // meridian convergence that is not a number.
  DialogOutcome Apply(DocumentSettings& settings) const;
};

// ---- "Optionen Daten" -----------------------------------------------------

// The tolerance texts: length with one decimal strictly between 0 and 1 and
// none otherwise, angle without decimals, both with a decimal comma.
std::string FormatLengthTolerance(double value);
std::string FormatAngleTolerance(double value);
// The choices offered in the two editable lists.
const std::vector<std::string>& LengthToleranceChoices();
const std::vector<std::string>& AngleToleranceChoices();
inline constexpr double kMaxLengthTolerance = 100000;
inline constexpr double kMaxAngleTolerance = 200;
inline constexpr double kMaxLimitAngle = 90;
// The loop adjustment choice of the network adjustment, after the three
// stored ones.
inline constexpr int kNetworkAdjustmentChoice = 3;
// The loop adjustment choices as the dialog lists them.
inline constexpr const char* kLoopAdjustmentChoices[] = {
    "&Kein Ringschlussausgleich", "Lineare &Interpolation der Koordinaten",
    "Lineare Interpolation, &Senkrechte erhalten", "Ausgleich im &Netz (kleinste Quadrate)"};

class DataOptionsModel {
 public:
  enum Field { LoopAdjustment, VerticalLimit, AcuteLimit, LengthTolerance, AngleTolerance };

  void Load(const DocumentSettings& settings);

  // 0 none, 1 linear, 2 linear keeping verticals, kNetworkAdjustmentChoice
  // the network adjustment
  int loopAdjustment = 2;
  std::string verticalLimit, acuteLimit, lengthTolerance, angleTolerance;

  // OK: limit angles must lie in 0 to 90; tolerances read with a comma as
  // point, negative values become 0, the length is limited to 100000 and the
  // angle to 200. A tolerance text left as shown keeps its exact value.
  // Recomputes only when the adjustment or a limit angle changed; modified
  // when any value changed.
  DialogOutcome Apply(DocumentSettings& settings) const;

 private:
  std::string m_shownLength, m_shownAngle;
  double m_loadedLength = 0, m_loadedAngle = 0;
};

// ---- "Ebenen" and "Vermesser" ---------------------------------------------

enum class NameList { Levels, Surveyors };
inline constexpr size_t kMaxNamesLength = 1025;

// Levels and surveyors are numbered 0 to 8 (0: invisible level, unknown
// surveyor); records choose 1 to 8. A line names one when the text before
// its first ":" is exactly such a number written in decimal ("3: Meier");
// the number, else nothing.
std::optional<int> NamedLineNumber(std::string_view line);

class NameListModel {
 public:
  enum Field { Text };

  explicit NameListModel(NameList list) : m_list(list) {}

  const char* Caption() const;  // "Ebenen" or "Vermesser"
  void Load(const DocumentSettings& settings);

  std::string text;  // stored form: CR LF between lines

  // OK stores the text, cut to 1025 characters. An unchanged text leaves the
  // document as it is; a changed one marks it modified so that closing asks
  // to save it. A line that is neither blank nor of the form NamedLineNumber
  // reads is refused with a message naming it, so no name is lost unseen.
  DialogOutcome Apply(DocumentSettings& settings) const;

 private:
  NameList m_list;
};

// ---- "Schriftarten" -------------------------------------------------------

inline constexpr int kEditedFontCount = 5;
// "Titel", "Seitenbezeichnung", "Achsenbeschriftung", "Punktbeschriftung",
// "Vermessungsprotokoll".
const char* FontUseName(int index);

// A stored font as a font chooser sees it. Stored heights are pixels of a
// 96-dpi screen (negative: character height); choosers work in points.
struct FontChoice {
  double pointSize = 0;  // <= 0: use pixelSize
  int pixelSize = 0;
  int weight = 400;
  bool italic = false, underline = false, strikeOut = false;
  std::string faceName;  // Windows-1252
};

FontChoice DescribeFont(const FontSetting& font);
// Takes the chooser's font into `font`; width, escapement and the other
// stored fields stay.
void TakeFontChoice(FontSetting& font, const FontChoice& choice);

// One style that an installed font family offers.
struct FontStyleOffer {
  int weight = 400;
  bool italic = false;
  bool narrowOrWide = false;  // a condensed or expanded cut
};
// The offered style a stored font is shown as: the same slant first, then
// the nearest weight, then the normal width; earlier offers win ties.
// -1 when nothing is offered.
int NearestFontStyle(const std::vector<FontStyleOffer>& offers, int weight, bool italic);

class FontsModel {
 public:
  void Load(const DocumentSettings& settings);

  std::array<FontSetting, kEditedFontCount> fonts{};
  std::array<uint32_t, kEditedFontCount> colours{};  // 0x00BBGGRR

  // OK stores fonts 0 to 4 with their colours; modified and redrawn.
  DialogOutcome Apply(DocumentSettings& settings) const;
};

// ---- "Farben" -------------------------------------------------------------

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kLeftEyeColourValue = "FarbeLinks";
inline constexpr std::string_view kRightEyeColourValue = "FarbeRechts";
inline constexpr uint32_t kDefaultLeftEyeColour = 16776960;  // cyan
inline constexpr uint32_t kDefaultRightEyeColour = 255;      // red

enum class ColourKind { Line, False, Background, Points, AuxLines, Frame, LeftEye, RightEye };
struct ColourSlot {
  ColourKind kind = ColourKind::Background;
  int index = 0;  // 0 to 15 for line and false colours
  bool operator==(const ColourSlot&) const = default;
};

// Label of a colour button: "Hintergrund", "Messpunkte", "&Querschnitte und
// Hilfslinien", "Rahmen und &Unterteilungen", "3D-Darstellung &links",
// "3D-Darstellung &rechts"; line colours by their index 0 to 15 (the record's
// colour number), false colours 1 to 16.
std::string ColourLabel(const ColourSlot& slot);
// Every button of the dialog in its order.
const std::vector<ColourSlot>& ColourSlots();

class ColoursModel {
 public:
  // Document colours from the settings block, the red-green pair from the
  // program settings.
  void Load(const DocumentSettings& settings, const platform::SettingsStore& program);

  uint32_t Get(const ColourSlot& slot) const;
  void Set(const ColourSlot& slot, uint32_t colour);

  // OK stores the document colours and writes the red-green pair to the
  // program settings; modified and redrawn.
  DialogOutcome Apply(DocumentSettings& settings, platform::SettingsStore& program) const;

 private:
  uint32_t* Find(const ColourSlot& slot);
  std::array<uint32_t, 16> m_line{}, m_false{};
  uint32_t m_background = 0, m_points = 0, m_auxLines = 0, m_frame = 0, m_left = 0, m_right = 0;
};

}  // namespace hp::doc
