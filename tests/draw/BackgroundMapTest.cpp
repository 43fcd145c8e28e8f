// Reading bitmap files for the background map, keeping the map between
// drawings, and drawing it under the legs of the plane drawing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "base/ByteIo.h"
#include "base/FixedText.h"
#include "doc/SurveyStore.h"
#include "draw/BackgroundMap.h"
#include "draw/DrawingTestSupport.h"
#include "draw/PlaneDrawing.h"
#include "platform/Prompter.h"
#include "support/TempFolder.h"

namespace hp::draw {
namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) { base::StoreLE<uint16_t>(b, at, v); }
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { base::StoreLE<uint32_t>(b, at, v); }

// A 24-bit bitmap of `width` x `height` whose pixel (x, y from the top) is
// red x*10, green y*10, blue 7.
std::vector<uint8_t> Bitmap24(int width, int height, bool topDown) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  std::vector<uint8_t> b(54 + stride * height, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(topDown ? -height : height));
  Put16(b, 26, 1);
  Put16(b, 28, 24);
  for (int y = 0; y < height; ++y) {
    const size_t row = 54 + stride * (topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      b[row + x * 3] = 7;
      b[row + x * 3 + 1] = static_cast<uint8_t>(y * 10);
      b[row + x * 3 + 2] = static_cast<uint8_t>(x * 10);
    }
  }
  return b;
}

void ExpectPattern(const Image& image, int width, int height) {
  ASSERT_EQ(image.width, width);
  ASSERT_EQ(image.height, height);
  ASSERT_EQ(image.pixels.size(), static_cast<size_t>(width * height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) EXPECT_EQ(image.pixels[y * width + x], RgbColour(x * 10, y * 10, 7));
}

TEST(BitmapReaderTest, ReadsBottomUpAndTopDownRows) {
  Image image;
  ASSERT_EQ(ReadBitmap(Bitmap24(3, 2, false), image), BitmapStatus::Ok);  // 9-byte rows padded to 12
  ExpectPattern(image, 3, 2);
  ASSERT_EQ(ReadBitmap(Bitmap24(5, 3, true), image), BitmapStatus::Ok);
  ExpectPattern(image, 5, 3);
}

TEST(BitmapWriterTest, WritesTheProgramsLayoutAndReadsBack) {
  // Widths 1 to 4 cover every row padding (3, 2, 1 and 0 bytes).
  for (int width = 1; width <= 4; ++width) {
    Image image;
    image.width = width, image.height = 3;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < width; ++x) image.pixels.push_back(RgbColour(x * 10, y * 10, 7));
    const std::vector<uint8_t> b = EncodeBitmap(image);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    ASSERT_EQ(b.size(), 54 + stride * 3) << width;
    EXPECT_EQ(base::LoadLE<uint32_t>(b, 2), b.size());
    EXPECT_EQ(base::LoadLE<uint32_t>(b, 10), 54u);
    EXPECT_EQ(base::LoadLE<int32_t>(b, 22), 3);  // bottom-up
    EXPECT_EQ(base::LoadLE<uint16_t>(b, 28), 24u);
    EXPECT_EQ(base::LoadLE<uint32_t>(b, 34), stride * 3);
    EXPECT_EQ(base::LoadLE<uint32_t>(b, 38), 3780u);
    EXPECT_EQ(base::LoadLE<uint32_t>(b, 42), 3780u);
    EXPECT_EQ(base::LoadLE<uint32_t>(b, 46), 0u);  // no colour table
    EXPECT_EQ(b[54 + 2], 0) << "the first row in the file is the bottom one, red 0";
    EXPECT_EQ(b[54 + 1], 20) << "green of the bottom row";
    Image back;
    ASSERT_EQ(ReadBitmap(b, back), BitmapStatus::Ok);
    ExpectPattern(back, width, 3);
  }
  Image broken;
  broken.width = 2, broken.height = 2;
  broken.pixels.resize(3);
  EXPECT_TRUE(EncodeBitmap(broken).empty());
  EXPECT_TRUE(EncodeBitmap(Image{}).empty());
}

TEST(BitmapReaderTest, ReadsEightBitsThroughTheColourTable) {
  std::vector<uint8_t> b(54 + 2 * 4 + 4, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 10, 62);
  Put32(b, 14, 40);
  Put32(b, 18, 2);
  Put32(b, 22, 1);
  Put16(b, 26, 1);
  Put16(b, 28, 8);
  Put32(b, 46, 2);
  b[54] = 0x30, b[55] = 0x20, b[56] = 0x10;  // entry 0: blue, green, red
  b[58] = 0xFF;                              // entry 1: blue
  b[62] = 1, b[63] = 5;                      // 5 lies beyond the table
  Image image;
  ASSERT_EQ(ReadBitmap(b, image), BitmapStatus::Ok);
  EXPECT_EQ(image.pixels, (std::vector<Colour>{RgbColour(0, 0, 255), 0}));
}

