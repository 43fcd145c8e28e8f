// hollowplan-cli render --print: the printed pages as a PDF (measured on
// paper by the pdftoppm check beside the drawing tests).
#include <regex>

#include "cli/CliFixture.h"
#include "doc/DocumentFile.h"

namespace hp::cli {
namespace {

class CliPrint : public CliDocuments {
 protected:
  // 100 m east and 150 m south at 1:500, printed on sub-sheets of
  // 70 x 120 m: 2 x 2 pages.
  std::string Cave() {
    doc::SurveyStore store = Survey({{"0", "1", 100, 90}, {"1", "2", 150, 180}});
    doc::Worksheet& ws = *store.currentWorksheet;
    ws.setScaleDenominator(500);
    ws.setAutomaticScale(0);
    ws.setPrintSubSheets(1);
    EXPECT_TRUE(doc::SaveDocument(Path("cave.hpn"), store, 0));
    return Path("cave.hpn");
  }
  static int PageCount(const std::string& pdf) {
    std::smatch m;
    return std::regex_search(pdf, m, std::regex(R"(/Type /Pages[^>]*/Count (\d+))")) ? std::stoi(m[1]) : -1;
  }
};

TEST_F(CliPrint, SubSheetsArePagesOfThePrintablePage) {
  const std::string in = Cave();
  ASSERT_EQ(Run({"render", in, Path("p.pdf"), "--print"}).status, 0);
  const std::string pdf = Bytes(Path("p.pdf"));
  EXPECT_EQ(PageCount(pdf), 4);
  // 197 x 285 mm in whole points.
  EXPECT_TRUE(std::regex_search(pdf, std::regex(R"(/MediaBox \[0 0 558(\.0*)? 808(\.0*)?\])")));

  // A smaller scale than the worksheet's: everything on one sheet.
  ASSERT_EQ(Run({"render", in, Path("q.pdf"), "--print", "--scale", "5000"}).status, 0);
  EXPECT_EQ(PageCount(Bytes(Path("q.pdf"))), 1);
}

TEST_F(CliPrint, OnlyPdfAndAFailedWriteLeavesNothing) {
  const std::string in = Cave();
  const Result png = Run({"render", in, Path("p.png"), "--print"});
  EXPECT_EQ(png.status, 2);
  EXPECT_FALSE(fs::exists(Path("p.png")));
  const std::string out = Path("fehlt/p.pdf");
  const Result missing = Run({"render", in, out, "--print"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, out + "\nDiese Datei kann nicht geschrieben werden.\n\n");
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace hp::cli
