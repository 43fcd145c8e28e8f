// hollowplan-cli when memory runs out: a message and exit 1, never an abort,
// and no output written.
#include "AllocationFault.h"
#include "cli/CliFixture.h"

namespace hp::cli {
namespace {

using CliMemory = CliDocuments;

TEST_F(CliMemory, AFailedAllocationIsReportedAndWritesNothing) {
  if (!test::AllocationFaultsAvailable()) GTEST_SKIP() << "the sanitizer runtime owns operator new";
  doc::SurveyStore store = Survey({});
  for (int i = 1; i < 20000; ++i) test::AddLeg(store, std::to_string(i - 1), std::to_string(i), 5, i % 360);
  Save(std::move(store), "big.hpn");
  const std::string before = Bytes(Path("big.hpn"));

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"compute", Path("big.hpn"), "-o", Path("out.hpn")},
        {"stats", Path("big.hpn")},
        {"import", Path("big.hpn"), "-o", Path("out.hpn")}}) {
    SCOPED_TRACE(args[0]);
    Result result;
    {
      test::FailLargeAllocations fail(64 * 1024);
      result = Run(args);
    }
    EXPECT_EQ(result.status, kExitFailed);
    EXPECT_EQ(result.err, "Nicht genügend Arbeitsspeicher.\n\n");
    EXPECT_FALSE(fs::exists(Path("out.hpn")));
  }
  EXPECT_EQ(Bytes(Path("big.hpn")), before);
  EXPECT_EQ(Run({"info", Path("big.hpn")}).status, kExitOk) << "works again with memory";
}

}  // namespace
}  // namespace hp::cli