TEST(BitmapReaderTest, RefusesTruncatedCompressedAndForeignFiles) {
  Image image;
  std::vector<uint8_t> b = Bitmap24(4, 4, false);
  std::vector<uint8_t> shortened(b.begin(), b.end() - 1);
  EXPECT_EQ(ReadBitmap(shortened, image), BitmapStatus::Unreadable);
  EXPECT_TRUE(image.pixels.empty());
  EXPECT_EQ(ReadBitmap(std::span(b.data(), 30), image), BitmapStatus::Unreadable);
  EXPECT_EQ(ReadBitmap({}, image), BitmapStatus::Unreadable);

  std::vector<uint8_t> compressed = b;
  Put32(compressed, 30, 1);
  EXPECT_EQ(ReadBitmap(compressed, image), BitmapStatus::Unsupported);

  std::vector<uint8_t> foreign = b;
  foreign[0] = 'P';
  EXPECT_EQ(ReadBitmap(foreign, image), BitmapStatus::Unreadable);

  // A huge picture is refused before anything is allocated, a merely large
  // one because the file cannot back it.
  std::vector<uint8_t> huge = b;
  Put32(huge, 18, 100000), Put32(huge, 22, 100000);
  EXPECT_EQ(ReadBitmap(huge, image), BitmapStatus::Unsupported);
  std::vector<uint8_t> large = b;
  Put32(large, 18, 4000), Put32(large, 22, 4000);
  EXPECT_EQ(ReadBitmap(large, image), BitmapStatus::Unreadable);
  std::vector<uint8_t> negative = b;
  Put32(negative, 18, static_cast<uint32_t>(-4));
  EXPECT_EQ(ReadBitmap(negative, image), BitmapStatus::Unreadable);
  std::vector<uint8_t> farOffset = b;
  Put32(farOffset, 10, 0xFFFFFFF0u);
  EXPECT_EQ(ReadBitmap(farOffset, image), BitmapStatus::Unreadable);
  EXPECT_TRUE(image.pixels.empty());
}

// Map files: only regular files are read, and of them only the headers and
// the rows the headers name, after the headers were checked against the
// file's size.
TEST(BitmapFileTest, ReadsOnlyRegularFilesAndOnlyTheirPicture) {
  namespace fs = std::filesystem;
  const test::TempFolder folder("hp_bitmap_file");
  fs::create_directories(folder / "Ordner.bmp");
  ASSERT_EQ(::mkfifo((folder / "Rohr.bmp").c_str(), 0600), 0);
  const auto put = [&](const char* name, const std::vector<uint8_t>& bytes, uint64_t size) {
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    fs::resize_file(folder / name, size);  // sparse beyond the bytes
    return folder / name;
  };
  const std::vector<uint8_t> map = Bitmap24(3, 2, false);
  std::vector<uint8_t> rowsBeyondTheEnd = map;
  Put32(rowsBeyondTheEnd, 10, 0x7FFFFFF0u);
  std::vector<uint8_t> table8 = map;  // 8 bits, and the colour table cut off by the file's end
  Put16(table8, 28, 8);
  const std::pair<fs::path, BitmapStatus> cases[] = {
      {put("karte.bmp", map, map.size()), BitmapStatus::Ok},
      {put("gross.bmp", map, 3ULL << 30), BitmapStatus::Ok},  // what follows the rows is never read
      {put("weit.bmp", rowsBeyondTheEnd, 1ULL << 30), BitmapStatus::Unreadable},
      {put("tabelle.bmp", table8, 60), BitmapStatus::Unreadable},
      {put("kurz.bmp", map, 40), BitmapStatus::Unreadable},
      {folder / "Ordner.bmp", BitmapStatus::Unreadable},
      {folder / "Rohr.bmp", BitmapStatus::Unreadable},
      {"/dev/zero", BitmapStatus::Unreadable},
  };
  ::alarm(30);  // a reader blocked on the FIFO ends the test program
  for (const auto& [path, status] : cases) {
    Image image;
    EXPECT_EQ(ReadBitmapFile(path, image), status) << path;
    if (status == BitmapStatus::Ok) ExpectPattern(image, 3, 2);
  }
  ::alarm(0);
}

