// hollowplan-cli protocol and the survey protocol rendered as a picture.
#include <QImage>

#include "cli/CliFixture.h"

namespace hp::cli {
namespace {

class CliProtocol : public CliDocuments {
 protected:
  // A coordinate reference at S, then `legs` legs of 10.5 m east: S, 1, 2, ...
  std::string Cave(int legs = 2) {
    doc::SurveyStore store = Survey({{"S", "S", 0, 0}});
    for (int i = 1; i <= legs; ++i)
      test::AddLeg(store, i == 1 ? "S" : std::to_string(i - 1), std::to_string(i), 10.5, 90);
    return Save(std::move(store), "cave.hpn");
  }
};

TEST_F(CliProtocol, PrintsTheClipboardTextWithDecimalCommas) {
  const Result result = Run({"protocol", Cave()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Messlinien-Liste\nReferenz\tMesspunkt\tLänge\tAzimut\tNeigung\tX\tY\tZ\t\n"
                            "1/1/S\t1/1/S\t0,00\t0,00\t0,00\t"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("1/1/1\t1/1/2\t10,50\t90,00\t0,00\t21,00\t0,00\t0,00\t\n"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("Anzahl der Messzüge\t2\t2\n"), std::string::npos);
  EXPECT_EQ(Run({"protocol", Path("missing.hpn")}).status, 1);
}

TEST_F(CliProtocol, RenderDrawsTheShownProtocolPage) {
  const std::string in = Cave(150);
  const std::string png = Path("p.png");
  const Result result = Run({"render", in, png, "--display-type", "6", "--size", "800x400"});
  ASSERT_EQ(result.status, 0) << result.err;
  const QImage image(QString::fromStdString(png));
  ASSERT_EQ(image.size(), QSize(800, 400));
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) dark += image.pixelColor(x, y).value() < 160 ? 1 : 0;
  EXPECT_GT(dark, 500) << "the text of the page";
}

}  // namespace
}  // namespace hp::cli
