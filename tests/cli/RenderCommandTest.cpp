// hollowplan-cli render: pictures of the current worksheet from the shell.
#include <QImage>
#include <regex>

#include "cli/CliFixture.h"

namespace hp::cli {
namespace {

class CliRender : public CliDocuments {
 protected:
  // A survey of a 20 m leg east and 10 m north of it.
  std::string Cave() { return Save(Survey({{"S", "S", 0, 0}, {"S", "1", 20, 90}, {"1", "2", 10, 0}})); }

  // Pixels that are neither white nor the grey of the frame and grid.
  static int ColouredPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.saturation() > 100) ++count;
      }
    return count;
  }
};

TEST_F(CliRender, EveryDrawnDisplayTypeGivesAPictureOfTheScreenSize) {
  const std::string in = Cave();
  for (const char* type : {"0", "1", "2", "3", "4", "5", "7"}) {
    const std::string out = Path(std::string("t") + type + ".png");
    const Result result = Run({"render", in, out, "--display-type", type, "--size", "320x200"});
    ASSERT_EQ(result.status, 0) << type << result.err;
    EXPECT_EQ(result.err, "") << type;
    const QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(320, 200)) << type;
    EXPECT_GT(ColouredPixels(image), 20) << "the legs are drawn in their colours, type " << type;
  }
}

TEST_F(CliRender, DefaultScreenAndTheOtherFormats) {
  const std::string in = Cave();
  ASSERT_EQ(Run({"render", in, Path("a.png")}).status, 0);
  EXPECT_EQ(QImage(QString::fromStdString(Path("a.png"))).size(), QSize(1280, 1024));
  ASSERT_EQ(Run({"render", in, Path("a.bmp"), "--size", "33x10"}).status, 0);
  const std::string bmp = Bytes(Path("a.bmp"));
  EXPECT_EQ(bmp.size(), 54u + 100u * 10u);  // 99 bytes a row, padded to 100
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  ASSERT_EQ(Run({"render", in, Path("a.svg"), "--size", "300x200"}).status, 0);
  EXPECT_NE(Bytes(Path("a.svg")).find("viewBox=\"0 0 300 200\""), std::string::npos);
  ASSERT_EQ(Run({"render", in, Path("a.PDF"), "--size", "960x480"}).status, 0);
  const std::string pdf = Bytes(Path("a.PDF"));
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_TRUE(std::regex_search(pdf, std::regex(R"(/MediaBox \[0 0 720(\.0*)? 360(\.0*)?\])")))
      << "96 dpi pixels as points";
}

TEST_F(CliRender, Failures) {
  const std::string in = Cave();
  // A folder that does not exist: the program's message, no file.
  const Result unwritable = Run({"render", in, Path("no/such/a.png")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err, Path("no/such/a.png") + "\nDiese Datei kann nicht geschrieben werden.\n\n");
  EXPECT_EQ(Run({"render", Path("missing.hpn"), Path("a.png")}).status, 1);
}

TEST_F(CliRender, UncomputedDocumentIsComputedFirst) {
  Save(Survey({{"S", "S", 0, 0}, {"S", "1", 20, 90}}), "raw.hpn");
  ASSERT_EQ(Run({"render", Path("raw.hpn"), Path("raw.png"), "--size", "200x150"}).status, 0);
  EXPECT_GT(ColouredPixels(QImage(QString::fromStdString(Path("raw.png")))), 20);
  EXPECT_TRUE(InfoHas(Path("raw.hpn"), "computed: 0\n")) << "the document itself is not changed";
}

}  // namespace
}  // namespace hp::cli
