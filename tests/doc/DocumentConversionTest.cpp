// Files of older versions read back with their values converted. The files
// are written value by value at the offsets those versions used.
#include <gtest/gtest.h>

#include <tuple>
#include <variant>

#include "base/FixedText.h"
#include "doc/DocTestSupport.h"
#include "doc/DocumentConversions.h"
#include "doc/DocumentVersion.h"
#include "doc/RecordCodec.h"
#include "support/TestFile.h"

namespace hp::doc {
namespace {

using test::ReadBody;
using test::TestFile;

// A typed value at an offset of an image.
struct Slot {
  char type;  // 'h' i16, 'i' i32, 'u' u32, 'd' f64, 's' text
  size_t offset;
  double number = 0;
  const char* text = "";
};
Slot H(size_t o, double v) { return {'h', o, v}; }
Slot I(size_t o, double v) { return {'i', o, v}; }
Slot U(size_t o, double v) { return {'u', o, v}; }
Slot D(size_t o, double v) { return {'d', o, v}; }
Slot S(size_t o, const char* t) { return {'s', o, 0, t}; }

enum class Image { Settings, Sheet, Record };

constexpr uint32_t V(int major, int minor) { return FormatVersion(major, minor); }

struct ConversionCase {
  const char* name;
  uint32_t version;
  Image image;
  std::vector<Slot> written;
  std::vector<Slot> expected;
};

void Poke(TestFile& file, Image image, const Slot& s) {
  const auto put = [&](auto value) {
    using T = decltype(value);
    if (image == Image::Settings) file.Settings<T>(s.offset, value);
    if (image == Image::Sheet) file.Sheet<T>(0, s.offset, value);
    if (image == Image::Record) file.Record<T>(0, s.offset, value);
  };
  switch (s.type) {
    case 'h': put(static_cast<int16_t>(s.number)); break;
    case 'i': put(static_cast<int32_t>(s.number)); break;
    case 'u': put(static_cast<uint32_t>(s.number)); break;
    case 'd': put(s.number); break;
    case 's':
      if (image == Image::Settings) file.SettingsText(s.offset, s.text);
      if (image == Image::Sheet) file.SheetText(0, s.offset, s.text);
      if (image == Image::Record) file.RecordText(0, s.offset, s.text);
      break;
  }
}

void Check(const SurveyStore& store, Image image, const Slot& s) {
  std::vector<uint8_t> bytes;
  if (image == Image::Settings) {
    // The written block holds the settings exactly as read.
    SurveyStore copy;
    copy.settings = store.settings;
    bytes = test::WriteBody(copy);
    bytes.erase(bytes.begin(), bytes.begin() + 8);
    bytes.resize(kSettingsImageSize);
  } else if (image == Image::Sheet) {
    bytes.assign(store.worksheets.at(0)->image.begin(), store.worksheets.at(0)->image.end());
  } else {
    std::array<uint8_t, kRecordImageSize> record{};
    EncodeRecord(*store.records.at(0), record);
    bytes.assign(record.begin(), record.end());
  }
  SCOPED_TRACE(std::string("offset ") + std::to_string(s.offset));
  switch (s.type) {
    case 'h': EXPECT_EQ(base::LoadLE<int16_t>(bytes, s.offset), s.number); break;
    case 'i': EXPECT_EQ(base::LoadLE<int32_t>(bytes, s.offset), s.number); break;
    case 'u': EXPECT_EQ(base::LoadLE<uint32_t>(bytes, s.offset), s.number); break;
    case 'd': EXPECT_EQ(base::LoadLE<double>(bytes, s.offset), s.number); break;
    case 's': EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + s.offset), s.text); break;
  }
}

// Reads `file` as a whole-document import into a fresh store.
SurveyStore Import(const TestFile& file) {
  SurveyStore store;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore settings;
  EXPECT_EQ(ReadBody(store, file.Body(), ReadMode::ImportWhole, prompter, settings).status, ReadStatus::Ok);
  return store;
}

