// hollowplan-cli compute, stations, loops and convert --compute: the
// computation from the shell, with exact output.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>

#include "cli/CliFixture.h"
#include "cli/OutputBuffer.h"

namespace hp::cli {
namespace {

// The four-leg loop around a square of side 10 from the reference S, closing
// 0.3 m east of its start.
const std::vector<Leg> kLoop = {
    {"S", "S", 0, 0}, {"S", "1", 10, 0, 5}, {"1", "2", 10, 90, 5}, {"2", "3", 10, 180, 5}, {"3", "S", 10.3, 270, 5}};

using CliCompute = CliDocuments;

// compute and convert --compute write the computed document; convert alone
// does not compute.
TEST_F(CliCompute, ComputeReportsAndWritesTheComputedDocument) {
  const std::string in = Save(Survey({{"S", "1", 10, 0}, {"1", "2", 10, 90}}));
  const std::string before = Bytes(in);
  const Result result = Run({"compute", in, "-o", Path("out.hpn")});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "computed: 1\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(Bytes(in), before);
  EXPECT_TRUE(InfoHas(Path("out.hpn"), "records: 3\n"));  // head reference added
  ASSERT_EQ(Run({"convert", in, "-o", Path("plain.hpn")}).status, 0);
  ASSERT_EQ(Run({"convert", in, "-o", Path("computed.hpn"), "--compute"}).status, 0);
  EXPECT_TRUE(InfoHas(Path("plain.hpn"), "records: 2\n") && InfoHas(Path("plain.hpn"), "computed: 0\n"));
  EXPECT_EQ(Bytes(Path("computed.hpn")), Bytes(Path("out.hpn")));
}

// Any answer that stops compute is no failure; loops fails when the first
// computation shows a message.
TEST_F(CliCompute, AnswerStoppingThePassIsNoFailure) {
  const std::string in = Save(Survey({{"S", "1", 10, 0}, {"X", "2", 5, 90}}));
  const std::string message =
      "Fehler beim Berechnen von Datensatz 3.\nReferenzpunkt 1/1/X nicht definiert.\nDatensatz laden?\n\n";
  for (const char* answer : {"no", "yes", "cancel"}) {
    SCOPED_TRACE(answer);
    const Result result = Run({"compute", in, "--answer", answer});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "computed: 0\n");
    EXPECT_EQ(result.err, message);
  }
  const Result loops = Run({"loops", in});
  EXPECT_EQ(loops.status, 1);
  EXPECT_EQ(loops.out, "");
  EXPECT_EQ(loops.err, message);
}

TEST_F(CliCompute, StationsListsEveryRecordAfterThePass) {
  const std::string in = Save(Survey({{"S", "1", 10, 90}, {"1", "2", 5, 180}, {"1", "", 2, 0}}));
  const Result result = Run({"stations", in});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  // The azimuth 180 leaves a tiny negative east offset that prints as zero.
  EXPECT_EQ(
      result.out,
      "Satz\tTyp\tReferenz\tMesspunkt\tRefX\tRefY\tRefZ\tX\tY\tZ\tWeg\tSecDist\tSecHeight\n"
      "1\tKoordinatenreferenz\t1/1/S\t1/1/S\t0.0000\t0.0000\t0.0000\t0.0000\t0.0000\t0.0000\t0.0000\t0.0000\t0.0000\n"
      "2\tMesszug\t1/1/S\t1/1/1\t0.0000\t0.0000\t0.0000\t10.0000\t0.0000\t0.0000\t10.0000\t10.0000\t0.0000\n"
      "3\tMesszug\t1/1/1\t1/1/2\t10.0000\t0.0000\t0.0000\t10.0000\t-5.0000\t0.0000\t15.0000\t15.0000\t0.0000\n"
      "4\tHilfslinie\t1/1/1\t1/1/\t10.0000\t0.0000\t0.0000\t10.0000\t2.0000\t0.0000\t12.0000\t12.0000\t0.0000\n");
}

TEST_F(CliCompute, StationsWithoutComputingShowsTheStoredValues) {
  doc::SurveyStore store = Survey({{"S", "1", 10, 90}});
  store.records[0]->x = -0.00001;
  store.records[0]->pathLength = 12.345678;
  const Result result = Run({"stations", Save(std::move(store)), "--no-compute"});
  EXPECT_EQ(result.out,
            "Satz\tTyp\tReferenz\tMesspunkt\tRefX\tRefY\tRefZ\tX\tY\tZ\tWeg\tSecDist\tSecHeight\n"
            "1\tMesszug\t1/1/S\t1/1/1\t0.0000\t0.0000\t0.0000\t0.0000\t0.0000\t0.0000\t12.3457\t0.0000\t0.0000\n");
}

TEST_F(CliCompute, LoopsListsTheMisclosures) {
  const std::string heading = "Ring\tRingschluss\tMesszüge\tLänge\tFehler\tDelta\tDelta X\tDelta Y\tDelta Z\tArt\n";
  const Result adjusted = Run({"loops", Save(Survey(kLoop, 1))});
  EXPECT_EQ(adjusted.status, 0);
  EXPECT_EQ(adjusted.out, heading + " 5\t1/1/3 - 1/1/S\t4\t40,30\t0,74%\t0,30\t0,30\t0,00\t0,00\t0\n");
  const Result reported = Run({"loops", Save(Survey(kLoop, 0), "zero.hpn")});
  EXPECT_EQ(reported.out, heading + " 5\t1/1/3 - 1/1/S\t0\t0,00\t0,00%\t0,30\t0,30\t0,00\t0,00\t2\n");
  const Result none = Run({"loops", Save(Survey({{"S", "1", 10, 90}}), "none.hpn")});
  EXPECT_EQ(none.out, heading);
}

TEST_F(CliCompute, StatsPrintsTheEvaluationOfTheView) {
  doc::SurveyStore store = Survey({{"S", "S", 0, 0}, {"S", "1", 10, 90}, {"1", "2", 5, 0}});
  store.records[2]->colour = 0;  // hidden from the visible set only
  const std::string in = Save(std::move(store));
  const Result result = Run({"stats", in});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "Anzahl der Messzüge\t1\t2\n"
            "Gesamtlänge\t10,00\t15,00\n"
            "Gesamttiefe\t0,00\t0,00\n"
            "Horizontale Länge\t10,00\t15,00\n"
            "Horizontale Ausdehnung\t10,00\t11,18\n"
            "Höchster Messpunkt\t0,00\t0,00\n"
            "Tiefster Messpunkt\t0,00\t0,00\n"
            "Längster Weg zum Ursprung\t10,00\t15,00\n");
  // A filter that shows no cave 1 leg leaves the visible column empty.
  const Result filtered = Run({"stats", in, "--filter", "1:2"});
  EXPECT_EQ(filtered.out.substr(0, filtered.out.find('\n')), "Anzahl der Messzüge\t0\t2");
}

