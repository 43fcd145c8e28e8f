// Bitmap reading and the background map kept between drawings.
#include "draw/BackgroundMap.h"

#include <fstream>
#include <limits>
#include <vector>

#include "base/ByteIo.h"
#include "base/StoredPath.h"

namespace hp::draw {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kMinInfoHeaderSize = 40;
// A file this large could only hold a picture beyond the pixel limit.
constexpr uintmax_t kMaxFileSize = 1024ULL * 1024 * 1024;

uint16_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
int32_t I32(std::span<const uint8_t> b, size_t at) { return static_cast<int32_t>(U32(b, at)); }

// Blue, green, red as they lie in the file.
Colour FromBgr(const uint8_t* p) { return RgbColour(p[2], p[1], p[0]); }

}  // namespace

BitmapStatus ReadBitmap(std::span<const uint8_t> bytes, Image& image) {
  image = {};
  const uint64_t size = bytes.size();
  if (size < kFileHeaderSize + kMinInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
    return BitmapStatus::Unreadable;
  const uint64_t pixelOffset = U32(bytes, 10);
  const uint32_t infoSize = U32(bytes, 14);
  if (infoSize < kMinInfoHeaderSize || kFileHeaderSize + infoSize > size) return BitmapStatus::Unreadable;
  const int32_t width = I32(bytes, 18), rawHeight = I32(bytes, 22);
  const uint16_t planes = U16(bytes, 26), bits = U16(bytes, 28);
  const uint32_t compression = U32(bytes, 30), coloursUsed = U32(bytes, 46);
  if (planes != 1) return BitmapStatus::Unreadable;
  if (compression != 0 || (bits != 8 && bits != 24 && bits != 32)) return BitmapStatus::Unsupported;
  if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<int32_t>::min())
    return BitmapStatus::Unreadable;
  const bool topDown = rawHeight < 0;
  const int64_t height = topDown ? -static_cast<int64_t>(rawHeight) : rawHeight;
  if (static_cast<int64_t>(width) * height > kMaxBitmapPixels) return BitmapStatus::Unsupported;

  // The colour table follows the info header.
  std::vector<Colour> table;
  if (bits == 8) {
    const uint64_t entries = coloursUsed == 0 ? 256 : coloursUsed;
    if (entries > 256) return BitmapStatus::Unreadable;
    const uint64_t tableAt = kFileHeaderSize + infoSize;
    if (tableAt + entries * 4 > size) return BitmapStatus::Unreadable;
    for (uint64_t i = 0; i < entries; ++i) table.push_back(FromBgr(&bytes[tableAt + i * 4]));
  }

  const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 7) / 8;
  const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  // The last row may go without its padding.
  if (pixelOffset > size || (size - pixelOffset) < stride * (height - 1) + rowBytes) return BitmapStatus::Unreadable;

  image.width = width;
  image.height = static_cast<int>(height);
  image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  const size_t step = bits / 8;
  for (int64_t y = 0; y < height; ++y) {
    const int64_t fileRow = topDown ? y : height - 1 - y;
    const uint8_t* row = bytes.data() + pixelOffset + fileRow * stride;
    Colour* out = image.pixels.data() + y * width;
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + x * step;
      if (bits == 8)
        out[x] = *p < table.size() ? table[*p] : 0;
      else
        out[x] = FromBgr(p);
    }
  }
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
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return BitmapStatus::Unreadable;
  if (size > kMaxFileSize) return BitmapStatus::Unsupported;
  std::ifstream in(path, std::ios::binary);
  if (!in) return BitmapStatus::Unreadable;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<uintmax_t>(in.gcount()) != size) return BitmapStatus::Unreadable;
  return ReadBitmap(bytes, image);
}

const Image* BackgroundMap::Get(const std::filesystem::path& documentFolder, std::string_view storedName,
                                platform::Prompter* prompter) {
  if (!m_tried || storedName != m_name || documentFolder != m_folder) {
    Reset();
    m_tried = true;
    m_name = storedName;
    m_folder = documentFolder;
    const BitmapStatus status =
        storedName.empty() ? BitmapStatus::Unreadable
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
