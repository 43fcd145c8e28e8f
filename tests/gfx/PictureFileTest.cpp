// Picture files: the format chosen by the extension, every format written
// whole or not at all.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "base/ByteIo.h"
#include "draw/BackgroundMap.h"
#include "draw/Surface.h"
#include "draw/WorksheetDrawing.h"
#include "gfx/GuiApplication.h"
#include "gfx/PictureFile.h"
#include "platform/Prompter.h"
#include "support/TempFolder.h"

namespace hp::gfx {
namespace {

namespace fs = std::filesystem;

TEST(PictureFormatTest, ChosenByTheExtensionInAnyCase) {
  const std::pair<const char*, std::optional<PictureFormat>> cases[] = {
      {"a.png", PictureFormat::Png}, {"b.BMP", PictureFormat::Bmp}, {"dir.x/c.Svg", PictureFormat::Svg},
      {"d.pdf", PictureFormat::Pdf}, {"e.jpg", std::nullopt},       {"png", std::nullopt},
      {"f.png.txt", std::nullopt},
  };
  for (const auto& [name, format] : cases) EXPECT_EQ(PictureFormatOf(name), format) << name;
}

class PictureFileTest : public testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }

  // A red diagonal on a light grey ground.
  bool Write(const fs::path& path, PictureFormat format, draw::Size size) {
    return WritePicture(path, format, draw::ScreenCaps(size), draw::RgbColour(200, 200, 200), [&](draw::Surface& s) {
      s.SetPen({draw::PenStyle::Solid, 1, draw::RgbColour(255, 0, 0)});
      s.Line({0, 0}, {size.cx - 1, size.cy - 1});
    });
  }

  test::TempFolder m_folder{"hp_gfx"};
};

TEST_F(PictureFileTest, PngBmpSvgAndPdfPages) {
  ASSERT_TRUE(Write(m_folder / "p.png", PictureFormat::Png, {30, 20}));
  const QImage png(QString::fromStdString((m_folder / "p.png").string()));
  EXPECT_EQ(png.size(), QSize(30, 20));
  EXPECT_EQ(png.pixelColor(29, 19), QColor(255, 0, 0));
  EXPECT_EQ(png.pixelColor(29, 0), QColor(200, 200, 200));

  // The bitmap's layout itself is the background map's writer's.
  ASSERT_TRUE(Write(m_folder / "p.bmp", PictureFormat::Bmp, {5, 4}));
  draw::Image bmp;
  ASSERT_EQ(draw::ReadBitmapFile(m_folder / "p.bmp", bmp), draw::BitmapStatus::Ok);
  EXPECT_EQ(bmp.pixels.back(), draw::RgbColour(255, 0, 0));
  EXPECT_EQ(bmp.pixels[4], draw::RgbColour(200, 200, 200));

  ASSERT_TRUE(Write(m_folder / "p.svg", PictureFormat::Svg, {300, 150}));
  const std::string svg = test::ReadFile(m_folder / "p.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 300 150\""), std::string::npos);

  ASSERT_TRUE(Write(m_folder / "p.pdf", PictureFormat::Pdf, {192, 96}));
  const std::string pdf = test::ReadFile(m_folder / "p.pdf");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_TRUE(std::regex_search(pdf, std::regex(R"(/MediaBox \[0 0 144(\.0*)? 72(\.0*)?\])"))) << "two by one inch";
}

TEST_F(PictureFileTest, FailedWriteLeavesTheOldFile) {
  const fs::path path = m_folder / "keep.png";
  std::ofstream(path) << "old";
  fs::create_directories(m_folder / "locked.png");  // a folder where the file should go
  EXPECT_FALSE(Write(m_folder / "locked.png", PictureFormat::Png, {4, 4}));
  EXPECT_FALSE(Write(m_folder / "missing" / "x.pdf", PictureFormat::Pdf, {4, 4}));
  EXPECT_EQ(test::ReadFile(path), "old");
  EXPECT_FALSE(fs::exists(m_folder / "missing"));
}

TEST(BitmapDepthTest, FollowsThePicturesPlanesAndBits) {
  const std::tuple<int, int, int> cases[] = {{1, 1, 1}, {1, 2, 4},  {2, 2, 4},   {1, 4, 4},   {1, 5, 8},  {4, 2, 8},
                                             {1, 8, 8}, {1, 9, 24}, {1, 16, 24}, {1, 24, 24}, {1, 32, 24}};
  for (const auto& [planes, bits, depth] : cases)
    EXPECT_EQ(BitmapFileDepth(planes, bits), depth) << planes << "x" << bits;
}

TEST_F(PictureFileTest, ExportedBitmapKeepsThePicturesDepthAndColours) {
  // A 5 x 3 picture, light grey with one red pixel in the top row.
  QImage rgb(5, 3, QImage::Format_RGB32);
  rgb.fill(QColor(200, 200, 200));
  rgb.setPixel(3, 0, qRgb(255, 0, 0));
  QImage mono(5, 3, QImage::Format_Mono);
  mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mono.fill(0);
  mono.setPixel(3, 0, 1);
  const std::tuple<const char*, QImage, int, size_t> cases[] = {
      // name, picture, bits per pixel in the file, padded row bytes
      {"rgb", rgb, 24, 16},
      {"indexed", rgb.convertToFormat(QImage::Format_Indexed8), 8, 8},
      {"mono", mono, 1, 4},
  };
  for (const auto& [name, picture, depth, rowBytes] : cases) {
    SCOPED_TRACE(name);
    const fs::path path = m_folder / (std::string(name) + ".bmp");
    platform::ScriptedPrompter prompter;
    ASSERT_TRUE(ExportBitmap(path, picture, prompter));
    EXPECT_TRUE(prompter.Entries().empty());
    const std::string bytes = test::ReadFile(path);
    const std::span<const uint8_t> b(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const uint32_t offset = depth == 24 ? 54 : 54 + (4u << depth);
    ASSERT_EQ(b.size(), offset + 3 * rowBytes);
    EXPECT_EQ(base::LoadLE<uint32_t>(b, 2), b.size());
    EXPECT_EQ(base::LoadLE<uint32_t>(b, 10), offset);
    EXPECT_EQ(base::LoadLE<uint16_t>(b, 28), depth);
    EXPECT_EQ(base::LoadLE<uint32_t>(b, 34), 3 * rowBytes);
    if (depth == 1) {
      // The top row is written last; pixel 3 is the fourth bit from the left.
      EXPECT_EQ(b[offset + 2 * rowBytes], 0x10);
      EXPECT_EQ(b[offset], 0);
      continue;
    }
    draw::Image read;
    ASSERT_EQ(draw::ReadBitmap(b, read), draw::BitmapStatus::Ok);
    ASSERT_EQ(read.pixels.size(), 15u);
    EXPECT_EQ(read.pixels[3], draw::RgbColour(255, 0, 0));
    EXPECT_EQ(read.pixels[14], draw::RgbColour(200, 200, 200));
  }
}

TEST_F(PictureFileTest, NoPictureShowsItsMessageAndKeepsTheOldFile) {
  const fs::path path = m_folder / "old.bmp";
  std::ofstream(path) << "old";
  platform::ScriptedPrompter prompter;
  EXPECT_FALSE(ExportBitmap(path, QImage(), prompter));
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{std::string(kPictureTooLarge)});
  EXPECT_EQ(test::ReadFile(path), "old");
}

}  // namespace
}  // namespace hp::gfx