class BackgroundMapTest : public test::DrawingTest {
 protected:
  BackgroundMapTest() {
    std::filesystem::create_directories(folder / "Karten");
    Add("- 1 @ 0 0 0 100 50 0 length=1");
  }
  void WriteMap(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(folder / "Karten" / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  void UseMap(std::string_view storedName, double left, double bottom, double right, double top) {
    ws.setBackgroundMap(1);
    ws.setBackgroundMapFile(storedName);
    ws.setMapLeft(left), ws.setMapBottom(bottom), ws.setMapRight(right), ws.setMapTop(top);
  }
  PlaneDrawingResult Draw(bool preview = false) {
    surface = RecordingSurface();
    view.setProjectionDirty(true);
    PlaneDrawingOptions options;
    options.preview = preview;
    options.backgroundMap = &holder;
    options.documentFolder = folder;
    options.prompter = &prompter;
    result = DrawPlane(surface, store, ws, view, settings, options);
    return result;
  }
  Point At(double x, double y) const { return DrawingTest::At(result, x, y); }
  std::vector<RecordedPrimitive> Images() const { return Of(Kind::Image); }

  test::TempFolder folder{"hp_background_map"};
  PlaneDrawingResult result;
  BackgroundMap holder;
  platform::ScriptedPrompter prompter;
};

TEST_F(BackgroundMapTest, DrawnStretchedIntoItsEdgesBeforeTheLegs) {
  WriteMap("karte.bmp", Bitmap24(4, 2, false));
  UseMap("Karten\\karte.bmp", 10, 10, 60, 40);  // inside the drawing area
  ASSERT_TRUE(Draw().drawn);
  EXPECT_TRUE(prompter.Texts().empty());
  ASSERT_FALSE(surface.primitives().empty());
  const RecordedPrimitive& first = surface.primitives().front();
  ASSERT_EQ(first.kind, Kind::Image);
  EXPECT_EQ(first.imageWidth, 4);
  EXPECT_EQ(first.imageHeight, 2);
  EXPECT_EQ(first.from, At(10, 40));
  EXPECT_EQ(first.to, At(60, 10));
  EXPECT_EQ(Images().size(), 1u);
}

TEST_F(BackgroundMapTest, OnlyThePartInsideTheDrawingAreaIsDrawn) {
  WriteMap("gross.bmp", Bitmap24(10, 10, true));
  Draw();
  const PlaneRect area = result.layout.area;
  // The map's right half lies beyond the area's right edge.
  const double w = 2 * (area.right - area.left);
  UseMap("Karten/gross.bmp", area.left, area.bottom, area.left + w, area.top);
  Draw();
  const auto images = Images();
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].imageWidth, 5);
  EXPECT_EQ(images[0].imageHeight, 10);
  EXPECT_EQ(images[0].from, At(area.left, area.top));
  EXPECT_EQ(images[0].to, At(area.right, area.bottom));
}

TEST_F(BackgroundMapTest, MissingOrCompressedMapToldOnceAndTheDrawingGoesOn) {
  UseMap("Karten\\fehlt.bmp", 10, 10, 60, 40);
  ASSERT_TRUE(Draw().drawn);
  EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{std::string(kBackgroundMapCannotOpen)}));
  EXPECT_TRUE(Images().empty());
  bool legDrawn = false;
  for (const auto& p : surface.primitives())
    if (p.kind == Kind::Line && p.from == At(0, 0) && p.to == At(100, 50)) legDrawn = true;
  EXPECT_TRUE(legDrawn);

  // The map stays off without a further message ...
  WriteMap("fehlt.bmp", Bitmap24(2, 2, false));
  Draw();
  EXPECT_EQ(prompter.Texts().size(), 1u);
  EXPECT_TRUE(Images().empty());
  // ... until the name changes.
  ws.setBackgroundMapFile("Karten/fehlt.bmp");
  Draw();
  EXPECT_EQ(prompter.Texts().size(), 1u);
  EXPECT_EQ(Images().size(), 1u);

  // A compressed map gets the other message, once.
  std::vector<uint8_t> rle = Bitmap24(2, 2, false);
  Put32(rle, 30, 1);
  WriteMap("rle.bmp", rle);
  ws.setBackgroundMapFile("Karten\\rle.bmp");
  Draw();
  Draw();
  EXPECT_EQ(prompter.Texts(),
            (std::vector<std::string>{std::string(kBackgroundMapCannotOpen), std::string(kBackgroundMapUnsupported)}));
  EXPECT_TRUE(Images().empty());
}

TEST_F(BackgroundMapTest, NotInThePreviewNorSwitchedOffNorWithoutSize) {
  WriteMap("karte.bmp", Bitmap24(2, 2, false));
  UseMap("Karten\\karte.bmp", 10, 10, 60, 40);
  Draw(true);
  EXPECT_TRUE(Images().empty());
  ws.setBackgroundMap(0);
  Draw();
  EXPECT_TRUE(Images().empty());
  UseMap("Karten\\karte.bmp", 10, 10, 10, 40);
  Draw();
  EXPECT_TRUE(Images().empty());
  EXPECT_TRUE(prompter.Texts().empty());
}

}  // namespace
}  // namespace hp::draw
