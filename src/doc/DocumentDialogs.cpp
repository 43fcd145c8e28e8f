// The document dialogs' defaults, entry checks and effects.
#include "doc/DocumentDialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "base/Cp1252.h"
#include "base/FieldMessages.h"
#include "base/FixedText.h"
#include "base/NumberField.h"
#include "base/NumberFormat.h"

namespace hp::doc {

namespace {

namespace messages = base::messages;

DialogOutcome Refuse(base::FieldFault<int> fault) {
  DialogOutcome outcome;
  outcome.fault = std::move(fault);
  return outcome;
}

DialogOutcome Refuse(int field, std::string message) {
  return Refuse(base::FieldFault<int>{field, std::move(message)});
}

base::NumberField WholeNumberIn(long long min, long long max) {
  const auto low = static_cast<double>(min), high = static_cast<double>(max);
  return {.notANumber = messages::IntegerBetweenPlease(low, high), .integer = true, .min = low, .max = high};
}

base::NumberField NumberIn(double min, double max) {
  return {.notANumber = messages::NumberBetweenPlease(min, max), .min = min, .max = max};
}

const base::NumberField kAnyNumber{.notANumber = std::string(messages::kNumberPlease)};

// Negative (and NaN) become 0, large values the limit.
double ClampTolerance(double value, double max) {
  if (!(value >= 0)) return 0;
  return std::min(value, max);
}

}  // namespace

std::string ToStoredLines(std::string_view text) {
  std::string stored;
  stored.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      stored += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      stored += c;
    }
  }
  return stored;
}

std::string ToEditLines(std::string_view stored) {
  std::string text;
  text.reserve(stored.size());
  for (size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n') continue;
    text += stored[i] == '\r' ? '\n' : stored[i];
  }
  return text;
}

std::string LimitStoredText(std::string_view stored, size_t maxLength) {
  if (stored.size() <= maxLength) return std::string(stored);
  size_t n = maxLength;
  // A line break is one keystroke: keep it whole or not at all.
  if (n > 0 && stored[n - 1] == '\r' && stored[n] == '\n') --n;
  return std::string(stored.substr(0, n));
}

// ---- "Dokument" -----------------------------------------------------------

char CorrectZoneLetter(char letter) {
  const auto c = static_cast<unsigned char>(letter);
  if (c < 'A' || c > 'Z') return 'U';
  if (c == 'O') return 'N';
  if (c == 'I') return 'J';
  return letter;
}

void DocumentDialogModel::Load(const DocumentSettings& s) {
  title = base::TextOf(s.title);
  title2 = base::TextOf(s.title2);
  cadastreDesignation = base::TextOf(s.cadastreDesignation);
  cadastreNumber = std::to_string(s.cadastreNumber);
  utmZone = std::to_string(s.utmZone);
  utmBand = base::TextOf(s.utmBand);
  meridianConvergence = FormatEntryNumber(s.meridianConvergence);
  description = base::TextOf(s.descriptionText);
}

size_t DocumentDialogModel::MaxLength(Field field) {
  const DocumentSettings* s = nullptr;
  switch (field) {
    case Title: return sizeof s->title - 1;
    case Title2: return sizeof s->title2 - 1;
    case CadastreDesignation: return sizeof s->cadastreDesignation - 1;
    case CadastreNumber: return 10;
    case UtmZone: return 2;
    case UtmBand: return sizeof s->utmBand - 1;
    case MeridianConvergence: return 32;
    case Description: return sizeof s->descriptionText - 1;
  }
  return 0;
}

DialogOutcome DocumentDialogModel::Apply(DocumentSettings& s) const {
  base::NumberFieldReader<int> reader;
  const double number = reader.Read(CadastreNumber, cadastreNumber, WholeNumberIn(0, 4294967295LL));
  const double zone = reader.Read(UtmZone, utmZone, WholeNumberIn(1, 60));
  const double convergence = reader.Read(MeridianConvergence, meridianConvergence, kAnyNumber);
  if (reader.fault) return Refuse(std::move(*reader.fault));

  base::SetText(s.title, title);
  base::SetText(s.title2, title2);
  base::SetText(s.cadastreDesignation, cadastreDesignation);
  s.cadastreNumber = static_cast<uint32_t>(number);
  s.utmZone = static_cast<uint32_t>(zone);
  const char band[] = {CorrectZoneLetter(utmBand.empty() ? '\0' : utmBand.front()), '\0'};
  base::SetText(s.utmBand, band);
  s.meridianConvergence = convergence;
  base::SetText(s.descriptionText, LimitStoredText(description, MaxLength(Description)));

  DialogOutcome outcome;
  outcome.modified = outcome.recompute = outcome.redraw = true;
  return outcome;
}