// clang-format off
const ConversionCase kCases[] = {
    // Settings block (offsets within the block).
    {"description before 5.00", V(4, 9), Image::Settings, {S(752, "alt"), U(746, 9)}, {S(752, ""), U(746, 0)}},
    {"loop adjustment before 5.04", V(5, 3), Image::Settings, {H(1754, 2)}, {H(1754, 1)}},
    {"tolerances before 6.01", V(6, 0), Image::Settings, {D(1756, 9), D(1764, 9)}, {D(1756, 1.0), D(1764, 5.0)}},
    {"line colours before 7.05", V(7, 4), Image::Settings, {U(2300, 7), U(2304, 7)}, {U(2300, 0), U(2304, 0xFF)}},
    {"point and frame colours before 9.01", V(9, 0), Image::Settings, {U(3142 + 12, 0xABCDEF), U(3142 + 8, 0x123456)},
     {U(2564, 0xABCDEF), U(2568, 0x123456)}},
    {"false colours before 9.00", V(8, 9), Image::Settings, {U(2496, 7), U(2560, 7)}, {U(2496, 0xFF), U(2560, 0xFFFFFF)}},
    {"cadastre emptied before 11.04", V(11, 3), Image::Settings, {S(2580, "12 Kat")}, {S(2580, ""), U(4328, 0)}},
    {"cadastre number before 16.01", V(16, 0), Image::Settings, {S(2580, " 4711 B\xE4renh\xF6hle"), U(4328, 5)},
     {U(4328, 4711), S(2580, " 4711 B\xE4renh\xF6hle")}},
    {"fonts before 13.05", V(13, 4), Image::Settings,
     {I(1772, -21), S(1772 + 28, "Courier"), U(218 + 4, 0x123), I(2662 + 5 * 60, -50), U(3142 + 20, 1)},
     {I(2662, -21), S(2662 + 28, "Courier"), U(3142 + 4, 0x123), I(2662 + 5 * 60, -13), I(2662 + 5 * 60 + 16, 400),
      S(2662 + 5 * 60 + 28, "Arial"), U(3142 + 20, 0x800000)}},
    {"level names before 15.02", V(15, 1), Image::Settings, {S(3174, "x")}, {S(3174, "0: Unsichtbar\r\n1: Ebene 1\r\n2: Ebene 2\r\n3: Ebene 3\r\n4: Ebene 4\r\n5: Ebene 5\r\n6: Ebene 6\r\n7: Ebene 7\r\n8: Ebene 8")}},
    {"limit angles before 17.06", V(17, 1), Image::Settings, {D(4336, 1), D(4344, 2)}, {D(4336, 30.0), D(4344, 45.0)}},
    {"grid zone before 18.00", V(17, 9), Image::Settings, {U(4352, 33), S(4356, "T")}, {U(4352, 32), S(4356, "U")}},
    {"surveyors before 22.02", V(22, 1), Image::Settings, {S(5702, "x")}, {S(5702, "0: Unbekannt\r\n1: Vermesser 1\r\n2: Vermesser 2\r\n3: Vermesser 3\r\n4: Vermesser 4\r\n5: Vermesser 5\r\n6: Vermesser 6\r\n7: Vermesser 7\r\n8: Vermesser 8")}},
    {"aux colour before 22.05", V(22, 4), Image::Settings, {U(6728, 1)}, {U(6728, 0xFF0000)}},
    {"convergence before 22.08", V(22, 7), Image::Settings, {D(6732, 1.5), H(750, 1)}, {D(6732, 0), H(750, 1)}},
    {"instrument names before 7.04", V(7, 3), Image::Settings, {S(2172, "x")}, {S(4806, "Ger\xE4t 1"), S(4806 + 16 * 8, "Ger\xE4t 9")}},
    // Records (offsets within the record).
    {"point numbers before 11.02", V(11, 1), Image::Record, {I(128, 17), I(140, -4), S(438, "x")},
     {S(451, "17"), S(438, "-4")}},
    {"old record fields", V(5, 1), Image::Record, {I(410, 3), I(414, 9), D(418, 2), S(464, "d")},
     {I(410, 0), I(414, 1), D(418, 0), S(464, "")}},
    {"level before 2.07", V(2, 6), Image::Record, {I(252, 5)}, {I(252, 1)}},
    {"cross section before 17.05", V(17, 4), Image::Record, {D(906, 1), D(954, 2), I(962, 1), D(966, 3)},
     {D(906, 1), D(954, 2), I(962, 0), D(966, 1.0)}},
    {"caps and tape before 21.00", V(20, 9), Image::Record, {D(976, 1), D(984, 2)}, {D(976, 0), D(984, 0)}},
    {"caps before 19.00", V(18, 9), Image::Record, {H(974, 0)}, {H(974, 0x0101)}},
    {"surveyor and wall points before 22.06", V(22, 5), Image::Record,
     {D(24, 1), D(32, 2), D(40, 3), I(992, 4), D(1000, 9)},
     {D(1000, 1), D(1008, 2), D(1016, 3), D(1072, 1), D(1088, 3), I(992, 4)}},
    {"surveyor before 22.02", V(22, 1), Image::Record, {I(992, 4)}, {I(992, 0)}},
    // Worksheets (offsets within the image).
    {"view from 16-bit angles before 10.01", V(10, 0), Image::Sheet, {H(28, 45), H(30, -30), H(1182, 7), D(1712, 5)},
     {D(1696, 45), D(1704, -30), D(1744, 7), D(1712, 0), D(1752, 10.0), I(1780, 50), I(1784, 0)}},
    {"margins before 4.03", V(4, 2), Image::Sheet, {H(32, 15), H(36, 25), H(34, 1), H(38, 1)},
     {H(34, 15), H(38, 25)}},
    {"numbering shifted before 11.03", V(11, 1), Image::Sheet, {H(6, 3), I(1628, 42)}, {H(6, 4), S(1788, "42")}},
    {"projections lose numbering before 12.02", V(12, 1), Image::Sheet, {H(26, 3), H(6, 2), H(8, 1), H(1618, 1), I(1784, 1)},
     {H(6, 0), H(8, 0), H(1618, 0), I(1784, 0)}},
    {"grid steps before 14.02", V(14, 1), Image::Sheet, {H(1204, 25), H(1206, 5)}, {I(2440, 25), I(2444, 5)}},
    {"print sub-sheets before 18.01", V(18, 0), Image::Sheet, {H(1190, 0), H(40, 1)}, {I(2678, 1), I(2690, 0)}},
    {"print area bits before 19.01", V(19, 0), Image::Sheet, {U(1636, 0x80000001), U(2694 + 64, 5)},
     {U(2694, 0x80000001), U(2694 + 64, 0)}},
    {"station mark kinds before 22.05", V(22, 4), Image::Sheet, {H(8, 4)}, {H(8, 2), I(2842, 1), I(2846, 1)}},
    {"filter criterion before 22.07", V(22, 6), Image::Sheet, {I(2690, 3)}, {I(2690, 5)}},
    {"manual sub-sheets before 21.02", V(21, 1), Image::Sheet, {H(1200, 1), I(2826, 0)}, {I(2822, 1), I(2826, 1)}},
    {"protocol switches before 13.06", V(13, 5), Image::Sheet, {S(1810, "alt")},
     {S(1810, "alt"), I(2400, 1), I(2420, 1), I(2424, 0), I(2428, 1), I(2436, 0), I(2646, 1), I(2654, 1)}},
    {"map before 15.00", V(14, 9), Image::Sheet, {I(2448, 1), S(2452, "karte.bmp"), D(2582, 3)},
     {I(2448, 0), S(2452, ""), D(2582, 0), I(2630, 1), I(2638, 1), I(2670, 1)}},
};
// clang-format on

