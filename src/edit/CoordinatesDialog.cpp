// The coordinates dialog's logic: UTM and WGS84 side by side.
#include "edit/CoordinatesDialog.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <system_error>
#include <variant>

#include "base/FixedText.h"
#include "base/NumberField.h"
#include "base/NumberFormat.h"
#include "geo/Utm.h"

namespace hp::edit {
namespace {

using Model = CoordinatesDialogModel;

doc::DialogOutcome Refused(Model::Field field, std::string_view message) {
  doc::DialogOutcome outcome;
  outcome.fault = base::FieldFault<int>{field, std::string(message)};
  return outcome;
}

bool IsMetres(Model::Field field) {
  return field == Model::Easting || field == Model::Northing || field == Model::UtmHeight || field == Model::GeoHeight;
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  text.remove_prefix(i);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Digits or a point must follow: "inf", "nan" and hexadecimal are no
  // coordinates.
  const bool digitFirst = !text.empty() && text.front() >= '0' && text.front() <= '9';
  const bool pointFirst = text.size() > 1 && text[0] == '.' && text[1] >= '0' && text[1] <= '9';
  if (!digitFirst && !pointFirst) return 0;
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0;
  return negative ? -value : value;
}

std::optional<PastedPosition> ParseCoordinatesTag(std::string_view text) {
  const size_t tag = text.find(kCoordinatesTag);
  if (tag == std::string_view::npos) return std::nullopt;
  std::string_view rest = text.substr(tag + kCoordinatesTag.size());
  PastedPosition position;
  const size_t first = rest.find(',');
  position.longitude = LeadingNumber(rest.substr(0, first));
  if (first != std::string_view::npos) {
    rest.remove_prefix(first + 1);
    position.latitude = LeadingNumber(rest.substr(0, rest.find(',')));
  }
  return position;
}

void Model::ShowNumber(Field field, double value) {
  m_value[field] = value;
  m_text[field] = m_shown[field] = base::DecimalComma(base::FormatFixed(value, IsMetres(field) ? 2 : 7));
}

void Model::ShowZone(int zone) { m_text[Zone] = m_shown[Zone] = std::to_string(zone); }

void Model::ShowLetter(char letter) {
  m_text[Letter] = m_shown[Letter] = letter == '\0' ? std::string() : std::string(1, letter);
}

void Model::Load(const doc::SurveyRecord& record, const doc::DocumentSettings& settings) {
  ShowNumber(Easting, record.x);
  ShowNumber(Northing, record.y);
  ShowNumber(UtmHeight, record.z);
  ShowNumber(GeoHeight, record.z);
  m_text[Zone] = m_shown[Zone] = std::to_string(settings.utmZone);
  const char letter = settings.utmBand[0];
  ShowLetter(letter);
  // A stored zone outside 1 to 60 is shown and converted as it is; reading
  // the field refuses it.
  const int zone = static_cast<int>(std::min<uint32_t>(settings.utmZone, INT_MAX));
  const geo::GeographicPosition position = geo::UtmToGeographic(zone, letter, record.x, record.y);
  ShowNumber(Latitude, position.latitude);
  ShowNumber(Longitude, position.longitude);
  m_changed = false;
  m_editing.reset();
}

void Model::Edit(Field field, std::string_view text) {
  m_text[field] = std::string(text.substr(0, MaxLength(field)));
  m_changed = true;
  m_editing = field;
}

std::optional<double> Model::ReadNumber(Field field) const {
  if (m_text[field] == m_shown[field]) return m_value[field];
  const auto value = base::ParseNumber(m_text[field]);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

doc::DialogOutcome Model::ReadUtm(UtmValues& values) const {
  const auto easting = ReadNumber(Easting);
  if (!easting) return Refused(Easting, kEnterNumber);
  const auto northing = ReadNumber(Northing);
  if (!northing) return Refused(Northing, kEnterNumber);
  const auto zone = base::ReadNumberField(
      m_text[Zone], {.notANumber = std::string(kEnterZone), .integer = true, .min = kMinZone, .max = kMaxZone});
  if (const auto* message = std::get_if<std::string>(&zone)) return Refused(Zone, *message);
  values.easting = *easting;
  values.northing = *northing;
  values.zone = static_cast<int>(std::get<double>(zone));
  values.letter = doc::CorrectZoneLetter(m_text[Letter].empty() ? '\0' : m_text[Letter].front());
  return {};
}

doc::DialogOutcome Model::ReadEvery(UtmValues& utm, double& utmHeight) const {
  // In tab order, so the first bad entry is the one refused.
  if (!ReadNumber(Easting)) return Refused(Easting, kEnterNumber);
  if (!ReadNumber(Northing)) return Refused(Northing, kEnterNumber);
  const auto height = ReadNumber(UtmHeight);
  if (!height) return Refused(UtmHeight, kEnterNumber);
  if (auto outcome = ReadUtm(utm); outcome.fault) return outcome;
  for (Field field : {Latitude, Longitude, GeoHeight}) {
    if (!ReadNumber(field)) return Refused(field, kEnterNumber);
  }
  utmHeight = *height;
  return {};
}

doc::DialogOutcome Model::RecomputeGeographic() {
  UtmValues utm{};
  if (auto outcome = ReadUtm(utm); outcome.fault) return outcome;
  ShowNumber(Easting, utm.easting);
  ShowNumber(Northing, utm.northing);
  ShowZone(utm.zone);
  ShowLetter(utm.letter);
  const geo::GeographicPosition position = geo::UtmToGeographic(utm.zone, utm.letter, utm.easting, utm.northing);
  ShowNumber(Latitude, position.latitude);
  ShowNumber(Longitude, position.longitude);
  m_changed = false;
  return {};
}

doc::DialogOutcome Model::RecomputeUtm() {
  const auto latitude = ReadNumber(Latitude);
  if (!latitude) return Refused(Latitude, kEnterNumber);
  const auto longitude = ReadNumber(Longitude);
  if (!longitude) return Refused(Longitude, kEnterNumber);
  ShowNumber(Latitude, *latitude);
  ShowNumber(Longitude, *longitude);
  const geo::UtmPosition grid = geo::GeographicToUtm(*latitude, *longitude);
  ShowZone(grid.zone);
  ShowLetter(grid.letter);
  ShowNumber(Easting, grid.easting);
  ShowNumber(Northing, grid.northing);
  m_changed = false;
  return {};
}

doc::DialogOutcome Model::CopyHeight(Field from, Field to) {
  const auto height = ReadNumber(from);
  if (!height) return Refused(from, kEnterNumber);
  ShowNumber(from, *height);
  ShowNumber(to, *height);
  return {};
}

doc::DialogOutcome Model::Leave(Field field) {
  m_editing.reset();
  switch (field) {
    case Easting:
    case Northing:
    case Zone:
    case Letter: return m_changed ? RecomputeGeographic() : doc::DialogOutcome{};
    case Latitude:
    case Longitude: return m_changed ? RecomputeUtm() : doc::DialogOutcome{};
    case UtmHeight: return CopyHeight(UtmHeight, GeoHeight);
    case GeoHeight: return CopyHeight(GeoHeight, UtmHeight);
  }
  return {};
}

doc::DialogOutcome Model::Paste(const std::optional<std::string>& clipboard) {
  if (clipboard) {
    if (const auto position = ParseCoordinatesTag(*clipboard)) {
      ShowNumber(Latitude, position->latitude);
      ShowNumber(Longitude, position->longitude);
    }
  }
  m_changed = true;
  return RecomputeUtm();
}

doc::DialogOutcome Model::Apply(doc::SurveyRecord& record, doc::DocumentSettings& settings) {
  // Enter takes OK without leaving the field typed into: finish it first, so
  // a latitude just typed is not stored with the easting it replaced.
  if (m_editing) {
    if (auto outcome = Leave(*m_editing); outcome.fault) return outcome;
  }
  UtmValues utm{};
  double height = 0;
  if (auto outcome = ReadEvery(utm, height); outcome.fault) return outcome;

  record.x = record.refX = utm.easting;
  record.y = record.refY = utm.northing;
  record.z = record.refZ = height;
  doc::DialogOutcome outcome;
  outcome.modified = settings.utmZone != static_cast<uint32_t>(utm.zone) || settings.utmBand[0] != utm.letter ||
                     settings.utmBand[1] != '\0';
  settings.utmZone = static_cast<uint32_t>(utm.zone);
  const char band[] = {utm.letter, '\0'};
  base::SetText(settings.utmBand, band);
  return outcome;
}

}  // namespace hp::edit
