// Pictures drawn through a surface and written to a file: PNG and BMP from an
// image in memory, SVG and PDF as vector pages. Every file is written by way
// of a temporary file, so a failed write leaves any earlier file untouched.
#pragma once

#include <QImage>
#include <filesystem>
#include <functional>
#include <optional>

#include "draw/Surface.h"

namespace hp::gfx {

enum class PictureFormat { Png, Bmp, Svg, Pdf };

// The format named by the file's extension (any case); none for others.
std::optional<PictureFormat> PictureFormatOf(const std::filesystem::path& path);

using Painting = std::function<void(draw::Surface&)>;

// Draws on an image of `caps`' pixel size cleared to `background`.
QImage PaintImage(const draw::DeviceCaps& caps, draw::Colour background, const Painting& paint);

// The picture as a bitmap file: see draw::EncodeBitmap.
std::vector<uint8_t> BitmapBytes(const QImage& image);

// Draws a picture of `caps` (pixel size, 96 dpi) with `paint` and writes it
// in `format`. False when the file could not be written.
bool WritePicture(const std::filesystem::path& path, PictureFormat format, const draw::DeviceCaps& caps,
                  draw::Colour background, const Painting& paint);

}  // namespace hp::gfx
