// hollowplan-cli import: table and PocketTopo text and documents into a new
// document or a copy of one.
#include <sys/stat.h>
#include <unistd.h>

#include "cli/CliFixture.h"
#include "support/TestFile.h"

namespace hp::cli {
namespace {

using CliImport = CliDocuments;

const std::string kTable = "Punkt\tL\xE4nge\tAzimut\tNeigung\n1\t5,2\t120\t-10\n\n2\t3\t90\t0\n";

// Into a new document the table replaces its default record; into a copy of
// a document it replaces or appends to the records.
TEST_F(CliImport, TableIntoANewDocumentOrACopyOfOne) {
  Put(Path("zug.txt"), kTable);
  const Result result = Run({"import", Path("zug.txt"), "-o", Path("a.hpn")});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(InfoHas(Path("a.hpn"), "records: 3\n"));  // the two legs and the reference the pass put first
  EXPECT_TRUE(InfoHas(Path("a.hpn"), "computed: 1\n"));
  const std::string before = Bytes(Path("a.hpn"));
  ASSERT_EQ(Run({"import", Path("zug.txt"), "-o", Path("b.hpn"), "--into", Path("a.hpn"), "--append"}).status, 0);
  EXPECT_TRUE(InfoHas(Path("b.hpn"), "records: 5\n"));
  ASSERT_EQ(Run({"import", Path("zug.txt"), "-o", Path("c.hpn"), "--into", Path("a.hpn")}).status, 0);
  EXPECT_TRUE(InfoHas(Path("c.hpn"), "records: 3\n"));
  EXPECT_EQ(Bytes(Path("a.hpn")), before);
}

// Each kind of refused file and its message is checked with the text import;
// here the command's exit and that nothing is written.
TEST_F(CliImport, RefusedFilesWriteNothing) {
  Put(Path("kein.hpn"), "kein Dokument");
  ASSERT_EQ(::mkfifo(Path("rohr.txt").c_str(), 0600), 0);
  ::alarm(30);  // a reader blocked on the FIFO ends the test program
  const std::pair<std::string, std::string> cases[] = {
      {Path("rohr.txt"), Path("rohr.txt") + "\nDiese Datei kann nicht geöffnet werden.\n\n"},
      {Path("fehlt.txt"), Path("fehlt.txt") + "\nDiese Datei kann nicht geöffnet werden.\n\n"},
      {Path("kein.hpn"), "Diese Datei hat kein gültiges Dateiformat.\nDer Datenimport wurde nicht durchgeführt.\n\n"},
  };
  for (const auto& [input, message] : cases) {
    const Result result = Run({"import", input, "-o", Path("out.hpn")});
    EXPECT_EQ(result.status, 1) << input;
    EXPECT_EQ(result.err, message);
    EXPECT_FALSE(fs::exists(Path("out.hpn")));
  }
  ::alarm(0);
}

TEST_F(CliImport, DocumentImportRefusedByItsVersionLeavesTheTarget) {
  test::TestFile(0x00070900, 1, 1).WriteTo(Path("alt.hpn"));
  const Result result = Run({"import", Path("alt.hpn"), "-o", Path("out.hpn"), "--hpn-mode", "2"});
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(
      result.err.starts_with("Die Importart kann nur mit einer neueren Dokumentversion durchgeführt werden.\n\n"));
  EXPECT_TRUE(InfoHas(Path("out.hpn"), "records: 1\n"));
}

// A faulty leg inside two loops: each loop's closure restarts the pass at the
// loop's start, and the leg's message is still given once.
TEST_F(CliImport, AFaultyLegInsideLoopsIsReportedOnce) {
  Put(Path("ringe.txt"),
      "RPunkt\tPunkt\tL\xE4nge\tAzimut\tNeigung\tRing\n0\t0\t\t\t\t\n0\t1\t10\t20\t5\t1\n7\t9\t10\t5\t3\t\n"
      "1\t2\t10\t100\t3\t\n2\t0\t11\t210\t0\t1\n0\t3\t10\t20\t5\t2\n3\t4\t10\t100\t3\t\n4\t0\t11\t210\t0\t2\n");
  const Result result = Run({"import", Path("ringe.txt"), "-o", Path("ringe.hpn")});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            "Fehler beim Berechnen von Datensatz 3.\nReferenzpunkt 0/0/7 nicht definiert.\nDatensatz laden?\n\n");
}

// The include file lies beside the table, not beside the written document.
TEST_F(CliImport, MissingIncludeFileIsNamedAndFailsUnlessAnsweredYes) {
  fs::create_directories(Path("teile"));
  Put(Path("teile/zug.txt"), "Punkt\tL\xE4nge\tAzimut\tInclude-Datei\n1\t5,2\t120\tteil.hpn\n");
  ASSERT_EQ(Run({"new", "-o", Path("teile/teil.hpn")}).status, 0);
  const std::string message =
      "Die Include-Datei wurde nicht gefunden:\n" + Path("teil.hpn") + "\nIhre Datensätze fehlen im Dokument.\n\n";
  const Result refused = Run({"import", Path("teile/zug.txt"), "-o", Path("neu.hpn")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(Path("neu.hpn")));
  const Result accepted = Run({"import", Path("teile/zug.txt"), "-o", Path("neu.hpn"), "--answer", "yes"});
  EXPECT_EQ(accepted.status, 0);
  EXPECT_NE(accepted.err.find(message), std::string::npos);
  EXPECT_TRUE(InfoHas(Path("neu.hpn"), "records: 2\n"));  // the leg and the reference the pass put first
  const Result found = Run({"import", Path("teile/zug.txt"), "-o", Path("teile/mit.hpn")});
  EXPECT_EQ(found.status, 0);
  EXPECT_EQ(found.err.find("Include-Datei"), std::string::npos);
}

// A table that gives no record fails with one message and writes nothing,
// also when it was to replace a document's records (what each message says
// is checked with the text import); a spreadsheet's semicolon table with
// known columns is imported.
TEST_F(CliImport, TablesWithoutRecordsFail) {
  Put(Path("zug.txt"), kTable);
  ASSERT_EQ(Run({"import", Path("zug.txt"), "-o", Path("a.hpn")}).status, 0);
  const std::pair<const char*, std::string> tables[] = {
      {"semikolon.txt", "Messpunkt;Distanz\n1;5\n"},
      {"abgelehnt.txt", "Punkt\tL\xE4nge\n1\tinf\n"},
  };
  for (const auto& [name, bytes] : tables) {
    Put(Path(name), bytes);
    const Result result = Run({"import", Path(name), "-o", Path("out.hpn"), "--into", Path("a.hpn")});
    EXPECT_EQ(result.status, 1) << name;
    EXPECT_TRUE(result.err.starts_with(Path(name) + "\n")) << result.err;
    EXPECT_EQ(result.err.find("\n\n"), result.err.size() - 2) << result.err;  // one message
    EXPECT_FALSE(fs::exists(Path("out.hpn")));
  }
  Put(Path("excel.txt"), "Punkt;L\xE4nge;Azimut\r\n1;5,2;120\r\n2;3;90\r\n");
  const Result csv = Run({"import", Path("excel.txt"), "-o", Path("out.hpn"), "--into", Path("a.hpn")});
  EXPECT_EQ(csv.status, 0);
  EXPECT_EQ(csv.err, "");
  EXPECT_TRUE(InfoHas(Path("out.hpn"), "records: 3\n"));
}

// "Вход" and "Зала" both become "????": written only when answered yes.
TEST_F(CliImport, StationNamesMadeEqualNeedYes) {
  Put(Path("namen.txt"),
      "Punkt\tL\xC3\xA4nge\n\xD0\x92\xD1\x85\xD0\xBE\xD0\xB4\t5\n\xD0\x97\xD0\xB0\xD0\xBB\xD0\xB0\t3\n");
  const Result refused = Run({"import", Path("namen.txt"), "-o", Path("out.hpn")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("\"Вход\" und \"Зала\" werden beide zu \"????\""), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(Path("out.hpn")));
  EXPECT_EQ(Run({"import", Path("namen.txt"), "-o", Path("out.hpn"), "--answer", "yes"}).status, 0);
  EXPECT_TRUE(InfoHas(Path("out.hpn"), "records: 3\n"));
}

}  // namespace
}  // namespace hp::cli
