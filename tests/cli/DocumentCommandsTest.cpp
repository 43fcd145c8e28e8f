// hollowplan-cli new, info and convert, run in-process: exact output, exit
// status, messages on stderr and which files are (not) written.
#include <sys/stat.h>

#include <cstdio>

#include "cli/CliFixture.h"
#include "doc/DocumentFile.h"
#include "support/TestFile.h"

namespace hp::cli {
namespace {

using test::TestFile;

// Offsets in the settings block and the worksheet image of the file.
constexpr size_t kCurrentSheet = 16;
constexpr size_t kTitle = 234;
constexpr size_t kTitle2 = 490;
constexpr size_t kComputed = 750;
constexpr size_t kLoopAdjustment = 1754;
constexpr size_t kCadastreDesignation = 2580;
constexpr size_t kCadastreNumber = 4328;
constexpr size_t kUtmZone = 4352;
constexpr size_t kUtmBand = 4356;
constexpr size_t kSheetDesignation = 1532;

const char* const kDefaultInfo =
    "version: 0x00220800\n"
    "records: 1\n"
    "worksheets: 1\n"
    "current worksheet: 1 <Blattbezeichnung>\n"
    "title: <Titel>\n"
    "title2: \n"
    "cadastre: 0 <Katasterbezeichnung>\n"
    "utm: 32 U\n"
    "computed: 1\n"
    "loop adjustment: 2\n";

const char* const kConvertQuestion =
    "Das Dokument wurde mit einer \xC3\xA4lteren Programmversion erstellt und muss konvertiert werden.\n\n";
const char* const kInvalidFormat = "Diese Datei hat kein g\xC3\xBCltiges Dateiformat.\n\n";
const char* const kOtherBeta =
    "Das Dokument wurde mit einer anderen Betaversion erstellt und kann nicht bearbeitet werden.\n\n";
const char* const kNewer =
    "Das Dokument wurde mit einer neueren Programmversion erstellt und kann nicht bearbeitet werden.\n\n";

// A document as a surveyor would have it: two worksheets (the second
// current), three records, texts in Windows-1252.
TestFile SampleDocument(uint32_t version) {
  TestFile file(version, 2, 3);
  file.Settings<int16_t>(kCurrentSheet, 1)
      .SettingsText(kTitle, "H\xF6hle am Gr\xFCnberg")
      .SettingsText(kTitle2, "Vermessung 2019 \x96 Teil \x80")
      .Settings<uint16_t>(kComputed, 1)
      .Settings<uint16_t>(kLoopAdjustment, 1)
      .SettingsText(kCadastreDesignation,
                    "1836/12 Stra\xDF"
                    "enh\xF6hle")
      .Settings<uint32_t>(kCadastreNumber, 1836)
      .Settings<uint32_t>(kUtmZone, 33)
      .SettingsText(kUtmBand, "T")
      .SheetText(0, kSheetDesignation, "Grundriss")
      .SheetText(1, kSheetDesignation, "L\xE4ngsschnitt")
      .AddPositions(1, 2);
  return file;
}

std::string SampleInfo(const std::string& version, int computed, const std::string& utm = "33 T") {
  return "version: " + version +
         "\n"
         "records: 3\n"
         "worksheets: 2\n"
         "current worksheet: 2 L\xC3\xA4ngsschnitt\n"
         "title: H\xC3\xB6hle am Gr\xC3\xBCnberg\n"
         "title2: Vermessung 2019 \xE2\x80\x93 Teil \xE2\x82\xAC\n"
         "cadastre: 1836 1836/12 Stra\xC3\x9F"
         "enh\xC3\xB6hle\n"
         "utm: " +
         utm +
         "\n"
         "computed: " +
         std::to_string(computed) +
         "\n"
         "loop adjustment: 1\n";
}

TEST_F(CliDocuments, NewWritesTheDefaultDocumentAndConvertKeepsItsBytes) {
  const std::string doc = Path("neu.hpn");
  const Result made = Run({"new", "-o", doc});
  EXPECT_EQ(made.status, kExitOk);
  EXPECT_EQ(made.out + made.err, "");

  // signature, header, block, one worksheet without positions, one record
  const std::string bytes = Bytes(doc);
  EXPECT_EQ(bytes.size(), 4u + 8 + 6740 + 2850 + 1446);
  EXPECT_EQ(bytes.substr(0, 12), std::string("koor\x00\x08\x22\x00\x54\x1A\x00\x00", 12));

  EXPECT_EQ(Run({"info", doc}).out, kDefaultInfo);

  // A current document converts to the same bytes, replacing the output.
  const std::string out = Path("ziel.hpn");
  Put(out, "old contents");
  const Result convert = Run({"convert", doc, "-o", out});
  EXPECT_EQ(convert.status, kExitOk);
  EXPECT_EQ(convert.err, "");
  EXPECT_EQ(Bytes(out), bytes);
  EXPECT_EQ(Entries(), (std::set<std::string>{"neu.hpn", "ziel.hpn"}));
}

// The sample cave shows a real heading, not the placeholders of a new document.
TEST_F(CliDocuments, SampleCaveHasATitleSheetAndCadastreEntry) {
  if (!fs::exists(HP_SAMPLE_DOCUMENT)) GTEST_SKIP() << "sample cave not built";
  const Result info = Run({"info", HP_SAMPLE_DOCUMENT});
  ASSERT_EQ(info.status, kExitOk);
  for (const char* line :
       {"current worksheet: 1 Blatt 1 Grundriss\n",
        "title: Beispielh\xC3\xB6hle bei Steinbach: Windloch und Fuchsloch\n", "cadastre: 1234 Steinbacher Karst\n"})
    EXPECT_NE(info.out.find(line), std::string::npos) << line << info.out;
}

// An index no worksheet has falls back to the first; the zone letter is one Windows-1252 byte.
TEST_F(CliDocuments, InfoShowsCurrentWorksheetAndZoneLetter) {
  // clang-format off
  const struct { int16_t sheet; std::string band; const char* utmLine; } cases[] = {
      {2, std::string("c\0", 2), "utm: 33 c\n"}, {-1, std::string("\0\0", 2), "utm: 33 \n"},
      {0, "TX", "utm: 33 T\n"}, {0, std::string("\xC4\0", 2), "utm: 33 \xC3\x84\n"}};
  for (const auto& c : cases) {
    SampleDocument(0x00220800)
        .Settings<int16_t>(kCurrentSheet, c.sheet)
        .Settings<uint8_t>(kUtmBand, static_cast<uint8_t>(c.band[0]))
        .Settings<uint8_t>(kUtmBand + 1, static_cast<uint8_t>(c.band[1]))
        .WriteTo(Path("doc.hpn"));
    EXPECT_TRUE(InfoHas(Path("doc.hpn"), "current worksheet: 1 Grundriss\n")) << c.sheet;
    EXPECT_TRUE(InfoHas(Path("doc.hpn"), c.utmLine)) << c.utmLine;
  }
}

// The conversion question answered "no" still converts; only "cancel" stops.
TEST_F(CliDocuments, AnOlderDocumentIsConvertedUnlessCancelled) {
  const std::string doc = Path("alt.hpn");
  SampleDocument(0x00210000).WriteTo(doc);
  for (const char* answer : {"no", "cancel"}) {
    const Result info = Run({"info", doc, "--answer", answer});
    const bool cancelled = std::string(answer) == "cancel";
    EXPECT_EQ(info.status, cancelled ? kExitFailed : kExitOk) << answer;
    EXPECT_EQ(info.out, cancelled ? "" : SampleInfo("0x00210000", 0)) << answer;
    EXPECT_EQ(info.err, kConvertQuestion) << answer;
  }
  const Result convert = Run({"convert", doc, "-o", Path("neu.hpn"), "--answer", "cancel"});
  EXPECT_EQ(convert.status, kExitFailed);
  EXPECT_EQ(convert.err, kConvertQuestion);
  EXPECT_EQ(Entries(), std::set<std::string>{"alt.hpn"});
}

TEST_F(CliDocuments, ConvertWritesTheCurrentVersionWithTheSameContent) {
  const std::string old = Path("alt.hpn");
  const std::string converted = Path("neu.hpn");
  SampleDocument(0x00210000).WriteTo(old);
  const std::string oldBytes = Bytes(old);

  const Result convert = Run({"convert", old, "-o", converted});
  EXPECT_EQ(convert.status, kExitOk);
  EXPECT_EQ(convert.err, kConvertQuestion);
  EXPECT_EQ(Bytes(old), oldBytes);  // never modified in place

  const Result info = Run({"info", converted});
  EXPECT_EQ(info.out, SampleInfo("0x00220800", 0));
  EXPECT_EQ(info.err, "");  // no second conversion
  // Both positions of the second worksheet are kept.
  EXPECT_EQ(Bytes(converted).size(), 4u + 8 + 6740 + 2 * 2850 + 2 * 52 + 3 * 1446);
}

std::string Prefix(const std::vector<uint8_t>& bytes, size_t size) {
  return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(size, bytes.size())));
}

