// Picture files: the drawing goes to a buffer, the buffer to the file.
#include "gfx/PictureFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <string>

#include "base/ByteIo.h"
#include "base/ByteStream.h"
#include "doc/DocumentFile.h"
#include "draw/BackgroundMap.h"
#include "gfx/QPainterSurface.h"

namespace hp::gfx {
namespace {

bool WriteBytes(const std::filesystem::path& path, const void* data, size_t size) {
  const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(data), size);
  return base::WriteFileAtomically(path, [&](base::ByteSink& sink) { return sink.Write(bytes); });
}

// Paints on a vector device the size of `caps`.
template <typename Device>
bool PaintVector(Device& device, const draw::DeviceCaps& caps, draw::Colour background, const Painting& paint) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.fillRect(QRect(0, 0, caps.widthPixels, caps.heightPixels), ToQColor(background));
  {
    QPainterSurface surface(painter, caps);
    paint(surface);
  }
  return painter.end();
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".png") return PictureFormat::Png;
  if (extension == ".bmp") return PictureFormat::Bmp;
  if (extension == ".svg") return PictureFormat::Svg;
  if (extension == ".pdf") return PictureFormat::Pdf;
  return std::nullopt;
}

QImage PaintImage(const draw::DeviceCaps& caps, draw::Colour background, const Painting& paint) {
  QImage image(std::max(1, caps.widthPixels), std::max(1, caps.heightPixels), QImage::Format_RGB32);
  if (image.isNull()) return image;
  constexpr double kDotsPerMetrePerDpi = 1000 / 25.4;
  image.setDotsPerMeterX(static_cast<int>(caps.dpiX * kDotsPerMetrePerDpi + 0.5));
  image.setDotsPerMeterY(static_cast<int>(caps.dpiY * kDotsPerMetrePerDpi + 0.5));
  image.fill(ToQColor(background));
  QPainter painter(&image);
  {
    QPainterSurface surface(painter, caps);
    paint(surface);
  }
  painter.end();
  return image;
}

std::vector<uint8_t> BitmapBytes(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  draw::Image pixels;
  pixels.width = rgb.width();
  pixels.height = rgb.height();
  pixels.pixels.reserve(static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height));
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x)
      pixels.pixels.push_back(draw::RgbColour(qRed(row[x]), qGreen(row[x]), qBlue(row[x])));
  }
  return draw::EncodeBitmap(pixels);
}

int BitmapFileDepth(int planes, int bitsPerPixel) {
  const int bits = planes * bitsPerPixel;
  if (bits < 2) return 1;
  if (bits <= 4) return 4;
  if (bits > 8) return 24;
  return 8;
}

