// The coordinates dialog "Koordinaten" driven as a user would: opening on a
// record, typing and leaving fields, pasting a Google Earth placemark, OK.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "base/FixedText.h"
#include "edit/CoordinatesDialog.h"

namespace hp::edit {
namespace {

using Model = CoordinatesDialogModel;

doc::SurveyRecord Station(double x, double y, double z) {
  doc::SurveyRecord record;
  record.x = x, record.y = y, record.z = z, record.refX = 1, record.refY = 2, record.refZ = 3;
  return record;
}

doc::DocumentSettings Grid(uint32_t zone, const char* band) {
  doc::DocumentSettings settings;
  settings.utmZone = zone;
  base::SetText(settings.utmBand, band);
  return settings;
}

Model Opened(const doc::SurveyRecord& record, const doc::DocumentSettings& settings) {
  Model model;
  model.Load(record, settings);
  return model;
}

// Types `text` into `field` and leaves it; the leave must be accepted.
void TypeAndLeave(Model& model, Model::Field field, const std::string& text) {
  model.Edit(field, text);
  const doc::DialogOutcome outcome = model.Leave(field);
  ASSERT_FALSE(outcome.fault) << outcome.fault->message;
}

struct Shown {
  std::string zone, letter, easting, northing, latitude, longitude;
};

void ExpectShown(const Model& model, const Shown& shown) {
  EXPECT_EQ(model.text(Model::Zone), shown.zone);
  EXPECT_EQ(model.text(Model::Letter), shown.letter);
  EXPECT_EQ(model.text(Model::Easting), shown.easting);
  EXPECT_EQ(model.text(Model::Northing), shown.northing);
  EXPECT_EQ(model.text(Model::Latitude), shown.latitude);
  EXPECT_EQ(model.text(Model::Longitude), shown.longitude);
}

const Shown kStuttgart{"32", "U", "500000,00", "5316300,22", "48,0000000", "9,0000000"};
const Shown kCape{"34", "H", "259583,22", "6245888,05", "-33,9000000", "18,4000000"};

TEST(CoordinatesDialog, OpensOnTheStationWithTheStoredZoneAndLetter) {
  const Model model = Opened(Station(500000, 5316300.22, 512.345), Grid(32, "U"));
  ExpectShown(model, kStuttgart);
  EXPECT_EQ(model.text(Model::UtmHeight), "512,35");
  EXPECT_EQ(model.text(Model::GeoHeight), "512,35");
  EXPECT_FALSE(model.changed());
  // Lower case "h" is southern for the conversion and shown unchanged, also
  // after leaving fields that were not touched.
  Model cape = Opened(Station(259583.22, 6245888.05, 0), Grid(34, "h"));
  EXPECT_FALSE(cape.Leave(Model::Letter).fault);
  EXPECT_FALSE(cape.Leave(Model::Latitude).fault);
  EXPECT_EQ(cape.text(Model::Letter), "h");
  EXPECT_EQ(cape.text(Model::Latitude), "-33,9000000");
}

struct LetterCase {
  const char* typed;
  const char* shown;
  const char* latitude;
};

class LetterTakenOver : public testing::TestWithParam<LetterCase> {};

// Leaving the letter corrects it and converts with the corrected letter.
TEST_P(LetterTakenOver, IsCorrectedAndConvertedWith) {
  Model model = Opened(Station(259583.22, 6245888.05, 0), Grid(34, "H"));
  TypeAndLeave(model, Model::Letter, GetParam().typed);
  EXPECT_EQ(model.text(Model::Letter), GetParam().shown);
  EXPECT_EQ(model.text(Model::Latitude), GetParam().latitude);
  EXPECT_FALSE(model.changed());
}

INSTANTIATE_TEST_SUITE_P(Letters, LetterTakenOver,
                         testing::Values(LetterCase{"H", "H", "-33,9000000"},
                                         // "n" is below "A" or above "Z": "U", northern.
                                         LetterCase{"n", "U", "56,2966938"}, LetterCase{"h", "U", "56,2966938"},
                                         LetterCase{"", "U", "56,2966938"}, LetterCase{"\xC4", "U", "56,2966938"},  // Ä
                                         LetterCase{"O", "N", "56,2966938"}, LetterCase{"I", "J", "-33,9000000"},
                                         LetterCase{"C", "C", "-33,9000000"}));

TEST(CoordinatesDialog, LatitudeAndLongitudeGiveTheGrid) {
  Model model = Opened(Station(0, 0, 0), Grid(32, "U"));
  model.Edit(Model::Latitude, "-33,9");
  TypeAndLeave(model, Model::Longitude, "18.4");
  ExpectShown(model, kCape);
  EXPECT_FALSE(model.changed());
}

TEST(CoordinatesDialog, EastingAndNorthingGiveLatitudeAndLongitude) {
  Model model = Opened(Station(0, 0, 0), Grid(34, "H"));
  model.Edit(Model::Easting, "259583,22");
  TypeAndLeave(model, Model::Northing, "6245888.05");
  ExpectShown(model, kCape);
}

TEST(CoordinatesDialog, ZoneSixtyOneIsRefusedOnTheNextRead) {
  Model model = Opened(Station(500000, 5316300.22, 0), Grid(32, "U"));
  model.Edit(Model::Latitude, "10");
  TypeAndLeave(model, Model::Longitude, "180");
  EXPECT_EQ(model.text(Model::Zone), "61");

  model.Edit(Model::Easting, "171071,26");
  const doc::DialogOutcome left = model.Leave(Model::Easting);
  ASSERT_TRUE(left.fault);
  EXPECT_EQ(left.fault->field, Model::Zone);
  EXPECT_EQ(left.fault->message, kEnterZone);
  EXPECT_TRUE(model.changed());
  EXPECT_EQ(model.text(Model::Latitude), "10,0000000");  // nothing recomputed

  doc::SurveyRecord record = Station(1, 2, 3);
  doc::DocumentSettings settings = Grid(32, "U");
  const doc::DialogOutcome ok = model.Apply(record, settings);
  ASSERT_TRUE(ok.fault);
  EXPECT_EQ(ok.fault->field, Model::Zone);
  EXPECT_EQ(record.x, 1);
  EXPECT_EQ(settings.utmZone, 32u);
}

// A refused entry keeps its text for the user to correct; nothing else
// moves.
TEST(CoordinatesDialog, EntriesAreRefusedOnLeavingWithNothingChanged) {
  const Model opened = Opened(Station(500000, 5316300.22, 10), Grid(32, "U"));
  const struct {
    Model::Field field;
    const char* typed;
    std::string_view message;
  } cases[] = {{Model::Easting, "5OOOOO", kEnterNumber},
               {Model::Northing, "", kEnterNumber},
               {Model::Zone, "0", kEnterZone},
               {Model::Zone, "32,5", kEnterZone},
               {Model::Zone, "x", kEnterZone},
               {Model::Latitude, "48°", kEnterNumber},
               {Model::Longitude, "1e999", kEnterNumber},
               {Model::UtmHeight, "hoch", kEnterNumber},
               {Model::GeoHeight, "1,2,3", kEnterNumber}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Model model = opened;
    model.Edit(c.field, c.typed);
    const doc::DialogOutcome outcome = model.Leave(c.field);
    ASSERT_TRUE(outcome.fault);
    EXPECT_EQ(outcome.fault->field, c.field);
    EXPECT_EQ(outcome.fault->message, c.message);
    EXPECT_TRUE(model.changed());
    for (size_t f = 0; f < Model::kFieldCount; ++f) {
      const auto field = static_cast<Model::Field>(f);
      EXPECT_EQ(model.text(field), field == c.field ? c.typed : opened.text(field)) << "field " << f;
    }
  }
}

TEST(CoordinatesDialog, LeavingAHeightCopiesItIntoTheOther) {
  Model model = Opened(Station(500000, 5316300.22, 10), Grid(32, "U"));
  TypeAndLeave(model, Model::UtmHeight, "123,4");
  EXPECT_EQ(model.text(Model::GeoHeight), "123,40");
  TypeAndLeave(model, Model::GeoHeight, "-7.126");
  EXPECT_EQ(model.text(Model::UtmHeight), "-7,13");
  EXPECT_EQ(model.text(Model::Latitude), "48,0000000");
}

struct PasteCase {
  const char* what;
  std::optional<std::string> clipboard;
  Shown shown;
};

class PastePlacemark : public testing::TestWithParam<PasteCase> {};

// The dialog opens on the Cape position; pasting recomputes the grid.
TEST_P(PastePlacemark, RecomputesTheGrid) {
  const PasteCase& c = GetParam();
  Model model = Opened(Station(259583.22, 6245888.05, 42), Grid(34, "H"));
  model.Edit(Model::Easting, "1");  // typed but not yet left: overwritten
  const doc::DialogOutcome outcome = model.Paste(c.clipboard);
  ASSERT_FALSE(outcome.fault) << outcome.fault->message;
  ExpectShown(model, c.shown);
  EXPECT_EQ(model.text(Model::GeoHeight), "42,00");  // the placemark's height is ignored
  EXPECT_FALSE(model.changed());
}

INSTANTIATE_TEST_SUITE_P(Clipboard, PastePlacemark,
                         testing::Values(PasteCase{"placemark",
                                                   "<?xml version=\"1.0\"?><kml><Placemark><name>Eingang</name><Point>"
                                                   "<coordinates>9.0,48.0,312</coordinates></Point></Placemark></kml>",
                                                   kStuttgart},
                                         PasteCase{"line breaks before the numbers",
                                                   "<coordinates>\n\t\t18.4,-33.9,0\n</coordinates>", kCape},
                                         PasteCase{"no latitude",
                                                   "<coordinates>9</coordinates>",
                                                   {"32", "N", "500000,00", "0,00", "0,0000000", "9,0000000"}},
                                         PasteCase{"no numbers",
                                                   "<coordinates>Ost,Nord</coordinates>",
                                                   {"31", "N", "166021,44", "0,00", "0,0000000", "0,0000000"}},
                                         // Without the tag or without text only the grid is recomputed.
                                         PasteCase{"text without the tag", "48.0,9.0", kCape},
                                         PasteCase{"no text", std::nullopt, kCape}),
                         [](const testing::TestParamInfo<PasteCase>& row) { return std::to_string(row.index); });

TEST(CoordinatesDialog, OkStoresStationReferenceZoneAndLetter) {
  Model model = Opened(Station(500000, 5316300.22, 10), Grid(32, "U"));
  model.Edit(Model::Latitude, "-33,9");
  TypeAndLeave(model, Model::Longitude, "18,4");
  TypeAndLeave(model, Model::GeoHeight, "250");

  doc::SurveyRecord record = Station(500000, 5316300.22, 10);
  doc::DocumentSettings settings = Grid(32, "U");
  const doc::DialogOutcome outcome = model.Apply(record, settings);
  ASSERT_FALSE(outcome.fault);
  EXPECT_TRUE(outcome.modified);
  EXPECT_DOUBLE_EQ(record.x, 259583.22);
  EXPECT_DOUBLE_EQ(record.y, 6245888.05);
  EXPECT_DOUBLE_EQ(record.z, 250);
  EXPECT_DOUBLE_EQ(record.refX, 259583.22);
  EXPECT_DOUBLE_EQ(record.refY, 6245888.05);
  EXPECT_DOUBLE_EQ(record.refZ, 250);
  EXPECT_EQ(settings.utmZone, 34u);
  EXPECT_EQ(base::TextOf(settings.utmBand), "H");
}

// OK on an untouched dialog keeps the exact values; a stored lower case
// letter is corrected.
TEST(CoordinatesDialog, OkOnAnUntouchedDialogKeepsTheExactValues) {
  const doc::SurveyRecord opened = Station(500000.123456, 5316300.987654, 512.3456);
  for (const char* letter : {"U", "u"}) {
    Model model = Opened(opened, Grid(32, letter));
    doc::SurveyRecord record = opened;
    doc::DocumentSettings settings = Grid(32, letter);
    const doc::DialogOutcome outcome = model.Apply(record, settings);
    ASSERT_FALSE(outcome.fault);
    EXPECT_EQ(outcome.modified, *letter == 'u');
    EXPECT_EQ(base::TextOf(settings.utmBand), "U");
    EXPECT_EQ(record.x, 500000.123456);
    EXPECT_EQ(record.refY, 5316300.987654);
    EXPECT_EQ(record.refZ, 512.3456);
  }
}

// Enter takes OK while the cursor is still in a field: what was typed there
// counts as if the field had been left, and a bad entry is refused.
TEST(CoordinatesDialog, OkFinishesTheFieldStillBeingEdited) {
  Model model = Opened(Station(500000, 5316300.22, 10), Grid(32, "U"));
  model.Edit(Model::UtmHeight, "zehn");
  doc::SurveyRecord record = Station(0, 0, 0);
  doc::DocumentSettings settings = Grid(34, "H");
  const doc::DialogOutcome refused = model.Apply(record, settings);
  ASSERT_TRUE(refused.fault);
  EXPECT_EQ(refused.fault->field, Model::UtmHeight);
  EXPECT_EQ(record.z, 0);
  TypeAndLeave(model, Model::UtmHeight, "10");
  model.Edit(Model::Latitude, "-33.9");
  TypeAndLeave(model, Model::Longitude, "18.4");
  model.Edit(Model::Latitude, "48");
  model.Edit(Model::Longitude, "9");
  ASSERT_FALSE(model.Apply(record, settings).fault);
  EXPECT_DOUBLE_EQ(record.x, 500000);
  EXPECT_DOUBLE_EQ(record.y, 5316300.22);
  EXPECT_EQ(settings.utmZone, 32u);
  EXPECT_EQ(base::TextOf(settings.utmBand), "U");
}

TEST(CoordinatesDialog, LeadingNumbersAreReadAsAtofWould) {
  const std::pair<const char*, double> cases[] = {{"9.123", 9.123}, {" \n\t-33.9</coordinates>", -33.9},
                                                  {"+.5", 0.5},     {"1e2x", 100},
                                                  {"12,5", 12},     {"-", 0},
                                                  {"abc", 0},       {"nan", 0},
                                                  {"-inf", 0},      {"1e999", 0},
                                                  {"0x1A", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingNumber(text), value) << text;
}

}  // namespace
}  // namespace hp::edit
