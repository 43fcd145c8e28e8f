// Bytes of a record image that the program only carries from the file it read
// to the file it writes. Almost every record holds zeros there, so the bytes
// take memory only when some of them are set: a million records keep the
// store smaller than their file.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace hp::doc {

template <std::size_t N>
class SpareBytes {
 public:
  static constexpr std::size_t kSize = N;

  SpareBytes() = default;
  SpareBytes(const SpareBytes& other) : m_bytes(Copy(other)) {}
  SpareBytes& operator=(const SpareBytes& other) {
    if (this != &other) m_bytes = Copy(other);
    return *this;
  }
  SpareBytes(SpareBytes&&) noexcept = default;
  SpareBytes& operator=(SpareBytes&&) noexcept = default;
  ~SpareBytes() = default;

  // Keeps `bytes`; when all of them are zero, nothing is kept.
  void Assign(std::span<const uint8_t, N> bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; })) {
      m_bytes.reset();
      return;
    }
    if (!m_bytes) m_bytes = std::make_unique<std::array<uint8_t, N>>();
    std::copy(bytes.begin(), bytes.end(), m_bytes->begin());
  }

  // The bytes kept, zeros where none are.
  void CopyTo(std::span<uint8_t, N> out) const {
    if (m_bytes) {
      std::copy(m_bytes->begin(), m_bytes->end(), out.begin());
    } else {
      std::fill(out.begin(), out.end(), uint8_t{0});
    }
  }

  // Whether some byte is set (and memory is taken for them).
  bool any() const { return m_bytes != nullptr; }

 private:
  static std::unique_ptr<std::array<uint8_t, N>> Copy(const SpareBytes& other) {
    return other.m_bytes ? std::make_unique<std::array<uint8_t, N>>(*other.m_bytes) : nullptr;
  }

  std::unique_ptr<std::array<uint8_t, N>> m_bytes;
};

}  // namespace hp::doc