TEST(DocumentConversion, ReadsConvertedValues) {
  for (const ConversionCase& c : kCases) {
    SCOPED_TRACE(c.name);
    // Files before 4.01 have the old header and no settings block.
    TestFile file = c.version < V(4, 1) ? TestFile::OldHeader(c.version, 2850, 1446, 1) : TestFile(c.version, 1, 1);
    for (const Slot& s : c.written) Poke(file, c.image, s);
    const SurveyStore store = Import(file);
    for (const Slot& s : c.expected) Check(store, c.image, s);
  }
}

TEST(DocumentConversionOldHeader, FirstWorksheetCarriesTitlesFontsAndRecordsRunToTheEnd) {
  TestFile file = TestFile::OldHeader(FormatVersion(3, 1), 1600, 378, 3);
  file.SheetText(0, 156, "Alte H\xF6hle").SheetText(0, 412, "Plan 1970").SheetText(0, 1532, "Blatt");
  file.Sheet<int16_t>(0, 1289, -17).Sheet<int16_t>(0, 1289 + 8, 700).SheetText(0, 1289 + 18, "Times");
  file.Sheet<uint32_t>(0, 1490 + 4, 0x00FF00);
  file.Sheet<double>(0, 1506, 100.0);
  for (int i = 0; i < 3; ++i) {
    file.Record<int32_t>(i, 128, i).Record<int32_t>(i, 140, i + 1).Record<double>(i, 112, 2.5);
    file.Record<int32_t>(i, 144, 4).Record<int32_t>(i, 252, 3);
  }
  const SurveyStore store = Import(file);
  EXPECT_EQ(base::TextOf(store.settings.title), "Alte H\xF6hle");
  EXPECT_EQ(base::TextOf(store.settings.title2), "Plan 1970");
  EXPECT_EQ(store.worksheets.at(0)->sheetDesignation(), "<Blattbezeichnung>");
  EXPECT_EQ(store.worksheets[0]->title(), "");  // the worksheet's own titles go with 4.05
  EXPECT_EQ(store.worksheets[0]->originX(), -100.0);
  const FontSetting& font = store.settings.fonts[0];
  EXPECT_EQ(std::tuple(font.height, font.weight, base::TextOf(font.faceName)), std::tuple(-17, 700, "Times"));
  EXPECT_EQ(store.settings.fontColours[1], 0x00FF00u);
  ASSERT_EQ(store.records.size(), 3u);
  EXPECT_EQ(store.settings.recordCount, 3u);
  const SurveyRecord& third = *store.records[2];  // its direction lies beyond the old record: zero
  EXPECT_EQ(std::tuple(base::TextOf(third.point), base::TextOf(third.refPoint), third.length, third.colour, third.level,
                       third.direction, third.drawFlags[0]),
            std::tuple("3", "2", 2.5, 4, 3, 0.0, uint8_t{1}));
  EXPECT_TRUE(store.legacyConversion);
  EXPECT_EQ(store.settings.computedCurrent, 0);
}

