// Every writer over damaged documents: control characters in the texts come
// out as blanks, numbers the file cannot take refuse the export by record and
// leave no file behind.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

#include "export/ExportFile.h"
#include "export/ExportTestSupport.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"
#include "platform/Prompter.h"
#include "support/TempFolder.h"

namespace hp::exports {
namespace {

namespace fs = std::filesystem;

// Each writer, and what its file shows of the station "A\rB", its description
// "Por\ttal\r\nX" (the label) or its remark "Be\x01merk\x81" once the control
// characters are blanks (null: the format writes none of them).
struct Format {
  const char* name;
  const char* extension;
  int dxfFormat;
  const char* shown;
};
// clang-format off
constexpr Format kFormats[] = {
    {"table", "txt", 0, "\tA B\t"},          {"kml", "kml", 0, "1/1/A B"},
    {"gpx", "gpx", 0, "<name>Por tal  X</name>"}, {"overlay", "ovl", 0, nullptr},
    {"visualtopo", "tro", 0, "1_A B     "},   {"viewer", "hvw", 0, "\"Por tal  X\""},
    {"vrml", "wrl", 0, nullptr},              {"survex", "svx", 0, "; Be merk \r\n"},
    {"dxf", "dxf", 0, "\nPor tal  X\r"},      {"dxf-cave", "dxf", 1, "\nA B\r"},
};
// clang-format on

// A fixed station in UTM zone 32 and two legs on from it.
doc::SurveyStore Survey() {
  doc::SurveyStore store = test::EmptyStore();
  test::AddRecords(store, R"(0 0 @ 487215 5352810 712  487215 5352810 712
                             0 1 @ 487215 5352810 711  487218 5352807 710 length=4.4
                             1 2 @ 487218 5352807 711  487221 5352804 710 length=4.4)");
  for (auto& r : store.records)
    if (r->length > 0) r->left = r->right = r->up = r->down = 1;
  return store;
}

class WrittenValues : public ::testing::Test {
 protected:
  // Exports in `format` to `name` in the folder; the prompter's texts tell why not.
  bool Export(const Format& format, const std::string& name, const DrawnView& view = {}) {
    platform::MemorySettingsStore settings;
    settings.SetInt("Settings", "DXFFormat", format.dxfFormat);
    for (const char* every : {"GPXSelect", "GEPoint", "GEPointNumber"}) settings.SetInt("Settings", every, 1);
    const ExportContext context{store, *store.currentWorksheet, settings, view, TableIncludes::Without};
    return ExportFile(folder / name, context, prompter);
  }