// ---- "Optionen Daten" -----------------------------------------------------

std::string FormatLengthTolerance(double value) {
  return base::DecimalComma(base::FormatFixed(value, value > 0 && value < 1 ? 1 : 0));
}

std::string FormatAngleTolerance(double value) { return base::FormatFixed(value, 0); }

const std::vector<std::string>& LengthToleranceChoices() {
  static const std::vector<std::string> choices = {"0", "0,1", "1", "10", "100"};
  return choices;
}

const std::vector<std::string>& AngleToleranceChoices() {
  static const std::vector<std::string> choices = {"0", "1", "5", "10", "50", "100"};
  return choices;
}

void DataOptionsModel::Load(const DocumentSettings& s) {
  loopAdjustment = NetworkAdjustmentChosen(s) ? kNetworkAdjustmentChoice : s.loopAdjustment;
  verticalLimit = FormatEntryNumber(s.crossSectionVerticalLimit);
  acuteLimit = FormatEntryNumber(s.crossSectionAcuteLimit);
  m_loadedLength = s.searchToleranceLength;
  m_loadedAngle = s.searchToleranceAngle;
  lengthTolerance = m_shownLength = FormatLengthTolerance(m_loadedLength);
  angleTolerance = m_shownAngle = FormatAngleTolerance(m_loadedAngle);
}

DialogOutcome DataOptionsModel::Apply(DocumentSettings& s) const {
  if (loopAdjustment < 0 || loopAdjustment > kNetworkAdjustmentChoice) {
    return Refuse(LoopAdjustment, messages::IntegerBetweenPlease(0, kNetworkAdjustmentChoice));
  }
  base::NumberFieldReader<int> reader;
  const double vertical = reader.Read(VerticalLimit, verticalLimit, NumberIn(0, kMaxLimitAngle));
  const double acute = reader.Read(AcuteLimit, acuteLimit, NumberIn(0, kMaxLimitAngle));
  // A tolerance shown rounded and left alone keeps its exact value.
  const double length =
      lengthTolerance == m_shownLength ? m_loadedLength : reader.Read(LengthTolerance, lengthTolerance, kAnyNumber);
  const double angle =
      angleTolerance == m_shownAngle ? m_loadedAngle : reader.Read(AngleTolerance, angleTolerance, kAnyNumber);
  if (reader.fault) return Refuse(std::move(*reader.fault));

  DialogOutcome outcome;
  const bool network = loopAdjustment == kNetworkAdjustmentChoice;
  const int stored = network ? 2 : loopAdjustment;
  outcome.recompute = stored != s.loopAdjustment || network != NetworkAdjustmentChosen(s) ||
                      vertical != s.crossSectionVerticalLimit || acute != s.crossSectionAcuteLimit;
  const double newLength = ClampTolerance(length, kMaxLengthTolerance);
  const double newAngle = ClampTolerance(angle, kMaxAngleTolerance);
  outcome.modified = outcome.recompute || newLength != s.searchToleranceLength || newAngle != s.searchToleranceAngle;
  outcome.redraw = outcome.recompute;
  s.loopAdjustment = static_cast<uint16_t>(stored);
  ChooseNetworkAdjustment(s, network);
  s.crossSectionVerticalLimit = vertical;
  s.crossSectionAcuteLimit = acute;
  s.searchToleranceLength = newLength;
  s.searchToleranceAngle = newAngle;
  return outcome;
}

// ---- "Ebenen" and "Vermesser" ---------------------------------------------

const char* NameListModel::Caption() const { return m_list == NameList::Levels ? "Ebenen" : "Vermesser"; }

void NameListModel::Load(const DocumentSettings& s) {
  text = base::TextOf(m_list == NameList::Levels ? s.levelNames : s.surveyorNames);
}

std::optional<int> NamedLineNumber(std::string_view line) {
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view number = line.substr(0, colon);
  const auto value = base::ParseInteger(number);
  if (!value || std::to_string(*value) != number || *value < 0 || *value > 8) return std::nullopt;
  return static_cast<int>(*value);
}

