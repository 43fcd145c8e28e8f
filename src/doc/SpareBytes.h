// Bytes of a record image that the program only carries from the file it read
// to the file it writes. Almost every record holds zeros there, so the bytes
// take memory only when some of them are set: a million records keep the
// store smaller than their file.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace hp::doc {

// The bytes are held through a plain pointer, so the record stays a
// standard-layout type whose fields the compute pass can fetch by offset.
template <std::size_t N>
class SpareBytes {
 public:
  static constexpr std::size_t kSize = N;
  using Bytes = std::array<uint8_t, N>;

  SpareBytes() = default;
  SpareBytes(const SpareBytes& other) : m_bytes(Copy(other)) {}
  SpareBytes& operator=(const SpareBytes& other) {
    if (this != &other) {
      Bytes* copy = Copy(other);
      delete m_bytes;
      m_bytes = copy;
    }
    return *this;
  }
  SpareBytes(SpareBytes&& other) noexcept : m_bytes(std::exchange(other.m_bytes, nullptr)) {}
  SpareBytes& operator=(SpareBytes&& other) noexcept {
    if (this != &other) {
      delete m_bytes;
      m_bytes = std::exchange(other.m_bytes, nullptr);
    }
    return *this;
  }
  ~SpareBytes() { delete m_bytes; }

  // Keeps `bytes`; when all of them are zero, nothing is kept.
  void Assign(std::span<const uint8_t, N> bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; })) {
      delete m_bytes;
      m_bytes = nullptr;
      return;
    }
    if (m_bytes == nullptr) m_bytes = new Bytes();
    std::copy(bytes.begin(), bytes.end(), m_bytes->begin());
  }

  // The bytes kept, zeros where none are.
  void CopyTo(std::span<uint8_t, N> out) const {
    if (m_bytes != nullptr) {
      std::copy(m_bytes->begin(), m_bytes->end(), out.begin());
    } else {
      std::fill(out.begin(), out.end(), uint8_t{0});
    }
  }

  // Whether some byte is set (and memory is taken for them).
  bool any() const { return m_bytes != nullptr; }

 private:
  static Bytes* Copy(const SpareBytes& other) { return other.m_bytes != nullptr ? new Bytes(*other.m_bytes) : nullptr; }

  Bytes* m_bytes = nullptr;
};

}  // namespace hp::doc
