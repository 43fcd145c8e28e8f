// Pictures drawn through a surface and written to a file: PNG and BMP from an
// image in memory, SVG and PDF as vector pages. Every file is written by way
// of a temporary file, so a failed write leaves any earlier file untouched.
#pragma once

#include <QImage>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "draw/Surface.h"
#include "platform/Prompter.h"

namespace hp::gfx {

enum class PictureFormat { Png, Bmp, Svg, Pdf };

// The format named by the file's extension (any case); none for others.
std::optional<PictureFormat> PictureFormatOf(const std::filesystem::path& path);

using Painting = std::function<void(draw::Surface&)>;

// Draws on an image of `caps`' pixel size cleared to `background`.
QImage PaintImage(const draw::DeviceCaps& caps, draw::Colour background, const Painting& paint);

// The picture as a bitmap file: see draw::EncodeBitmap.
std::vector<uint8_t> BitmapBytes(const QImage& image);

// Shown instead of a bitmap file when the picture could not be made.
inline constexpr std::string_view kPictureTooLarge = "Die Ausgabegrafik ist zu groß. Bitte Zoom verkleinern.";

// Bits per pixel of the bitmap file written from a picture of `planes` x
// `bitsPerPixel`: below 2 gives 1, up to 4 gives 4, above 8 gives 24, else 8.
int BitmapFileDepth(int planes, int bitsPerPixel);

// The picture as a bitmap file of `depth` bits per pixel: 24 as
// draw::EncodeBitmap writes it; 1, 4 or 8 with a full colour table of 2, 16
// or 256 entries (the picture's own colours where they fit, else the nearest
// of a fixed set). Empty for a null picture or one too large to write.
std::vector<uint8_t> BitmapBytes(const QImage& image, int depth);

// Writes the drawn picture to `path` as a bitmap file whose depth follows the
// picture's; an existing file is replaced only once the new one is complete.
// A null picture (one that was too large to make) shows kPictureTooLarge and
// writes nothing. False when no file was written (with its message).
bool ExportBitmap(const std::filesystem::path& path, const QImage& picture, platform::Prompter& prompter);

// Draws a picture of `caps` (pixel size, 96 dpi) with `paint` and writes it
// in `format`. False when the file could not be written.
bool WritePicture(const std::filesystem::path& path, PictureFormat format, const draw::DeviceCaps& caps,
                  draw::Colour background, const Painting& paint);

}  // namespace hp::gfx
