// Bitmap reading and the background map kept between drawings.
#include "draw/BackgroundMap.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "base/ByteIo.h"
#include "base/ByteStream.h"
#include "base/StoredPath.h"

namespace hp::draw {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kMinInfoHeaderSize = 40;
// The longest info header written is 124 bytes; more is no bitmap.
constexpr uint32_t kMaxInfoHeaderSize = 4096;

uint16_t U16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
int32_t I32(std::span<const uint8_t> b, size_t at) { return static_cast<int32_t>(U32(b, at)); }

// Blue, green, red as they lie in the file.
Colour FromBgr(const uint8_t* p) { return RgbColour(p[2], p[1], p[0]); }

// What the headers say about the pixels.
struct Layout {
  int32_t width = 0;
  int64_t height = 0;
  bool topDown = false;
  uint16_t bits = 0;
  uint64_t pixelOffset = 0;
  uint64_t stride = 0;      // bytes from one row to the next
  uint64_t pixelBytes = 0;  // what the rows need; the last may go without its padding
  uint64_t tableAt = 0;
  uint64_t tableEntries = 0;
};

// The size of the headers the first 18 bytes announce (file header, info
// header); 0 when they are no bitmap's.
uint64_t HeaderSize(std::span<const uint8_t> start) {
  if (start.size() < kFileHeaderSize + 4 || start[0] != 'B' || start[1] != 'M') return 0;
  const uint32_t infoSize = U32(start, 14);
  if (infoSize < kMinInfoHeaderSize || infoSize > kMaxInfoHeaderSize) return 0;
  return kFileHeaderSize + infoSize;
}

// Checks the headers (HeaderSize bytes) against a file of `size` bytes
// before any pixel is read: the colour table and the rows must lie in it.
BitmapStatus ReadLayout(std::span<const uint8_t> headers, uint64_t size, Layout& layout) {
  const uint64_t headerSize = HeaderSize(headers);
  if (headerSize == 0 || headers.size() < headerSize || headerSize > size) return BitmapStatus::Unreadable;
  layout.pixelOffset = U32(headers, 10);
  layout.width = I32(headers, 18);
  const int32_t rawHeight = I32(headers, 22);
  const uint16_t planes = U16(headers, 26);
  layout.bits = U16(headers, 28);
  const uint32_t compression = U32(headers, 30), coloursUsed = U32(headers, 46);
  if (planes != 1) return BitmapStatus::Unreadable;
  if (compression != 0 || (layout.bits != 8 && layout.bits != 24 && layout.bits != 32))
    return BitmapStatus::Unsupported;
  if (layout.width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<int32_t>::min())
    return BitmapStatus::Unreadable;
  layout.topDown = rawHeight < 0;
  layout.height = layout.topDown ? -static_cast<int64_t>(rawHeight) : rawHeight;
  if (static_cast<int64_t>(layout.width) * layout.height > kMaxBitmapPixels) return BitmapStatus::Unsupported;

  // The colour table follows the info header.
  if (layout.bits == 8) {
    layout.tableEntries = coloursUsed == 0 ? 256 : coloursUsed;
    if (layout.tableEntries > 256) return BitmapStatus::Unreadable;
    layout.tableAt = headerSize;
    if (layout.tableAt + layout.tableEntries * 4 > size) return BitmapStatus::Unreadable;
  }
  const uint64_t rowBytes = (static_cast<uint64_t>(layout.width) * layout.bits + 7) / 8;
  layout.stride = (static_cast<uint64_t>(layout.width) * layout.bits + 31) / 32 * 4;
  layout.pixelBytes = layout.stride * static_cast<uint64_t>(layout.height - 1) + rowBytes;
  if (layout.pixelOffset > size || size - layout.pixelOffset < layout.pixelBytes) return BitmapStatus::Unreadable;
  return BitmapStatus::Ok;
}

std::vector<Colour> ReadColourTable(std::span<const uint8_t> table) {
  std::vector<Colour> colours;
  for (size_t i = 0; i + 4 <= table.size(); i += 4) colours.push_back(FromBgr(&table[i]));
  return colours;
}

// The picture from the rows (`pixels` holds layout.pixelBytes bytes).
void ReadPixels(const Layout& layout, const std::vector<Colour>& table, std::span<const uint8_t> pixels, Image& image) {
  const int32_t width = layout.width;
  image.width = width;
  image.height = static_cast<int>(layout.height);
  image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(layout.height));
  const size_t step = layout.bits / 8;
  for (int64_t y = 0; y < layout.height; ++y) {
    const int64_t fileRow = layout.topDown ? y : layout.height - 1 - y;
    const uint8_t* row = pixels.data() + static_cast<uint64_t>(fileRow) * layout.stride;
    Colour* out = image.pixels.data() + y * width;
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + x * step;
      if (layout.bits == 8) out[x] = *p < table.size() ? table[*p] : 0;
      else out[x] = FromBgr(p);
    }
  }
}

// Reads exactly out.size() bytes.
bool ReadExactly(base::ByteSource& source, std::span<uint8_t> out) { return source.Read(out) == out.size(); }

// Passes over `count` bytes without keeping them.
bool Skip(base::ByteSource& source, uint64_t count) {
  std::vector<uint8_t> scratch(static_cast<size_t>(std::min<uint64_t>(count, 1 << 16)));
  while (count > 0) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count, scratch.size()));
    if (source.Read(std::span(scratch).first(n)) != n) return false;
    count -= n;
  }
  return true;
}

}  // namespace