// Bytes that no setting claims are kept as read and never feed a setting:
// each is set on its own in a worksheet that every conversion applies to,
// and every named setting must come out as without it.
TEST(DocumentConversionSheet, UnclaimedBytesNeverFeedASetting) {
  std::vector<bool> claimed(kWorksheetImageSize, false);
  for (const WorksheetFieldInfo& field : WorksheetFieldTable())
    for (size_t b = field.offset; b < field.offset + field.size; ++b) claimed.at(b) = true;
  DocumentSettings settings;
  const auto convert = [&](size_t poked) {
    Worksheet ws;
    for (size_t b = 0; b < kWorksheetImageSize; ++b) ws.image[b] = static_cast<uint8_t>(b * 7 + 1);
    if (poked < kWorksheetImageSize) ws.image[poked] ^= 0xFF;
    ConvertWorksheet(ws, V(1, 0), false, settings);
    return ws.image;
  };
  const Worksheet::Image plain = convert(kWorksheetImageSize);
  for (size_t poked = 0; poked < kWorksheetImageSize; ++poked) {
    if (claimed[poked]) continue;
    const Worksheet::Image converted = convert(poked);
    EXPECT_EQ(converted[poked], static_cast<uint8_t>((poked * 7 + 1) ^ 0xFF)) << "byte " << poked << " not kept";
    for (size_t b = 0; b < kWorksheetImageSize; ++b)
      if (claimed[b] && converted[b] != plain[b]) ADD_FAILURE() << "byte " << poked << " changes byte " << b;
  }
}

TEST(DocumentConversionOldHeader, LegacyFlagOnlyBelow703) {
  EXPECT_TRUE(Import(TestFile(FormatVersion(7, 2), 1, 1)).legacyConversion);
  EXPECT_FALSE(Import(TestFile(FormatVersion(7, 3), 1, 1)).legacyConversion);
}

}  // namespace
}  // namespace hp::doc
