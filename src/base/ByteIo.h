// Bounds-checked little-endian access to byte images. Every stored structure
// is mapped to its file image field by field through these helpers; nothing
// is copied between a struct and a file as raw memory.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace hp::base {

static_assert(std::numeric_limits<double>::is_iec559, "IEEE 754 doubles required");

template <class T>
concept LittleEndianValue = std::is_same_v<T, int8_t> || std::is_same_v<T, uint8_t> || std::is_same_v<T, int16_t> ||
    std::is_same_v<T, uint16_t> || std::is_same_v<T, int32_t> || std::is_same_v<T, uint32_t> ||
    std::is_same_v<T, int64_t> || std::is_same_v<T, uint64_t> || std::is_same_v<T, double>;

// An access outside an image is a programming error: the exception names
// the access, its offset and size and the image's size.
[[noreturn]] inline void ThrowOutsideImage(const char* access, size_t offset, size_t size, size_t imageSize) {
  const std::string bytes = std::to_string(size), at = std::to_string(offset), image = std::to_string(imageSize);
  throw std::out_of_range(std::string(access) + " of " + bytes + " bytes at offset " + at + " outside the image of " +
                          image + " bytes");
}

// Reads a value of type T at `offset` of `bytes`. An access outside the image
// is a programming error and throws std::out_of_range.
template <LittleEndianValue T>
T LoadLE(std::span<const uint8_t> bytes, size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) {
    ThrowOutsideImage("LoadLE", offset, sizeof(T), bytes.size());
  }
  using U = std::conditional_t<
      sizeof(T) == 1, uint8_t,
      std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;
  U raw = 0;
  for (size_t i = 0; i < sizeof(T); ++i) raw |= static_cast<U>(static_cast<U>(bytes[offset + i]) << (8 * i));
  return std::bit_cast<T>(raw);
}

// Writes `value` at `offset` of `bytes` in little-endian order.
template <LittleEndianValue T>
void StoreLE(std::span<uint8_t> bytes, size_t offset, T value) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) {
    ThrowOutsideImage("StoreLE", offset, sizeof(T), bytes.size());
  }
  using U = std::conditional_t<
      sizeof(T) == 1, uint8_t,
      std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;
  const U raw = std::bit_cast<U>(value);
  for (size_t i = 0; i < sizeof(T); ++i) bytes[offset + i] = static_cast<uint8_t>(raw >> (8 * i));
}

// Copies `size` raw bytes between an image and a field (text or reserved area).
inline void LoadBytes(std::span<const uint8_t> bytes, size_t offset, void* out, size_t size) {
  if (offset > bytes.size() || bytes.size() - offset < size) {
    ThrowOutsideImage("LoadBytes", offset, size, bytes.size());
  }
  if (size) std::memcpy(out, bytes.data() + offset, size);
}

inline void StoreBytes(std::span<uint8_t> bytes, size_t offset, const void* in, size_t size) {
  if (offset > bytes.size() || bytes.size() - offset < size) {
    ThrowOutsideImage("StoreBytes", offset, size, bytes.size());
  }
  if (size) std::memcpy(bytes.data() + offset, in, size);
}

}  // namespace hp::base