namespace {

// The colours a picture is reduced to when it has more than its file's table
// holds: black and white, or the sixteen colours of the classic palette.
QList<QRgb> FixedColours(int depth) {
  if (depth == 1) return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
  QList<QRgb> table;
  for (int bright = 0; bright < 2; ++bright) {
    const int on = bright ? 255 : 128;
    for (int i = 0; i < 8; ++i) {
      if (bright && i == 0) {
        table.push_back(qRgb(128, 128, 128));
        continue;
      }
      if (!bright && i == 7) {
        table.push_back(qRgb(192, 192, 192));
        continue;
      }
      table.push_back(qRgb(i & 1 ? on : 0, i & 2 ? on : 0, i & 4 ? on : 0));
    }
  }
  return table;
}

std::vector<uint8_t> IndexedBitmapBytes(const QImage& image, int depth) {
  const size_t tableEntries = size_t{1} << depth;
  QImage indexed = image.format() == QImage::Format_Indexed8 ? image
                   : image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB
                       ? image.convertToFormat(QImage::Format_Indexed8)
                       : image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
  if (static_cast<size_t>(indexed.colorCount()) > tableEntries)
    indexed = image.convertToFormat(QImage::Format_Indexed8, FixedColours(depth), Qt::ThresholdDither);
  if (indexed.isNull()) return {};

  const size_t width = static_cast<size_t>(indexed.width());
  const size_t height = static_cast<size_t>(indexed.height());
  const size_t rowBytes = (width * static_cast<size_t>(depth) + 31) / 32 * 4;
  const size_t headers = 14 + 40 + 4 * tableEntries;
  std::vector<uint8_t> out(headers + rowBytes * height, 0);
  const std::span<uint8_t> b(out);
  b[0] = 'B';
  b[1] = 'M';
  base::StoreLE(b, 2, static_cast<uint32_t>(out.size()));
  base::StoreLE(b, 10, static_cast<uint32_t>(headers));
  base::StoreLE(b, 14, uint32_t{40});
  base::StoreLE(b, 18, static_cast<int32_t>(width));
  base::StoreLE(b, 22, static_cast<int32_t>(height));  // positive: bottom-up
  base::StoreLE(b, 26, uint16_t{1});
  base::StoreLE(b, 28, static_cast<uint16_t>(depth));
  base::StoreLE(b, 34, static_cast<uint32_t>(rowBytes * height));
  base::StoreLE(b, 38, uint32_t{3780});
  base::StoreLE(b, 42, uint32_t{3780});
  const QList<QRgb> colours = indexed.colorTable();
  for (size_t i = 0; i < static_cast<size_t>(colours.size()); ++i) {
    uint8_t* entry = out.data() + 54 + 4 * i;
    entry[0] = static_cast<uint8_t>(qBlue(colours[static_cast<qsizetype>(i)]));
    entry[1] = static_cast<uint8_t>(qGreen(colours[static_cast<qsizetype>(i)]));
    entry[2] = static_cast<uint8_t>(qRed(colours[static_cast<qsizetype>(i)]));
  }
  const int perByte = 8 / depth;
  for (size_t y = 0; y < height; ++y) {
    const uchar* source = indexed.constScanLine(static_cast<int>(y));
    uint8_t* row = out.data() + headers + (height - 1 - y) * rowBytes;
    for (size_t x = 0; x < width; ++x) {
      const int shift = 8 - depth * (static_cast<int>(x % static_cast<size_t>(perByte)) + 1);
      row[x / static_cast<size_t>(perByte)] |= static_cast<uint8_t>(source[x] << shift);
    }
  }
  return out;
}

}  // namespace

std::vector<uint8_t> BitmapBytes(const QImage& image, int depth) {
  if (image.isNull()) return {};
  if (static_cast<int64_t>(image.width()) * image.height() > draw::kMaxBitmapPixels) return {};
  if (depth == 24) return BitmapBytes(image);
  if (depth != 1 && depth != 4 && depth != 8) return {};
  return IndexedBitmapBytes(image, depth);
}

bool ExportBitmap(const std::filesystem::path& path, const QImage& picture, platform::Prompter& prompter) {
  const std::vector<uint8_t> bytes = BitmapBytes(picture, BitmapFileDepth(1, picture.depth()));
  if (bytes.empty()) {
    prompter.Message(kPictureTooLarge, platform::Icon::Exclamation);
    return false;
  }
  if (!WriteBytes(path, bytes.data(), bytes.size())) {
    prompter.Message(path.string() + doc::messages::kCannotWrite, platform::Icon::Stop);
    return false;
  }
  return true;
}

bool WritePicture(const std::filesystem::path& path, PictureFormat format, const draw::DeviceCaps& caps,
                  draw::Colour background, const Painting& paint) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  switch (format) {
    case PictureFormat::Png: {
      const QImage image = PaintImage(caps, background, paint);
      if (image.isNull() || !image.save(&buffer, "PNG")) return false;
      break;
    }
    case PictureFormat::Bmp: {
      const std::vector<uint8_t> bitmap = BitmapBytes(PaintImage(caps, background, paint));
      if (bitmap.empty()) return false;
      return WriteBytes(path, bitmap.data(), bitmap.size());
    }
    case PictureFormat::Svg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(QSize(caps.widthPixels, caps.heightPixels));
      svg.setViewBox(QRect(0, 0, caps.widthPixels, caps.heightPixels));
      svg.setResolution(caps.dpiX);
      svg.setTitle(QStringLiteral("Hollowplan"));
      if (!PaintVector(svg, caps, background, paint)) return false;
      break;
    }
    case PictureFormat::Pdf: {
      QPdfWriter pdf(&buffer);
      pdf.setResolution(caps.dpiX);
      pdf.setCreator(QStringLiteral("Hollowplan"));
      const QPageSize page(QSizeF(caps.widthPixels * 72.0 / caps.dpiX, caps.heightPixels * 72.0 / caps.dpiY),
                           QPageSize::Point, QString(), QPageSize::ExactMatch);
      pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
      if (!PaintVector(pdf, caps, background, paint)) return false;
      break;
    }
  }
  buffer.close();
  return WriteBytes(path, bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace hp::gfx
