// Picture files: the format chosen by the extension, every format written
// whole or not at all.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "base/ByteIo.h"
#include "draw/Surface.h"
#include "draw/WorksheetDrawing.h"
#include "gfx/GuiApplication.h"
#include "gfx/PictureFile.h"

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
  void SetUp() override {
    EnsureGuiApplication();
    m_folder = fs::temp_directory_path() / ("hp_gfx_" + std::to_string(::getpid()));
    fs::create_directories(m_folder);
  }
  void TearDown() override { fs::remove_all(m_folder); }

  std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // A red diagonal on a light grey ground.
  bool Write(const fs::path& path, PictureFormat format, draw::Size size) {
    return WritePicture(path, format, draw::ScreenCaps(size), draw::RgbColour(200, 200, 200), [&](draw::Surface& s) {
      s.SetPen({draw::PenStyle::Solid, 1, draw::RgbColour(255, 0, 0)});
      s.Line({0, 0}, {size.cx - 1, size.cy - 1});
    });
  }

  fs::path m_folder;
};

TEST_F(PictureFileTest, BitmapHasTheProgramsLayout) {
  const fs::path path = m_folder / "p.bmp";
  ASSERT_TRUE(Write(path, PictureFormat::Bmp, {5, 4}));
  const std::string bytes = Bytes(path);
  const std::span<const uint8_t> b(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ASSERT_EQ(b.size(), 54u + 16u * 4u);
  EXPECT_EQ(base::LoadLE<int32_t>(b, 18), 5);
  EXPECT_EQ(base::LoadLE<int32_t>(b, 22), 4);
  EXPECT_EQ(base::LoadLE<uint32_t>(b, 34), 64u);
  // The bottom row comes first: its last pixel is the diagonal's end (red).
  EXPECT_EQ(b[54 + 12], 0);
  EXPECT_EQ(b[54 + 14], 255);
  EXPECT_EQ(b[54], 200) << "the first pixel of the bottom row is ground";
}

TEST_F(PictureFileTest, PngSvgAndPdfPages) {
  ASSERT_TRUE(Write(m_folder / "p.png", PictureFormat::Png, {30, 20}));
  const QImage png(QString::fromStdString((m_folder / "p.png").string()));
  EXPECT_EQ(png.size(), QSize(30, 20));
  EXPECT_EQ(png.pixelColor(29, 19), QColor(255, 0, 0));
  EXPECT_EQ(png.pixelColor(29, 0), QColor(200, 200, 200));

  ASSERT_TRUE(Write(m_folder / "p.svg", PictureFormat::Svg, {300, 150}));
  const std::string svg = Bytes(m_folder / "p.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 300 150\""), std::string::npos);

  ASSERT_TRUE(Write(m_folder / "p.pdf", PictureFormat::Pdf, {192, 96}));
  const std::string pdf = Bytes(m_folder / "p.pdf");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_TRUE(std::regex_search(pdf, std::regex(R"(/MediaBox \[0 0 144(\.0*)? 72(\.0*)?\])"))) << "two by one inch";
}

TEST_F(PictureFileTest, FailedWriteLeavesTheOldFile) {
  const fs::path path = m_folder / "keep.png";
  std::ofstream(path) << "old";
  fs::create_directories(m_folder / "locked.png");  // a folder where the file should go
  EXPECT_FALSE(Write(m_folder / "locked.png", PictureFormat::Png, {4, 4}));
  EXPECT_FALSE(Write(m_folder / "missing" / "x.pdf", PictureFormat::Pdf, {4, 4}));
  EXPECT_EQ(Bytes(path), "old");
  EXPECT_FALSE(fs::exists(m_folder / "missing"));
}

}  // namespace
}  // namespace hp::gfx