// Refused by info and convert; an existing output file is kept.
TEST_F(CliDocuments, NotADocumentIsRefusedAndNothingIsWritten) {
  auto oversized = TestFile(0x00220800, 1, 1).Bytes();
  base::StoreLE<uint32_t>(oversized, 8, 6741);
  const std::string files[] = {"", "Messzug;1;2;3\r\n", "KOOR" + std::string(20000, '\0'),
                               Prefix(TestFile(0x00220800, 1, 1).Bytes(), 12),
                               Prefix(TestFile(0x00220800, 0, 1).Bytes(), SIZE_MAX), Prefix(oversized, SIZE_MAX)};
  const std::string in = Path("eingabe.hpn"), out = Path("ausgabe.hpn");
  for (const std::string& bytes : files) {
    Put(in, bytes);
    Put(out, "the surveyor's previous document");
    for (const auto& args : {std::vector<std::string>{"convert", in, "-o", out}, {"info", in}}) {
      const Result result = Run(args);
      EXPECT_EQ(result.status, kExitFailed) << args[0] << " " << bytes.size();
      EXPECT_EQ(result.out, "");
      EXPECT_EQ(result.err, kInvalidFormat);
    }
    EXPECT_EQ(Bytes(out), "the surveyor's previous document");
  }
  EXPECT_EQ(Entries(), (std::set<std::string>{"ausgabe.hpn", "eingabe.hpn"}));
}

