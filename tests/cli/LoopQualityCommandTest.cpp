// The loop-quality colour mode from the shell: two loops side by side, one
// closing exactly and one with a compass reading 10 degrees off, drawn,
// printed and exported with --colour-mode 13.
#include <QImage>
#include <algorithm>
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
  static size_t Count(const std::string& text, const std::string& piece) {
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
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
  const Result r = Run({"render", in, out, "--colour-mode", "13", "--size", "600x800", "--numbering", "0"});
  ASSERT_EQ(r.status, 0) << r.err;
  const QImage image(QString::fromStdString(out));
  ASSERT_EQ(image.size(), QSize(600, 800));
  // The page's area with the loops above, the legend in the window's
  // bottom left corner below it. In the area the clean loop (west) is green,
  // the blundered one (east) red: every green pixel lies west of every red.
  constexpr int kLegendTop = 700;
  int counts[2][2] = {};  // [area, legend][green, red]
  int greenEast = -1, redWest = image.width();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const Hue hue = HueOf(image.pixelColor(x, y));
      if (hue == kOther) continue;
      ++counts[y < kLegendTop ? 0 : 1][hue];
      if (y >= kLegendTop) continue;
      if (hue == kGreen) greenEast = std::max(greenEast, x);
      else redWest = std::min(redWest, x);
    }
  EXPECT_GT(counts[0][kGreen], 50) << "clean loop green";
  EXPECT_GT(counts[0][kRed], 50) << "blundered loop red";
  EXPECT_LT(greenEast, redWest);
  EXPECT_GT(counts[1][kGreen], 5) << "legend";
  EXPECT_GT(counts[1][kRed], 5) << "legend";

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
    const std::string leg = "LINE\r\n  8\r\nLinien_";
    for (size_t at = text.find(leg); at != std::string::npos; at = text.find(leg, at + 1)) {
      const size_t code = text.find(" 62\r\n", at);
      colours.push_back(std::stoi(text.substr(code + 5)));
    }
    return colours;
  };
  // The legs in list order: the reference, the clean loop, the joining leg,
  // the blundered loop, the spur (auxiliary lines are not shown).
  EXPECT_EQ(lineColours(dxf), (std::vector<int>{8, 3, 3, 3, 3, 8, 1, 1, 1, 1, 8}));

  const Result kml = Run({"export", in, Path("a.kml"), "--colour-mode", "13"});
  ASSERT_EQ(kml.status, 0) << kml.err;
  const std::string styles = Bytes(Path("a.kml"));
  EXPECT_NE(styles.find("<Style id=\"Color3\">\r\n<LineStyle>\r\n<color>ff00aa00</color>"), std::string::npos);
  EXPECT_NE(styles.find("<Style id=\"Color2\">\r\n<LineStyle>\r\n<color>ff0000e6</color>"), std::string::npos);
  EXPECT_EQ(Count(styles, "<styleUrl>#Color3</styleUrl>"), 4u);
  EXPECT_EQ(Count(styles, "<styleUrl>#Color2</styleUrl>"), 4u);

  ASSERT_EQ(Run({"export", in, Path("a.wrl"), "--colour-mode", "13", "--display-type", "5"}).status, 0);
  const std::string wrl = Bytes(Path("a.wrl"));
  EXPECT_NE(wrl.find("farbe 0 0.667 0 "), std::string::npos) << "green";
  EXPECT_NE(wrl.find("farbe 0.902 0 0 "), std::string::npos) << "red";
}

}  // namespace
}  // namespace hp::cli