// Standard output as the program writes it: through the output buffer onto
// a file descriptor.
Result RunOnto(int fd, const std::vector<std::string>& args) {
  std::ostringstream err;
  OutputBuffer buffer(fd);
  std::ostream out(&buffer);
  const int status = RunCommand(args, out, err);
  return {status, "", err.str()};
}

// Output cut short by a full disk fails the command with the reason; output
// to a reader that quit early is no failure.
TEST_F(CliCompute, OutputThatCannotBeWrittenFails) {
  const std::string in = Save(Survey(kLoop));
  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  ::close(pipeEnds[0]);
  const auto previous = std::signal(SIGPIPE, SIG_IGN);  // as the program's main does
  for (const char* command : {"info", "compute", "stations", "loops", "blunders", "stats", "protocol"}) {
    SCOPED_TRACE(command);
    const Result onFullDisk = RunOnto(full, {command, in});
    EXPECT_EQ(onFullDisk.status, kExitFailed);
    EXPECT_TRUE(
        onFullDisk.err.ends_with("Die Ausgabe konnte nicht vollst\xC3\xA4ndig geschrieben werden.\nAuf dem "
                                 "Datentr\xC3\xA4ger ist kein Platz mehr.\n\n"))
        << onFullDisk.err;
    const Result readerQuit = RunOnto(pipeEnds[1], {command, in});
    EXPECT_EQ(readerQuit.status, kExitOk);
    EXPECT_EQ(readerQuit.err.find("Die Ausgabe"), std::string::npos) << readerQuit.err;
  }
  std::signal(SIGPIPE, previous);
  ::close(pipeEnds[1]);
  ::close(full);
}

}  // namespace
}  // namespace hp::cli
