// The background map of a plane drawing: a Windows bitmap file named in the
// worksheet, read once and kept until the name changes, and the reader for
// such files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "draw/Surface.h"
#include "platform/Prompter.h"

namespace hp::draw {

inline constexpr std::string_view kBackgroundMapCannotOpen = "Die Hintergrundkarte kann nicht geöffnet werden.";
inline constexpr std::string_view kBackgroundMapUnsupported =
    "Die Hintergrundkarte ist zu groß bzw. RLE-Komprimierung wird nicht unterstützt..";

// The largest picture the reader accepts, in pixels.
inline constexpr int64_t kMaxBitmapPixels = 64LL * 1024 * 1024;

enum class BitmapStatus {
  Ok,
  Unreadable,   // missing, not a bitmap, or truncated
  Unsupported,  // compressed, an unsupported depth, or too large
};

// Reads an uncompressed bitmap (file header and 40-byte or longer info
// header; 8 bits with a colour table, 24 or 32 bits; rows bottom-up or
// top-down, padded to 4 bytes). `image` is left empty unless Ok.
BitmapStatus ReadBitmap(std::span<const uint8_t> bytes, Image& image);
// The same from a file: only a regular file is read (anything else is
// Unreadable), its headers first; they are checked against the file's size
// before the rows they describe are read, and nothing else of the file is
// kept.
BitmapStatus ReadBitmapFile(const std::filesystem::path& path, Image& image);

// The bytes of `image` as the program writes bitmaps: 24 bits per pixel, no
// colour table, rows bottom-up in blue-green-red order padded to 4 bytes,
// the image size set, 3780 pixels per metre. Empty when the image is empty
// or does not hold width x height pixels.
std::vector<uint8_t> EncodeBitmap(const Image& image);

// Keeps the map of one window between drawings: the file is read the first
// time it is asked for; after a failure the message is shown once and the
// map stays off until the stored name (or the document's folder) changes.
class BackgroundMap {
 public:
  // The map for `storedName` (a stored file name, Windows-1252) of a document
  // in `documentFolder`; null when it cannot be read. `prompter` may be null.
  const Image* Get(const std::filesystem::path& documentFolder, std::string_view storedName,
                   platform::Prompter* prompter);
  // Forgets the picture and any failure, so the next Get reads again.
  void Reset();

 private:
  std::filesystem::path m_folder;
  std::string m_name;
  bool m_tried = false;
  bool m_failed = false;
  Image m_image;
};

}  // namespace hp::draw
