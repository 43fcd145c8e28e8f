// hollowplan-cli import of Survex projects: the real multi-file project of
// the test data, and a file the importer refuses.
#include <algorithm>
#include <set>
#include <sstream>

#include "cli/CliFixture.h"

namespace hp::cli {
namespace {

using CliSurvexImport = CliDocuments;

const fs::path kProject = fs::path(HP_TEST_DATA) / "survex" / "jaskinie" / "all.svx";

TEST_F(CliSurvexImport, RealProjectBecomesAComputedDocument) {
  const Result result = Run({"import", kProject.string(), "-o", Path("tatra.hpn")});
  EXPECT_EQ(result.status, 0) << result.err;
  // Every line is taken over and the pass finds no conflict; the project's
  // 15 teams fill the document's eight surveyor entries, and the rest are
  // told.
  EXPECT_EQ(result.err.rfind(kProject.string() + "\nNicht alles wurde übernommen:\n", 0), 0u) << result.err;
  size_t teams = 0;
  for (size_t at = 0;
       (at = result.err.find("\nKein freier Vermessereintrag mehr für das Team", at)) != std::string::npos; ++at) {
    ++teams;
  }
  EXPECT_EQ(teams, 7u);
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 10);
  EXPECT_TRUE(InfoHas(Path("tatra.hpn"), "computed: 1\n"));
  EXPECT_TRUE(InfoHas(Path("tatra.hpn"), "utm: 34 U\n")) << "the grid the GPS fixes were converted into";
  // 5,190 legs (joined where measured again, splays as auxiliary lines), the
  // 14 fixed points and 73 zero-length connections of equated names: the
  // 5,243 stations cavern counts.
  const Result stations = Run({"stations", Path("tatra.hpn"), "--no-compute"});
  std::istringstream lines(stations.out);
  std::set<std::string> named;
  size_t records = 0, auxiliary = 0;
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    ++records;
    std::istringstream fields(line);
    std::string number, kind, reference, station;
    std::getline(fields, number, '\t');
    std::getline(fields, kind, '\t');
    std::getline(fields, reference, '\t');
    std::getline(fields, station, '\t');
    named.insert(reference);
    if (kind == "Hilfslinie") {
      ++auxiliary;
    } else {
      named.insert(station);
    }
  }
  EXPECT_EQ(records, 5254u);
  EXPECT_EQ(auxiliary, 4031u);
  EXPECT_EQ(named.size() + auxiliary, 5243u);
}

TEST_F(CliSurvexImport, MissingIncludeWritesNothing) {
  Put(Path("top.svx"), "*include absent\n1 2 5 10 0\n");
  const Result result = Run({"import", Path("top.svx"), "-o", Path("neu.hpn")});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("absent.svx\nDiese Datei kann nicht geöffnet werden."), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(Path("neu.hpn")));
}

}  // namespace
}  // namespace hp::cli
