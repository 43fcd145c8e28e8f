// The field walker behind the document file's byte images: one Visit
// function per structure names each field with its offset, and the same walk
// either decodes an image into the structure or encodes the structure into an
// image. Offsets are explicit so the layout never depends on struct padding.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "base/ByteIo.h"
#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"

namespace hp::doc::image {

// Reads fields out of an image.
struct Decoder {
  std::span<const uint8_t> image;
  template <base::LittleEndianValue T>
  void Value(size_t offset, T& value) const {
    value = base::LoadLE<T>(image, offset);
  }
  void Bytes(size_t offset, void* out, size_t size) const { base::LoadBytes(image, offset, out, size); }
};

// Writes fields into an image.
struct Encoder {
  std::span<uint8_t> image;
  template <base::LittleEndianValue T>
  void Value(size_t offset, const T& value) const {
    base::StoreLE<T>(image, offset, value);
  }
  void Bytes(size_t offset, const void* in, size_t size) const { base::StoreBytes(image, offset, in, size); }
};

template <class T>
concept ByteLike = std::same_as < std::remove_const_t<T>,
char > || std::same_as<std::remove_const_t<T>, uint8_t>;

// Image size of the element types that appear in arrays.
template <class T>
inline constexpr size_t kImageSize = sizeof(T);
template <>
inline constexpr size_t kImageSize<FontSetting> = 60;
template <>
inline constexpr size_t kImageSize<const FontSetting> = 60;
template <>
inline constexpr size_t kImageSize<LegacyFont> = 50;
template <>
inline constexpr size_t kImageSize<const LegacyFont> = 50;
template <>
inline constexpr size_t kImageSize<InstrumentRecord> = 20;
template <>
inline constexpr size_t kImageSize<const InstrumentRecord> = 20;

template <class Io, class T>
requires base::LittleEndianValue<std::remove_const_t<T>>
void Field(const Io& io, size_t offset, T& value) { io.Value(offset, value); }

// Texts and reserved areas are copied byte for byte.
template <class Io, ByteLike C, size_t N>
void Field(const Io& io, size_t offset, C (&bytes)[N]) {
  io.Bytes(offset, bytes, N);
}

// Spare bytes take memory only when some are set.
template <size_t N>
void Field(const Decoder& io, size_t offset, SpareBytes<N>& spare) {
  std::array<uint8_t, N> bytes{};
  io.Bytes(offset, bytes.data(), N);
  spare.Assign(bytes.data());
}

template <size_t N>
void Field(const Encoder& io, size_t offset, const SpareBytes<N>& spare) {
  std::array<uint8_t, N> bytes{};
  spare.CopyTo(bytes.data());
  io.Bytes(offset, bytes.data(), N);
}

template <class Io, class T, size_t N>
requires(!ByteLike<T>) void Field(const Io& io, size_t offset, T (&values)[N]) {
  for (size_t i = 0; i < N; ++i) Field(io, offset + i * kImageSize<T>, values[i]);
}

template <class Io, class F>
requires std::same_as<std::remove_const_t<F>, FontSetting>
void Field(const Io& io, size_t o, F& f) {
  Field(io, o + 0, f.height);
  Field(io, o + 4, f.width);
  Field(io, o + 8, f.escapement);
  Field(io, o + 12, f.orientation);
  Field(io, o + 16, f.weight);
  Field(io, o + 20, f.italic);
  Field(io, o + 21, f.underline);
  Field(io, o + 22, f.strikeOut);
  Field(io, o + 23, f.charSet);
  Field(io, o + 24, f.outPrecision);
  Field(io, o + 25, f.clipPrecision);
  Field(io, o + 26, f.quality);
  Field(io, o + 27, f.pitchAndFamily);
  Field(io, o + 28, f.faceName);
}

template <class Io, class F>
requires std::same_as<std::remove_const_t<F>, LegacyFont>
void Field(const Io& io, size_t o, F& f) {
  Field(io, o + 0, f.height);
  Field(io, o + 2, f.width);
  Field(io, o + 4, f.escapement);
  Field(io, o + 6, f.orientation);
  Field(io, o + 8, f.weight);
  Field(io, o + 10, f.italic);
  Field(io, o + 11, f.underline);
  Field(io, o + 12, f.strikeOut);
  Field(io, o + 13, f.charSet);
  Field(io, o + 14, f.outPrecision);
  Field(io, o + 15, f.clipPrecision);
  Field(io, o + 16, f.quality);
  Field(io, o + 17, f.pitchAndFamily);
  Field(io, o + 18, f.faceName);
}

template <class Io, class R>
requires std::same_as<std::remove_const_t<R>, InstrumentRecord>
void Field(const Io& io, size_t o, R& r) {
  Field(io, o + 0, r.azimuthUnit);
  Field(io, o + 4, r.declination);
  Field(io, o + 12, r.inclinationUnit);
  Field(io, o + 16, r.verticalReference);
}

}  // namespace hp::doc::image