TEST_F(CliDocuments, MissingInputFails) {
  const Result info = Run({"info", Path("fehlt.hpn")});
  EXPECT_EQ(info.status, kExitFailed);
  EXPECT_TRUE(info.err.ends_with("\n\n")) << info.err;
  EXPECT_EQ(Run({"convert", Path("fehlt.hpn"), "-o", Path("neu.hpn")}).status, kExitFailed);
  EXPECT_EQ(Run({"info", m_folder.path().string()}).status, kExitFailed);  // a folder is no document either
  EXPECT_TRUE(Entries().empty());
}

// Which versions open, with or without the conversion question, and which are
// refused; "version:" is the word as stored, build byte and test bit included.
TEST_F(CliDocuments, OpensOrRefusesByVersion) {
  const char* const beta = "BetaOpen=1";
  const struct {
    uint32_t version;
    const char* set;
    int status;
    std::string err;
    int computed;
    const char* utm;
  } cases[] = {
      {0x00220811, nullptr, kExitOk, "", 1, "33 T"},
      {0x00220700, nullptr, kExitOk, kConvertQuestion, 1, "33 T"},  // computed results kept from 22.07 on
      {0x01220700, nullptr, kExitFailed, kOtherBeta, 0, ""},
      {0x01220700, beta, kExitOk, kConvertQuestion, 1, "33 T"},
      {0x00220900, beta, kExitFailed, kNewer, 0, ""}};
  const std::string doc = Path("doc.hpn"), out = Path("neu.hpn");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    SampleDocument(c.version).WriteTo(doc);
    std::vector<std::string> args = {"info", doc};
    if (c.set) args.insert(args.end(), {"--set", c.set});
    const Result info = Run(args);
    EXPECT_EQ(info.status, c.status);
    EXPECT_EQ(info.err, c.err);
    char version[16];
    std::snprintf(version, sizeof version, "0x%08X", c.version);
    EXPECT_EQ(info.out, c.status == kExitOk ? SampleInfo(version, c.computed, c.utm) : "");
    args[0] = "convert";
    args.insert(args.end(), {"-o", out});
    EXPECT_EQ(Run(args).status, c.status);
    EXPECT_EQ(fs::exists(out), c.status == kExitOk);
    fs::remove(out);
  }
}

