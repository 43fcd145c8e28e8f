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

#include "base/ByteStream.h"
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
    for (int x = 0; x < rgb.width(); ++x) pixels.pixels.push_back(draw::RgbColour(qRed(row[x]), qGreen(row[x]), qBlue(row[x])));
  }
  return draw::EncodeBitmap(pixels);
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