  test::TempFolder folder{"hp_written"};
  doc::SurveyStore store = Survey();
  platform::ScriptedPrompter prompter;
};

TEST_F(WrittenValues, ControlCharactersInTextsBecomeBlanksInEveryFormat) {
  doc::SurveyRecord& r = *store.records[1];
  base::SetText(r.point, "A\rB");
  base::SetText(r.description, "Por\ttal\r\nX");
  base::SetText(r.remark, "Be\x01merk\x81");
  base::SetText(store.records[2]->refPoint, "A\rB");
  for (const Format& format : kFormats) {
    const std::string name = std::string(format.name) + "." + format.extension;
    ASSERT_TRUE(Export(format, name)) << format.name;
    const std::string file = test::ReadFile(folder / name);
    if (format.shown) {
      EXPECT_NE(file.find(format.shown), std::string::npos) << format.name;
    }
    // Line ends are CR LF pairs; tabs separate the table's 34 columns and
    // lead the VRML viewpoint's description; no other control character.
    size_t tabs = 0, lines = 0;
    for (size_t i = 0; i < file.size(); ++i) {
      const auto c = static_cast<unsigned char>(file[i]);
      const bool pairedLineEnd = (c == '\r' && file[i + 1] == '\n') || (c == '\n' && i > 0 && file[i - 1] == '\r');
      lines += c == '\n';
      tabs += c == '\t';
      if ((c < 0x20 && c != '\t' && !pairedLineEnd) || c == 0x7F || c == 0x81)
        ADD_FAILURE() << format.name << ": control character " << int{c} << " at " << i;
    }
    const std::string_view extension = format.extension;
    EXPECT_EQ(tabs, extension == "txt" ? 33 * lines : extension == "wrl" ? 1 : 0) << format.name;
  }
}

TEST_F(WrittenValues, NumbersAFileCannotTakeRefuseTheExportByRecord) {
  const std::string kNotExported = "\nDer Export wurde nicht durchgeführt.";
  const std::string kRecord3 =
      "Datensatz 3 (1/1/2) enthält eine Zahl, die keine endliche Zahl ist oder außerhalb von ±100.000.000 liegt.";
  const std::string kAll = "table kml gpx overlay visualtopo viewer vrml survex dxf dxf-cave";
  const struct {
    const char* damage;
    std::function<void(doc::SurveyStore&)> apply;
    std::string refusing;  // the formats that refuse, by name
    std::string message;
    double heightOffset = 0;  // of the drawing, for height labels
  } cases[] = {
      {"NaN station", [](doc::SurveyStore& s) { s.records[2]->x = std::nan(""); }, kAll, kRecord3 + kNotExported},
      {"1e9 station", [](doc::SurveyStore& s) { s.records[2]->y = 1e9; }, kAll, kRecord3 + kNotExported},
      {"-1e9 start", [](doc::SurveyStore& s) { s.records[2]->refZ = -1e9; }, kAll, kRecord3 + kNotExported},
      {"infinite passage height",
       [](doc::SurveyStore& s) { s.records[2]->up = -std::numeric_limits<double>::infinity(); },
       "table vrml survex dxf dxf-cave", kRecord3 + kNotExported},
      {"zone 0", [](doc::SurveyStore& s) { s.settings.utmZone = 0; }, "kml gpx overlay survex",
       "Datensatz 1 (1/1/0) ergibt in der UTM-Zone 0 keine Position auf der Erde." + kNotExported},
      {"zone 61", [](doc::SurveyStore& s) { s.settings.utmZone = 61; }, "kml gpx overlay survex",
       "Datensatz 1 (1/1/0) ergibt in der UTM-Zone 61 keine Position auf der Erde." + kNotExported},
      // Written while the file is written: the file goes again.
      {"NaN meridian convergence", [](doc::SurveyStore& s) { s.settings.meridianConvergence = std::nan(""); },
       "viewer survex", std::string(messages::kUnwritableSetting)},
      {"height labels of a NaN reference height",
       [](doc::SurveyStore& s) {
         s.currentWorksheet->setStationNumbering(5);
         s.currentWorksheet->setDescriptionOverridesNumbering(0);
       },
       "kml gpx viewer dxf", std::string(messages::kUnwritableSetting), std::nan("")},
  };
  for (const auto& c : cases) {
    store = Survey();
    c.apply(store);
    DrawnView view;
    view.heightOffset = c.heightOffset;
    for (const Format& format : kFormats) {
      SCOPED_TRACE(std::string(c.damage) + " in " + format.name);
      const bool refused = (" " + c.refusing + " ").find(" " + std::string(format.name) + " ") != std::string::npos;
      prompter = platform::ScriptedPrompter();
      const std::string fresh = std::string("fresh.") + format.extension;
      const std::string older = std::string("older.") + format.extension;
      { std::ofstream(folder / older) << "older"; }
      const bool written = Export(format, fresh, view);
      EXPECT_EQ(Export(format, older, view), written);
      if (!refused) {
        EXPECT_TRUE(written);
        const std::string file = test::ReadFile(folder / fresh);
        for (const char* bad : {"nan", "inf", "NAN", "INF"}) EXPECT_EQ(file.find(bad), std::string::npos) << bad;
        EXPECT_EQ(file.find('\0'), std::string::npos);
      } else {
        EXPECT_FALSE(written);
        EXPECT_FALSE(fs::exists(folder / fresh));
        EXPECT_EQ(test::ReadFile(folder / older), "older");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
        ASSERT_EQ(prompter.Texts().size(), 2u);
        EXPECT_EQ(prompter.Texts()[0], c.message);
      }
      fs::remove_all(folder.path());
      fs::create_directories(folder.path());
    }
  }
}

TEST_F(WrittenValues, VisualTopoWithoutANamedLegIsRefused) {
  for (const auto& hide : std::initializer_list<std::function<void(doc::SurveyRecord&)>>{
           [](doc::SurveyRecord& r) { base::SetText(r.point, ""); }, [](doc::SurveyRecord& r) { r.colour = 0; }}) {
    store = Survey();
    for (auto& record : store.records) hide(*record);
    prompter = platform::ScriptedPrompter();
    EXPECT_FALSE(Export(kFormats[4], "none.tro"));
    EXPECT_FALSE(fs::exists(folder / "none.tro"));
    ASSERT_EQ(prompter.Texts().size(), 1u);
    EXPECT_EQ(prompter.Texts()[0], messages::kVisualTopoNoLeg);
  }
}

TEST(ViewerData, LabelAngleIsHeldToTheDialogsChoices) {
  const struct {
    int index;
    const char* rotate;
  } cases[] = {{3, "\r\nrotate 45\r\n"},
               {6, "\r\nrotate 90\r\n"},
               {INT_MAX, "\r\nrotate 90\r\n"},
               {INT_MIN, "\r\nrotate 0\r\n"},
               {-1, "\r\nrotate 0\r\n"}};
  doc::SurveyStore store = test::EmptyStore();
  platform::MemorySettingsStore settings;
  for (const auto& c : cases) {
    store.currentWorksheet->setLabelAngleIndex(c.index);
    ViewerDataWriter writer;
    EXPECT_NE(test::Written(writer, store, settings).find(c.rotate), std::string::npos) << c.index;
  }
}

}  // namespace
}  // namespace hp::exports