namespace {

// The message for the first line no entry can be made of, if any.
std::optional<std::string> UnnamedLineMessage(std::string_view stored, const char* caption) {
  size_t start = 0;
  for (int number = 1; start <= stored.size(); ++number) {
    size_t end = stored.find('\n', start);
    if (end == std::string_view::npos) end = stored.size();
    std::string_view line = stored.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    if (line.find_first_not_of(" \t") == std::string_view::npos || NamedLineNumber(line)) continue;
    return "Zeile " + std::to_string(number) + " \"" + base::Cp1252ToUtf8(line) + "\" hat nicht die Form " +
           "\"Nummer: Name\" mit einer Nummer von 0 bis 8.\nDie Liste \"" + caption +
           "\" kann so nicht gespeichert werden.";
  }
  return std::nullopt;
}

}  // namespace

DialogOutcome NameListModel::Apply(DocumentSettings& s) const {
  char(&field)[1026] = m_list == NameList::Levels ? s.levelNames : s.surveyorNames;
  const std::string stored = LimitStoredText(text, kMaxNamesLength);
  DialogOutcome outcome;
  if (auto message = UnnamedLineMessage(stored, Caption())) return Refuse(Text, std::move(*message));
  if (stored != base::TextOf(field)) {
    base::SetText(field, stored);
    outcome.modified = true;
  }
  return outcome;
}

// ---- "Schriftarten" -------------------------------------------------------

const char* FontUseName(int index) {
  static constexpr const char* kNames[kEditedFontCount] = {"Titel", "Seitenbezeichnung", "Achsenbeschriftung",
                                                           "Punktbeschriftung", "Vermessungsprotokoll"};
  return index >= 0 && index < kEditedFontCount ? kNames[index] : "";
}

namespace {
constexpr int kDefaultPixels = 13;
constexpr int kMaxPixels = 2000;  // no label is taller than a page
constexpr double kPointsPerPixel = 72.0 / 96.0;

// A stored flag byte: kept while its meaning stays, 255 when newly set.
uint8_t Flag(uint8_t stored, bool on) {
  if ((stored != 0) == on) return stored;
  return on ? 255 : 0;
}
}  // namespace

FontChoice DescribeFont(const FontSetting& font) {
  FontChoice choice;
  const long long height = font.height;
  choice.pixelSize =
      height == 0 ? kDefaultPixels : static_cast<int>(std::min<long long>(std::llabs(height), kMaxPixels));
  choice.pointSize = choice.pixelSize * kPointsPerPixel;
  choice.weight = font.weight <= 0 ? 400 : std::min(font.weight, 1000);
  choice.italic = font.italic != 0;
  choice.underline = font.underline != 0;
  choice.strikeOut = font.strikeOut != 0;
  choice.faceName = base::TextOf(font.faceName);
  return choice;
}

void TakeFontChoice(FontSetting& font, const FontChoice& choice) {
  double pixels = choice.pointSize > 0 ? choice.pointSize / kPointsPerPixel : choice.pixelSize;
  if (!(pixels >= 1)) pixels = kDefaultPixels;
  font.height = -static_cast<int32_t>(std::lround(std::min<double>(pixels, kMaxPixels)));
  font.weight = choice.weight <= 0 ? 400 : std::min(choice.weight, 1000);
  font.italic = Flag(font.italic, choice.italic);
  font.underline = Flag(font.underline, choice.underline);
  font.strikeOut = Flag(font.strikeOut, choice.strikeOut);
  if (!choice.faceName.empty()) base::SetText(font.faceName, choice.faceName);
}

int NearestFontStyle(const std::vector<FontStyleOffer>& offers, int weight, bool italic) {
  int best = -1;
  long long bestCost = 0;
  for (size_t i = 0; i < offers.size(); ++i) {
    const FontStyleOffer& offer = offers[i];
    const long long cost = (offer.italic != italic ? 100000LL : 0) +
                           std::llabs(static_cast<long long>(offer.weight) - weight) * 2 + (offer.narrowOrWide ? 1 : 0);
    if (best < 0 || cost < bestCost) {
      best = static_cast<int>(i);
      bestCost = cost;
    }
  }
  return best;
}

void FontsModel::Load(const DocumentSettings& s) {
  for (int i = 0; i < kEditedFontCount; ++i) {
    fonts[i] = s.fonts[i];
    colours[i] = s.fontColours[i];
  }
}

