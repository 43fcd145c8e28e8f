// The loop-quality colour mode from the shell: two loops side by side, one
// closing exactly and one with a compass reading 10 degrees off, drawn,
// printed and exported with --colour-mode 13.
#include <QImage>
#include <cstdio>
#include <memory>

#include "cli/CliFixture.h"
#include "support/TwoLoops.h"

namespace hp::cli {
namespace {

class CliLoopQuality : public CliDocuments {
 protected:
  std::string TwoLoops() {
    auto store = test::Survey(test::kTwoLoops);
    store->settings.computedCurrent = 0;
    return Save(std::move(*store), "loops.hpn");
  }
  static std::string Command(const std::string& line) {
    const std::unique_ptr<FILE, int (*)(FILE*)> read(::popen(line.c_str(), "r"), ::pclose);
    std::string text;
    char chunk[4096];
    for (size_t n; read && (n = fread(chunk, 1, sizeof chunk, read.get())) > 0;) text.append(chunk, n);
    return text;
  }
};

enum Hue { kGreen, kRed, kOther };

Hue HueOf(const QColor& c) {
  if (c.saturation() < 150 || c.value() < 120) return kOther;
  if (c.hue() >= 100 && c.hue() <= 140) return kGreen;
  if (c.hue() <= 10 || c.hue() >= 350) return kRed;
  return kOther;
}

TEST_F(CliLoopQuality, CleanLoopGreenBlunderedLoopRedLegendBelow) {
  const std::string in = TwoLoops();
  const std::string out = Path("plan.png");
  const Result r = Run({"render", in, out, "--colour-mode", "13", "--size", "600x800"});
  ASSERT_EQ(r.status, 0) << r.err;
  const QImage image(QString::fromStdString(out));
  ASSERT_EQ(image.size(), QSize(600, 800));
  // The loops lie across the middle of the picture, west beside east; the
  // legend sits in the bottom left corner.
  int counts[2][2][2] = {};  // [band: middle, bottom][half: west, east][green, red]
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const Hue hue = HueOf(image.pixelColor(x, y));
      if (hue == kOther) continue;
      const int band = y < 600 ? 0 : 1;
      ++counts[band][x < 300 ? 0 : 1][hue];
    }
  EXPECT_GT(counts[0][0][kGreen], 100) << "clean loop green";
  EXPECT_EQ(counts[0][0][kRed], 0);
  EXPECT_GT(counts[0][1][kRed], 100) << "blundered loop red";
  EXPECT_EQ(counts[0][1][kGreen], 0);
  EXPECT_GT(counts[1][0][kGreen], 5) << "legend";
  EXPECT_GT(counts[1][0][kRed], 5) << "legend";

  EXPECT_EQ(Run({"render", in, out, "--colour-mode", "14"}).status, 2);
}

TEST_F(CliLoopQuality, LegendInPrint) {
  if (!OnPath("pdftotext")) GTEST_SKIP() << "pdftotext (package poppler-utils) not installed";
  const std::string in = TwoLoops();
  ASSERT_EQ(Run({"render", in, Path("p.pdf"), "--print", "--colour-mode", "13"}).status, 0);
  const std::string text = Command("pdftotext " + Quoted(Path("p.pdf")) + " -");
  for (const char* piece : {"Ringschlussfehler (normiert)", "bis 1", "bis 2", "bis 3,37", "über 3,37"})
    EXPECT_NE(text.find(piece), std::string::npos) << piece << "\n" << text;
  ASSERT_EQ(Run({"render", in, Path("q.pdf"), "--print"}).status, 0);
  EXPECT_EQ(Command("pdftotext " + Quoted(Path("q.pdf")) + " -").find("Ringschluss"), std::string::npos)
      << "only in the loop-quality mode";
}

// DXF carries the colour index (green 3, red 1, grey 8 in no loop), KML the
// styles of the class colours, VRML the class colours themselves.
TEST_F(CliLoopQuality, ExportsCarryTheClassColours) {
  const std::string in = TwoLoops();
  ASSERT_EQ(Run({"export", in, Path("a.dxf"), "--colour-mode", "13"}).status, 0);
  const std::string dxf = Bytes(Path("a.dxf"));
  const auto lineColours = [&](const std::string& text) {
    std::vector<int> colours;
    for (size_t at = text.find("LINE\r\n"); at != std::string::npos; at = text.find("LINE\r\n", at + 1)) {
      const size_t code = text.find(" 62\r\n", at);
      colours.push_back(std::stoi(text.substr(code + 5)));
    }
    return colours;
  };
  // Records 1-4 the clean loop, 5 the joining leg, 6-9 the blundered loop,
  // 10 the spur; the reference and the auxiliary line draw no line here.
  const std::vector<int> got = lineColours(dxf);
  ASSERT_GE(got.size(), 10u) << dxf.substr(0, 400);
  EXPECT_EQ(std::vector<int>(got.begin(), got.begin() + 10), (std::vector<int>{3, 3, 3, 3, 8, 1, 1, 1, 1, 8}));

  ASSERT_EQ(Run({"export", in, Path("a.wrl"), "--colour-mode", "13", "--display-type", "5"}).status, 0);
  const std::string wrl = Bytes(Path("a.wrl"));
  EXPECT_NE(wrl.find("farbe 0 0.667 0 "), std::string::npos) << "green";
  EXPECT_NE(wrl.find("farbe 0.902 0 0 "), std::string::npos) << "red";
}

}  // namespace
}  // namespace hp::cli
