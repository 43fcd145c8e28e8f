// hollowplan-cli when memory runs out: a message and exit 1, never an abort,
// and no output written.
#include "AllocationFault.h"
#include "cli/CliFixture.h"
#include "doc/DocumentFile.h"

namespace hp::cli {
namespace {

class CliMemory : public CliDocuments {};

TEST_F(CliMemory, AFailedAllocationIsReportedAndWritesNothing) {
  if (!test::AllocationFaultsAvailable()) GTEST_SKIP() << "the sanitizer runtime owns operator new";
  std::vector<Leg> legs;
  std::vector<std::string> names;
  for (int i = 0; i < 20000; ++i) names.push_back(std::to_string(i));
  for (int i = 1; i < 20000; ++i) legs.push_back({names[i - 1].c_str(), names[i].c_str(), 5, double(i % 360)});
  doc::SurveyStore store = Survey(legs);
  ASSERT_TRUE(doc::SaveDocument(Path("big.hpn"), store));
  const std::string before = Bytes(Path("big.hpn"));

  struct Case {
    std::vector<std::string> args;
  };
  for (const Case& c : {Case{{"compute", Path("big.hpn"), "-o", Path("out.hpn")}}, Case{{"stats", Path("big.hpn")}},
                        Case{{"import", Path("big.hpn"), "-o", Path("out.hpn")}}}) {
    Result result;
    {
      test::FailLargeAllocations fail(64 * 1024);
      result = Run(c.args);
    }
    EXPECT_EQ(result.status, kExitFailed) << c.args[0];
    EXPECT_EQ(result.err, "Nicht genügend Arbeitsspeicher.\n\n") << c.args[0];
    EXPECT_FALSE(fs::exists(Path("out.hpn"))) << c.args[0];
  }
  EXPECT_EQ(Bytes(Path("big.hpn")), before);
  EXPECT_EQ(Run({"info", Path("big.hpn")}).status, kExitOk) << "works again with memory";
}

}  // namespace
}  // namespace hp::cli
