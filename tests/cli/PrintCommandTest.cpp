// hollowplan-cli render --print: the printed pages as a PDF (measured on
// paper by the pdftoppm check beside the drawing tests).
#include <algorithm>
#include <cstdio>
#include <memory>
#include <regex>

#include "base/FixedText.h"
#include "cli/CliFixture.h"
#include "doc/DocumentFile.h"
#include "draw/pages/Printing.h"

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
    return Save(std::move(store), "cave.hpn");
  }
  // The words pdftotext finds in a PDF, each with its box in points.
  struct Word {
    std::string text;
    double left, right;
  };
  static std::vector<Word> Words(const std::string& pdf) {
    std::vector<Word> words;
    const std::unique_ptr<FILE, int (*)(FILE*)> read(::popen(("pdftotext -bbox " + Quoted(pdf) + " -").c_str(), "r"),
                                                     ::pclose);
    std::string html;
    char chunk[4096];
    for (size_t n; read && (n = fread(chunk, 1, sizeof chunk, read.get())) > 0;) html.append(chunk, n);
    const std::regex word(R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    for (std::sregex_iterator it(html.begin(), html.end(), word), end; it != end; ++it)
      words.push_back({(*it)[3], std::stod((*it)[1]), std::stod((*it)[2])});
    return words;
  }
  static int PageCount(const std::string& pdf) {
    std::smatch m;
    return std::regex_search(pdf, m, std::regex(R"(/Type /Pages[^>]*/Count (\d+))")) ? std::stoi(m[1]) : -1;
  }
};

TEST_F(CliPrint, SubSheetsArePagesOfThePrintablePageAndAFailedWriteLeavesNothing) {
  const std::string in = Cave();
  ASSERT_EQ(Run({"render", in, Path("p.pdf"), "--print"}).status, 0);
  const std::string pdf = Bytes(Path("p.pdf"));
  EXPECT_EQ(PageCount(pdf), 4);
  // 197 x 285 mm in whole points.
  EXPECT_TRUE(std::regex_search(pdf, std::regex(R"(/MediaBox \[0 0 558(\.0*)? 808(\.0*)?\])")));

  // A smaller scale than the worksheet's: everything on one sheet.
  ASSERT_EQ(Run({"render", in, Path("q.pdf"), "--print", "--scale", "5000"}).status, 0);
  EXPECT_EQ(PageCount(Bytes(Path("q.pdf"))), 1);

  // Into a folder that does not exist: the message, no file.
  const std::string out = Path("fehlt/p.pdf");
  const Result missing = Run({"render", in, out, "--print"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, out + "\nDiese Datei kann nicht geschrieben werden.\n\n");
  EXPECT_FALSE(fs::exists(out));
}

// An overview larger than the page is printed cut at the margins, with the
// window's warning and exit 0; the title stands over the middle of the page,
// and the text is text a PDF reader finds.
TEST_F(CliPrint, AnOverviewCutByThePageIsSaidAndItsTextIsSearchable) {
  doc::SurveyStore store = Survey({{"0", "1", 100, 90}, {"1", "2", 150, 180}});
  base::SetText(store.settings.title, "Schachth\xF6hle");  // stored in Windows-1252
  doc::Worksheet& ws = *store.currentWorksheet;
  ws.setScaleDenominator(500);
  ws.setAutomaticScale(0);
  ASSERT_TRUE(doc::SaveDocument(Path("overview.hpn"), store));
  const struct {
    const char* scale;
    std::string err;
  } cases[] = {{"500", std::string(draw::print::kCutAtPage) + "\n\n"}, {"5000", ""}};
  for (const auto& c : cases) {
    const Result r = Run({"render", Path("overview.hpn"), Path("o.pdf"), "--print", "--scale", c.scale});
    EXPECT_EQ(r.status, 0) << c.scale;
    EXPECT_EQ(r.err, c.err) << c.scale;
  }
  if (!OnPath("pdftotext")) GTEST_SKIP() << "pdftotext (package poppler-utils) not installed";
  Run({"render", Path("overview.hpn"), Path("o.pdf"), "--print"});
  const std::vector<Word> words = Words(Path("o.pdf"));
  const auto title = std::find_if(words.begin(), words.end(), [](const Word& w) { return w.text == "Schachthöhle"; });
  ASSERT_NE(title, words.end());
  EXPECT_NEAR((title->left + title->right) / 2, 197 / 25.4 * 72 / 2, 3);  // points
  std::string found = " ";
  for (const Word& w : words) found += w.text + " ";
  // The start lies on the page; the station 200 mm east of it is cut off.
  EXPECT_NE(found.find(" 1/1/0 "), std::string::npos) << found;
  EXPECT_EQ(found.find(" 1/1/1 "), std::string::npos) << found;
}

}  // namespace
}  // namespace hp::cli