BitmapStatus ReadBitmap(std::span<const uint8_t> bytes, Image& image) {
  image = {};
  Layout layout;
  const BitmapStatus status = ReadLayout(bytes, bytes.size(), layout);
  if (status != BitmapStatus::Ok) return status;
  const std::vector<Colour> table = ReadColourTable(bytes.subspan(layout.tableAt, layout.tableEntries * 4));
  ReadPixels(layout, table, bytes.subspan(layout.pixelOffset, layout.pixelBytes), image);
  return BitmapStatus::Ok;
}

std::vector<uint8_t> EncodeBitmap(const Image& image) {
  constexpr uint32_t kPixelsPerMetre = 3780;  // 96 dpi
  if (image.width <= 0 || image.height <= 0) return {};
  const uint64_t pixels = static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height);
  if (image.pixels.size() != pixels || pixels > static_cast<uint64_t>(kMaxBitmapPixels)) return {};
  const size_t rowBytes = (static_cast<size_t>(image.width) * 3 + 3) / 4 * 4;
  const size_t imageBytes = rowBytes * static_cast<size_t>(image.height);
  const size_t headers = kFileHeaderSize + kMinInfoHeaderSize;
  std::vector<uint8_t> out(headers + imageBytes, 0);
  const std::span<uint8_t> b(out);
  b[0] = 'B';
  b[1] = 'M';
  base::StoreLE(b, 2, static_cast<uint32_t>(out.size()));
  base::StoreLE(b, 10, static_cast<uint32_t>(headers));
  base::StoreLE(b, 14, kMinInfoHeaderSize);
  base::StoreLE(b, 18, static_cast<int32_t>(image.width));
  base::StoreLE(b, 22, static_cast<int32_t>(image.height));  // positive: bottom-up
  base::StoreLE(b, 26, uint16_t{1});                         // planes
  base::StoreLE(b, 28, uint16_t{24});                        // bits per pixel
  base::StoreLE(b, 30, uint32_t{0});                         // no compression
  base::StoreLE(b, 34, static_cast<uint32_t>(imageBytes));
  base::StoreLE(b, 38, kPixelsPerMetre);
  base::StoreLE(b, 42, kPixelsPerMetre);
  for (int y = 0; y < image.height; ++y) {
    uint8_t* row = out.data() + headers + static_cast<size_t>(image.height - 1 - y) * rowBytes;
    const Colour* source = image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width);
    for (int x = 0; x < image.width; ++x) {
      row[3 * x] = static_cast<uint8_t>(source[x] >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(source[x] >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(source[x]);
    }
  }
  return out;
}

BitmapStatus ReadBitmapFile(const std::filesystem::path& path, Image& image) {
  image = {};
  // Only a regular file is read, and only as far as its headers say, after
  // they were checked against its size: a large file costs no more than its
  // picture.
  base::FileSource source(path);
  if (!source.IsOpen()) return BitmapStatus::Unreadable;
  std::vector<uint8_t> headers(kFileHeaderSize + 4);
  if (!ReadExactly(source, headers)) return BitmapStatus::Unreadable;
  const uint64_t headerSize = HeaderSize(headers);
  if (headerSize == 0 || headerSize > source.Size()) return BitmapStatus::Unreadable;
  headers.resize(static_cast<size_t>(headerSize));
  if (!ReadExactly(source, std::span(headers).subspan(kFileHeaderSize + 4))) return BitmapStatus::Unreadable;
  Layout layout;
  const BitmapStatus status = ReadLayout(headers, source.Size(), layout);
  if (status != BitmapStatus::Ok) return status;

  // The colour table follows the headers; the rows may start anywhere after
  // the file header, even within the headers or the table.
  std::vector<uint8_t>& front = headers;
  front.resize(static_cast<size_t>(headerSize + layout.tableEntries * 4));
  if (!ReadExactly(source, std::span(front).subspan(static_cast<size_t>(headerSize)))) return BitmapStatus::Unreadable;
  std::vector<uint8_t> pixels(static_cast<size_t>(layout.pixelBytes));
  size_t fromFront = 0;
  if (layout.pixelOffset < front.size()) {
    fromFront = static_cast<size_t>(std::min<uint64_t>(front.size() - layout.pixelOffset, pixels.size()));
    std::copy_n(front.begin() + static_cast<std::ptrdiff_t>(layout.pixelOffset), fromFront, pixels.begin());
  } else if (!Skip(source, layout.pixelOffset - front.size())) {
    return BitmapStatus::Unreadable;
  }
  if (!ReadExactly(source, std::span(pixels).subspan(fromFront))) return BitmapStatus::Unreadable;
  const std::span<const uint8_t> table =
      std::span(front).subspan(static_cast<size_t>(layout.tableAt), static_cast<size_t>(layout.tableEntries * 4));
  ReadPixels(layout, ReadColourTable(table), pixels, image);
  return BitmapStatus::Ok;
}

const Image* BackgroundMap::Get(const std::filesystem::path& documentFolder, std::string_view storedName,
                                platform::Prompter* prompter) {
  if (!m_tried || storedName != m_name || documentFolder != m_folder) {
    Reset();
    m_tried = true;
    m_name = storedName;
    m_folder = documentFolder;
    const BitmapStatus status = storedName.empty()
                                    ? BitmapStatus::Unreadable
                                    : ReadBitmapFile(base::ResolveStoredName(documentFolder, storedName), m_image);
    if (status != BitmapStatus::Ok) {
      m_failed = true;
      m_image = {};
      if (prompter)
        prompter->Message(status == BitmapStatus::Unsupported ? kBackgroundMapUnsupported : kBackgroundMapCannotOpen,
                          platform::Icon::Exclamation);
    }
  }
  return m_failed ? nullptr : &m_image;
}

void BackgroundMap::Reset() {
  m_folder.clear();
  m_name.clear();
  m_tried = m_failed = false;
  m_image = {};
}

}  // namespace hp::draw