DialogOutcome FontsModel::Apply(DocumentSettings& s) const {
  for (int i = 0; i < kEditedFontCount; ++i) {
    s.fonts[i] = fonts[i];
    s.fontColours[i] = colours[i] & 0xFFFFFF;
  }
  DialogOutcome outcome;
  outcome.modified = outcome.redraw = true;
  return outcome;
}

// ---- "Farben" -------------------------------------------------------------

std::string ColourLabel(const ColourSlot& slot) {
  switch (slot.kind) {
    case ColourKind::Line:
    case ColourKind::False: return std::to_string(slot.index + 1);
    case ColourKind::Background: return "&Hintergrund";
    case ColourKind::Points: return "Mess&punkte";
    case ColourKind::AuxLines: return "&Querschnitte und Hilfslinien";
    case ColourKind::Frame: return "Rahmen und &Unterteilungen";
    case ColourKind::LeftEye: return "3D-Darstellung &links";
    case ColourKind::RightEye: return "3D-Darstellung &rechts";
  }
  return {};
}

const std::vector<ColourSlot>& ColourSlots() {
  static const std::vector<ColourSlot> slots = [] {
    std::vector<ColourSlot> all;
    for (int i = 0; i < 16; ++i) all.push_back({ColourKind::Line, i});
    for (int i = 0; i < 16; ++i) all.push_back({ColourKind::False, i});
    for (ColourKind k : {ColourKind::Background, ColourKind::Points, ColourKind::AuxLines, ColourKind::Frame,
                         ColourKind::LeftEye, ColourKind::RightEye}) {
      all.push_back({k, 0});
    }
    return all;
  }();
  return slots;
}

void ColoursModel::Load(const DocumentSettings& s, const platform::SettingsStore& program) {
  std::copy(std::begin(s.lineColours), std::end(s.lineColours), m_line.begin());
  std::copy(std::begin(s.falseColours), std::end(s.falseColours), m_false.begin());
  m_background = s.backgroundColour;
  m_points = s.pointColour;
  m_auxLines = s.auxLineColour;
  m_frame = s.frameColour;
  m_left = static_cast<uint32_t>(
      program.GetInt(kSettingsSection, kLeftEyeColourValue, static_cast<int>(kDefaultLeftEyeColour)));
  m_right = static_cast<uint32_t>(
      program.GetInt(kSettingsSection, kRightEyeColourValue, static_cast<int>(kDefaultRightEyeColour)));
}

uint32_t* ColoursModel::Find(const ColourSlot& slot) {
  const bool inTable = slot.index >= 0 && slot.index < 16;
  switch (slot.kind) {
    case ColourKind::Line: return inTable ? &m_line[slot.index] : nullptr;
    case ColourKind::False: return inTable ? &m_false[slot.index] : nullptr;
    case ColourKind::Background: return &m_background;
    case ColourKind::Points: return &m_points;
    case ColourKind::AuxLines: return &m_auxLines;
    case ColourKind::Frame: return &m_frame;
    case ColourKind::LeftEye: return &m_left;
    case ColourKind::RightEye: return &m_right;
  }
  return nullptr;
}

uint32_t ColoursModel::Get(const ColourSlot& slot) const {
  const uint32_t* colour = const_cast<ColoursModel*>(this)->Find(slot);
  return colour != nullptr ? *colour : 0;
}

void ColoursModel::Set(const ColourSlot& slot, uint32_t colour) {
  if (uint32_t* target = Find(slot)) *target = colour & 0xFFFFFF;
}

DialogOutcome ColoursModel::Apply(DocumentSettings& s, platform::SettingsStore& program) const {
  std::copy(m_line.begin(), m_line.end(), s.lineColours);
  std::copy(m_false.begin(), m_false.end(), s.falseColours);
  s.backgroundColour = m_background;
  s.pointColour = m_points;
  s.auxLineColour = m_auxLines;
  s.frameColour = m_frame;
  program.SetInt(kSettingsSection, kLeftEyeColourValue, static_cast<int>(m_left));
  program.SetInt(kSettingsSection, kRightEyeColourValue, static_cast<int>(m_right));
  DialogOutcome outcome;
  outcome.modified = outcome.redraw = true;
  return outcome;
}

}  // namespace hp::doc
