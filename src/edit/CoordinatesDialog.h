// The logic of the coordinates dialog "Koordinaten": a station's UTM
// easting, northing and height beside its WGS84 latitude, longitude and
// height, each side recomputed from the other as the user leaves a field,
// the position taken from a Google Earth placemark on the clipboard, and
// what OK stores. Texts are Windows-1252 like the store; messages are UTF-8.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "doc/DocumentDialogs.h"
#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"

namespace hp::edit {

// Texts of the dialog (UTF-8).
inline constexpr std::string_view kCoordinatesCaption = "Koordinaten";
inline constexpr std::string_view kCoordinatesUtmGroup = "UTM";
inline constexpr std::string_view kCoordinatesGeoGroup = "WGS84";
inline constexpr std::string_view kCoordinatesEasting = "X";
inline constexpr std::string_view kCoordinatesNorthing = "Y";
inline constexpr std::string_view kCoordinatesHeight = "H\xC3\xB6he";
inline constexpr std::string_view kCoordinatesZone = "Zone";
inline constexpr std::string_view kCoordinatesLatitude = "Breite";
inline constexpr std::string_view kCoordinatesLongitude = "L\xC3\xA4nge";
inline constexpr std::string_view kCoordinatesPaste = "&Google Earth Koordinaten einf\xC3\xBCgen";
// Closes like OK and places the record's station on the map with the next
// click into the view.
inline constexpr std::string_view kCoordinatesPlaceOnMap = "Auf &Hollowplan Karte positionieren";
// The refusals of an entry.
inline constexpr std::string_view kEnterNumber = "Geben Sie eine Zahl ein.";
inline constexpr std::string_view kEnterZone = "Geben Sie eine ganze Zahl zwischen 1 und 60 ein.";

inline constexpr int kMinZone = 1;
inline constexpr int kMaxZone = 60;

// The tag of a placemark's position in the text Google Earth puts on the
// clipboard: longitude, latitude and height separated by commas.
inline constexpr std::string_view kCoordinatesTag = "<coordinates>";

// Longitude and latitude of the first "<coordinates>" tag of `text`: the text
// after the tag up to the first ",", then up to the next ",", each read as a
// leading decimal number (0 when there is none); the height is ignored.
// Nothing when the text holds no such tag.
struct PastedPosition {
  double latitude = 0;
  double longitude = 0;
};
std::optional<PastedPosition> ParseCoordinatesTag(std::string_view text);

// The leading decimal number of a text as C's atof reads it (white space,
// sign, digits with a decimal point, exponent); 0 when there is none and for
// values beyond the range of a double.
double LeadingNumber(std::string_view text);

class CoordinatesDialogModel {
 public:
  // The fields in their tab order.
  enum Field { Easting, Northing, UtmHeight, Zone, Letter, Latitude, Longitude, GeoHeight };
  static constexpr size_t kFieldCount = 8;

  // Opens on the record's station coordinates as UTM easting, northing and
  // height with the document's zone and letter; the WGS84 height is the UTM
  // height, latitude and longitude follow from the first character of the
  // letter as stored.
  void Load(const doc::SurveyRecord& record, const doc::DocumentSettings& settings);

  // The field's text as shown: metres with two decimals, degrees with seven,
  // both with a decimal comma; the letter is at most one character.
  const std::string& text(Field field) const { return m_text[field]; }
  static size_t MaxLength(Field field) { return field == Letter ? 1 : 32; }

  // The user changed a field's text: marks the dialog changed.
  void Edit(Field field, std::string_view text);
  bool changed() const { return m_changed; }

  // `field` lost the focus. Leaving the easting, northing, zone or letter of
  // a changed dialog reads the UTM side, corrects the letter and recomputes
  // latitude and longitude; leaving latitude or longitude of a changed dialog
  // recomputes zone, letter, easting and northing; leaving a height copies it
  // into the other height. Every field is shown again afterwards. A refused
  // entry changes nothing and keeps the dialog changed: `field` names it.
  doc::DialogOutcome Leave(Field field);

  // "&Google Earth Koordinaten einfügen" with the clipboard's text (none when
  // the clipboard holds no text): a placemark's position replaces latitude and
  // longitude; then the UTM side is recomputed from them.
  doc::DialogOutcome Paste(const std::optional<std::string>& clipboard);

  // OK: finishes a field still being edited as leaving it would, then reads
  // every field and writes easting, northing and UTM height into both the
  // station and the reference coordinates of `record`, zone and corrected
  // letter into the document settings. `modified` tells whether the document
  // settings changed. On a refusal nothing is written.
  doc::DialogOutcome Apply(doc::SurveyRecord& record, doc::DocumentSettings& settings);

 private:
  struct UtmValues {
    double easting, northing;
    int zone;
    char letter;
  };

  // Reads a number field: an untouched text keeps its exact value.
  std::optional<double> ReadNumber(Field field) const;
  doc::DialogOutcome ReadUtm(UtmValues& values) const;
  doc::DialogOutcome ReadEvery(UtmValues& utm, double& utmHeight) const;
  doc::DialogOutcome RecomputeGeographic();
  doc::DialogOutcome RecomputeUtm();
  doc::DialogOutcome CopyHeight(Field from, Field to);

  void ShowNumber(Field field, double value);
  void ShowZone(int zone);
  void ShowLetter(char letter);

  std::array<std::string, kFieldCount> m_text;
  std::array<std::string, kFieldCount> m_shown;  // the text as last shown
  std::array<double, kFieldCount> m_value{};     // the value behind m_shown
  bool m_changed = false;
  std::optional<Field> m_editing;  // the field typed into and not yet left
};

}  // namespace hp::edit