TEST_F(CliDocuments, FailedWriteLeavesNothing) {
  const std::string out = Path("fehlt/neu.hpn");
  const Result made = Run({"new", "-o", out});
  EXPECT_EQ(made.status, kExitFailed);
  EXPECT_EQ(made.err, out + "\nDiese Datei kann nicht geschrieben werden.\n\n");
  EXPECT_TRUE(Entries().empty());
}

// A cut document is read as far as it goes and the reader says how far; every
// command that opens a document then fails and writes nothing, unless the
// question whether to go on is answered yes.
TEST_F(CliDocuments, CutDocumentFailsUnlessAnsweredYes) {
  const std::string in = Path("kurz.hpn"), out = Path("aus.hpn"), kml = Path("aus.kml"), png = Path("aus.png");
  doc::SurveyStore store =
      Survey({{"S", "S", 0, 0}, {"S", "1", 10, 0, 5}, {"1", "2", 10, 90, 5}, {"2", "S", 10, 200, 5}});
  ASSERT_TRUE(doc::SaveDocument(in, store));
  // The third record loses its end, the fourth is missing.
  fs::resize_file(in, fs::file_size(in) - 1446 - 700);
  const std::string told =
      "Die Datei ist unvollst\xC3\xA4ndig: nur 3 von 4 Datens\xC3\xA4tzen konnten gelesen werden.\n"
      "Dem letzten davon fehlt sein Ende; die fehlenden Angaben bleiben leer.\n\n"
      "Mit den gelesenen Daten des unvollst\xC3\xA4ndigen Dokuments weiterarbeiten?\n\n";
  const std::vector<std::string> commands[] = {
      {"info", in},     {"convert", in, "-o", out}, {"compute", in, "-o", out}, {"stations", in},
      {"loops", in},    {"blunders", in},          {"stats", in},              {"protocol", in},
      {"export", in, kml}, {"render", in, png},
  };
  // clang-format on
  for (const auto& command : commands) {
    SCOPED_TRACE(command[0]);
    for (const char* answer : {"no", "cancel"}) {
      std::vector<std::string> args = command;
      args.insert(args.end(), {"--answer", answer});
      const Result refused = Run(args);
      EXPECT_EQ(refused.status, kExitFailed);
      EXPECT_EQ(refused.out, "");
      EXPECT_EQ(refused.err, told);
      EXPECT_EQ(Entries(), std::set<std::string>{"kurz.hpn"});
    }
    std::vector<std::string> args = command;
    args.insert(args.end(), {"--answer", "yes"});
    const Result used = Run(args);
    EXPECT_EQ(used.status, kExitOk) << used.err;
    EXPECT_TRUE(used.err.starts_with(told)) << used.err;
    for (const std::string& written : {out, kml, png}) fs::remove(written);
  }
  // What the message counts is what the document holds.
  EXPECT_TRUE(("\n" + Run({"info", in, "--answer", "yes"}).out).find("\nrecords: 3\n") != std::string::npos);
}

