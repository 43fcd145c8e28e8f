// hollowplan-cli blunders: the two tables, the options and their checks.
#include "cli/CliFixture.h"

namespace hp::cli {
namespace {

// A three-sided loop from the reference S whose second leg's compass was
// misread as 95 instead of 80.
const std::vector<Leg> kSlipped = {
    {"S", "S", 0, 0}, {"S", "1", 10, 0}, {"1", "2", 10, 95}, {"2", "3", 12, 200}, {"3", "S", 5.7622, 265.4195}};

using CliBlunders = CliDocuments;

constexpr const char* kLoopHeader = "Schleife\tMesszüge\tLänge\tDelta\tDelta X\tDelta Y\tDelta Z\tNormiert\tVerdacht\n";
constexpr const char* kSuspectHeader =
    "Rang\tDatensatz\tReferenz\tMesspunkt\tMesswert\tGemessen\tVermutet\tNormiert danach\n";

TEST_F(CliBlunders, NamesTheMisreadCompassWithTheValueThatCloses) {
  const std::string in = Save(Survey(kSlipped));
  const std::string before = Bytes(in);
  const Result result = Run({"blunders", in, "--top", "2"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(Bytes(in), before);
  std::istringstream lines(result.out);
  std::string line;
  std::vector<std::string> rows;
  while (std::getline(lines, line)) rows.push_back(line + "\n");
  ASSERT_EQ(rows.size(), 6u);  // loop header, one loop, empty, suspect header, two suspects
  EXPECT_EQ(rows[0], kLoopHeader);
  EXPECT_EQ(rows[1].substr(0, 12), "1\t4\t37,76\t2,");
  EXPECT_EQ(rows[1].substr(rows[1].size() - 4), "\tja\n");
  EXPECT_EQ(rows[2], "\n");
  EXPECT_EQ(rows[3], kSuspectHeader);
  EXPECT_EQ(rows[4], "1\t3\t1/1/1\t1/1/2\tAzimut\t95,00\t80,00\t0,00\n");
  EXPECT_EQ(rows[5].substr(0, 2), "2\t");
}

TEST_F(CliBlunders, CleanSurveyPrintsOnlyTheHeaderOfTheSuspects) {
  std::vector<Leg> clean = kSlipped;
  clean[2].azimuth = 80;
  const Result result = Run({"blunders", Save(Survey(clean)), "--sigma-length", "0,02", "--sigma-angle", "0.5"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out.substr(result.out.size() - 6 - std::string(kSuspectHeader).size()),
            "nein\n\n" + std::string(kSuspectHeader));
}

}  // namespace
}  // namespace hp::cli
