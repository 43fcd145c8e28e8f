// The export dispatch: the extension rule, a refused extension, and a write
// that leaves either the whole file or the older one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "export/ExportFile.h"
#include "export/ExportTestSupport.h"
#include "export/Writers.h"
#include "platform/Prompter.h"
#include "support/TempFolder.h"

namespace hp::exports {
namespace {

namespace fs = std::filesystem;

TEST(ExportDispatch, ExtensionIsTheLastThreeCharactersLowerCased) {
  const struct {
    const char* path;
    const char* extension;
    bool written;
  } cases[] = {
      {"a/Höhle.TXT", "txt", true}, {"x.KmL", "kml", true},  {"x.gpx", "gpx", true}, {"x.DXF", "dxf", true},
      {"x.dxf2", "xf2", false},     {"x.bmp", "bmp", false}, {"x.ovl", "ovl", true}, {"x.TRO", "tro", true},
      {"x.wrl", "wrl", true},       {"x.hvw", "hvw", true},  {"x.SVX", "svx", true}, {"xtxt", "txt", true},
      {"tx", "tx", false},
  };
  platform::MemorySettingsStore settings;
  for (const auto& c : cases) {
    EXPECT_EQ(ExportExtension(c.path), c.extension) << c.path;
    EXPECT_EQ(WriterFor(ExportExtension(c.path), settings) != nullptr, c.written) << c.path;
  }
  settings.SetInt("Settings", "DXFFormat", 1);
  EXPECT_NE(dynamic_cast<DxfCaveCadWriter*>(WriterFor("dxf", settings).get()), nullptr);
}

class ExportFileTest : public ::testing::Test {
 protected:
  test::TempFolder folder{"hp_export"};
  doc::SurveyStore store = test::EmptyStore();
  platform::MemorySettingsStore settings;
  platform::ScriptedPrompter prompter;
  ExportContext Context() { return {store, *store.currentWorksheet, settings, {}, TableIncludes::Without}; }
};

TEST_F(ExportFileTest, UnknownExtensionLeavesNoFileAndFails) {
  const fs::path path = folder / "survey.xyz";
  EXPECT_FALSE(ExportFile(path, Context(), prompter));
  EXPECT_FALSE(fs::exists(path));
  ASSERT_EQ(prompter.Texts().size(), 1u);
  EXPECT_EQ(prompter.Texts()[0], path.string() + "\nDiese Datei hat keine gültige Dateierweiterung.");
  EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(ExportFileTest, WritesTheFileThroughATemporaryOne) {
  test::AddStation(store, 1, 1, "1", 0, 0, 0);
  const fs::path path = folder / "survey.txt";
  { std::ofstream(path) << "older"; }
  EXPECT_TRUE(ExportFile(path, Context(), prompter));
  EXPECT_TRUE(prompter.Texts().empty());
  const std::string content = test::ReadFile(path);
  EXPECT_EQ(content.substr(0, 3), "RH\xF6");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(ExportFileTest, UnwritableFolderKeepsTheMessageAndFails) {
  const fs::path path = folder / "missing" / "survey.kml";
  EXPECT_FALSE(ExportFile(path, Context(), prompter));
  ASSERT_EQ(prompter.Texts().size(), 1u);
  EXPECT_EQ(prompter.Texts()[0], path.string() + "\nDiese Datei kann nicht geöffnet werden.");
}

// A sink that takes `room` bytes and refuses the rest.
class FullSink final : public base::ByteSink {
 public:
  explicit FullSink(size_t room) : m_room(room) {}
  bool Write(std::span<const uint8_t> bytes) override {
    if (bytes.size() > m_room) return false;
    m_room -= bytes.size();
    return true;
  }

 private:
  size_t m_room;
};

TEST(ExportWalk, ARefusedWriteIsReported) {
  doc::SurveyStore store = test::EmptyStore();
  for (int n = 0; n < 3000; ++n) test::AddStation(store, 1, 1, "P", 0, 0, 0);
  platform::MemorySettingsStore settings;
  const ExportContext context{store, *store.currentWorksheet, settings, {}, TableIncludes::All};
  for (const size_t room : {size_t{0}, size_t{70000}}) {
    TableWriter writer;
    FullSink sink(room);
    EXPECT_EQ(RunWriter(writer, sink, context), WriteStatus::kSinkFailed) << room;
  }
  TableWriter writer;
  FullSink roomy(size_t{1} << 30);
  EXPECT_EQ(RunWriter(writer, roomy, context), WriteStatus::kWritten);
}

}  // namespace
}  // namespace hp::exports