// Input that is no regular file is never read (it would block or never end);
// output onto one is refused with the write message.
TEST_F(CliDocuments, FifoIsRefusedAsInputAndOutput) {
  const std::string fifo = Path("rohr.hpn"), doc = Path("doc.hpn");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(Run({"new", "-o", doc}).status, kExitOk);
  EXPECT_EQ(Run({"info", fifo}).err,
            "Fehler beim \xC3\x96"
            "ffnen des Dokuments.\n\n");
  const Result convert = Run({"convert", doc, "-o", fifo});
  EXPECT_EQ(convert.status, kExitFailed);
  EXPECT_EQ(convert.err, fifo + "\nDiese Datei kann nicht geschrieben werden.\n\n");
  EXPECT_EQ(Entries(), (std::set<std::string>{"doc.hpn", "rohr.hpn"}));
}

// Wrong calls of every command: exit 2, a line naming the fault (and the
// usage where the call as a whole is wrong), nothing on stdout, no file.
TEST_F(CliDocuments, WrongArgumentsPrintUsage) {
  const std::string doc = Path("doc.hpn"), x = Path("x.hpn"), table = Path("zug.txt");
  ASSERT_EQ(Run({"new", "-o", doc}).status, kExitOk);
  Put(table, "Punkt\tL\xE4nge\n1\t5\n");
  using Args = std::vector<std::string>;
  const std::vector<Args> withUsage = {
      {},
      {"frobnicate", doc},
      {"new", doc, "-o", Path("out.hpn")},
      {"new", "-o"},
      {"convert", doc},
      {"info", doc, "--bogus", "1"},
      {"info", doc, "--answer", "maybe"},
      {"info", doc, "--set", "=1"},
      {"compute"},
      {"stations", doc, "-o", x},
      {"import", table},
      {"protocol"},
  };
  const std::vector<Args> others = {
      {"loops", doc, "--no-compute"},
      {"compute", doc, "--compute"},
      {"convert", doc, "-o", x, "--no-compute"},
      {"import", table, "-o", x, "--append"},
      {"import", table, "-o", x, "--hpn-mode", "4"},
      {"render", doc, Path("a.jpg")},
      {"render", doc, Path("p.png"), "--print"},
      {"render", doc, Path("a.png"), "--size", "0x10"},
      {"render", doc, Path("a.png"), "--size", "100"},
      {"render", doc, Path("a.png"), "--size", "100x99999"},
      {"render", doc, Path("a.png"), "--date", "31.02.2026"},
      {"render", doc, Path("a.png"), "--display-type", "9"},
      {"render", doc},
      {"blunders", doc, "--top", "x"},
      {"blunders", doc, "--top", "-1"},
      {"blunders", doc, "--sigma-length", "0"},
      {"blunders", doc, "--sigma-angle", "abc"},
      {"blunders", doc, "--scale", "2"},
      {"blunders"},
      {"stats", doc, "--display-type", "8"},
      {"stats", doc, "--worksheet", "2"},
  };
  for (const auto* list : {&withUsage, &others}) {
    for (const Args& args : *list) {
      SCOPED_TRACE(testing::PrintToString(args));
      const Result result = Run(args);
      EXPECT_EQ(result.status, kExitUsage);
      EXPECT_EQ(result.out, "");
      EXPECT_TRUE(result.err.starts_with("hollowplan-cli: ")) << result.err;
      if (list == &withUsage) {
        EXPECT_NE(result.err.find("Aufruf: hollowplan-cli"), std::string::npos) << result.err;
      }
    }
  }
  EXPECT_EQ(Entries(), (std::set<std::string>{"doc.hpn", "zug.txt"}));
}

TEST_F(CliDocuments, HelpAndVersionOnStdoutWithSuccess) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--help"}, "Aufruf: hollowplan-cli BEFEHL"},
      {{"-h"}, "Aufruf: hollowplan-cli BEFEHL"},
      {{"--version"}, "hollowplan-cli 22."},
  };
  for (const auto& [args, start] : cases) {
    const Result result = Run(args);
    EXPECT_EQ(result.status, kExitOk) << args[0];
    EXPECT_TRUE(result.out.starts_with(start)) << result.out;
    EXPECT_EQ(result.err, "");
  }
}

}  // namespace
}  // namespace hp::cli
