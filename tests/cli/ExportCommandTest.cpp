// hollowplan-cli export: the display type and settings given on the command
// line, a refusal's exit and message, the include mode and the files left
// behind. Which writer each extension takes and when a format refuses a
// display type is checked with the export itself.
#include "cli/CliFixture.h"
#include "doc/DocumentFile.h"

namespace hp::cli {
namespace {

class CliExport : public CliDocuments {
 protected:
  // A survey of three legs; the last was read from an include file.
  std::string Cave() {
    doc::SurveyStore store = Survey({{"S", "S", 0, 0}, {"S", "1", 20, 90}, {"1", "2", 10, 0}});
    store.records[2]->fromInclude = 1;
    return Save(std::move(store), "cave.hpn");
  }
  static size_t Count(const std::string& text, const std::string& piece) {
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
  }
};

TEST_F(CliExport, FormatsAndRefusals) {
  const std::string cave = Cave();
  const struct {
    const char* name;
    std::vector<std::string> options;
    int status;
    const char* message;  // start of stderr; empty: nothing
  } cases[] = {
      {"out.gpx", {"--set", "GPXSelect=1"}, 0, ""},
      {"out.DXF", {"--display-type", "7"}, 0, ""},
      {"out.dxf", {"--display-type", "3"}, 1, "In diesem Format können nur die Darstellungen Grundriss"},
      {"out.dxf", {"--set", "DXFFormat=1"}, 0, ""},
      {"out.hpn", {"--display-type", "6"}, 0, ""},
      {"out.bmp", {"--display-type", "4"}, 0, ""},
      {"out.wrl", {}, 1, "In diesem Format kann nur die Darstellung Animation exportiert werden.\n\n"},
      {"out.wrl", {"--display-type", "5"}, 0, ""},
      {"out.bmp", {"--display-type", "6"}, 1, "Das Vermessungsprotokoll kann nicht in diesem Format"},
      {"out.xyz", {}, 1, "PATH\nDiese Datei hat keine gültige Dateierweiterung.\n\n"},
      {"out.txt", {"--include-mode", "2"}, 2, "hollowplan-cli: --include-mode nimmt 0 oder 1"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"export", cave, Path(c.name)};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Result result = Run(args);
    EXPECT_EQ(result.status, c.status) << c.name << " " << result.err;
    std::string message = c.message;
    if (const size_t at = message.find("PATH"); at != std::string::npos) message.replace(at, 4, Path(c.name));
    EXPECT_EQ(result.err.substr(0, message.size()), message) << c.name;
    EXPECT_EQ(fs::exists(Path(c.name)), c.status == 0) << c.name;
    fs::remove(Path(c.name));
  }
  EXPECT_EQ(Entries(), std::set<std::string>{"cave.hpn"});
}

TEST_F(CliExport, IncludeModeOfTheTable) {
  const std::string cave = Cave();
  const struct {
    std::vector<std::string> options;
    size_t lines;
  } cases[] = {{{}, 3},
               {{"--include-mode", "1"}, 4},
               {{"--set", "ExportTAB=1"}, 4},
               {{"--set", "ExportTAB=1", "--include-mode", "0"}, 3}};
  for (const auto& c : cases) {
    std::vector<std::string> args{"export", cave, Path("t.txt")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ASSERT_EQ(Run(args).status, 0);
    EXPECT_EQ(Count(Bytes(Path("t.txt")), "\r\n"), c.lines);
  }
}

TEST_F(CliExport, DocumentCopyReadBackEqualsTheSource) {
  doc::SurveyStore store = Survey({{"S", "S", 0, 0}, {"S", "1", 20, 90}, {"1", "2", 10, 0}}, 1, true);
  base::SetText(store.records[1]->includeFile, "teil.hpn");
  store.records[2]->fromInclude = 1;
  ASSERT_TRUE(doc::SaveDocument(Path("cave.hpn"), store));
  ASSERT_EQ(Run({"export", Path("cave.hpn"), Path("copy.hpn")}).status, 0);
  EXPECT_EQ(Bytes(Path("copy.hpn")), Bytes(Path("cave.hpn")));

  // The copy with includes as ordinary records: all three rows, no include name.
  ASSERT_EQ(Run({"export", Path("cave.hpn"), Path("whole.hpn"), "--include-mode", "1"}).status, 0);
  ASSERT_EQ(Run({"export", Path("whole.hpn"), Path("whole.txt")}).status, 0);
  const std::string text = Bytes(Path("whole.txt"));
  EXPECT_EQ(Count(text, "\r\n"), 4u);
  EXPECT_EQ(text.find("teil.hpn"), std::string::npos);
}

}  // namespace
}  // namespace hp::cli
