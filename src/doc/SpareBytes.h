// Bytes of a record image that the program only carries from the file it read
// to the file it writes. Almost every record holds zeros there, so the bytes
// take memory only when some of them are set: a million records keep the
// store smaller than their file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace hp::doc {

// The bytes are held through a plain pointer, so the record stays a
// standard-layout type whose fields the compute pass can fetch by offset.
// The header stays light: every part of the program includes the record.
template <std::size_t N>
class SpareBytes {
 public:
  static constexpr std::size_t kSize = N;

  SpareBytes() = default;
  SpareBytes(const SpareBytes& other) : m_bytes(Copy(other)) {}
  SpareBytes& operator=(const SpareBytes& other) {
    if (this != &other) {
      uint8_t* copy = Copy(other);
      delete[] m_bytes;
      m_bytes = copy;
    }
    return *this;
  }
  SpareBytes(SpareBytes&& other) noexcept : m_bytes(other.m_bytes) { other.m_bytes = nullptr; }
  SpareBytes& operator=(SpareBytes&& other) noexcept {
    if (this != &other) {
      delete[] m_bytes;
      m_bytes = other.m_bytes;
      other.m_bytes = nullptr;
    }
    return *this;
  }
  ~SpareBytes() { delete[] m_bytes; }

  // Keeps the N bytes at `bytes`; when all of them are zero, nothing is kept.
  void Assign(const uint8_t* bytes) {
    bool any = false;
    for (std::size_t i = 0; i < N && !any; ++i) any = bytes[i] != 0;
    if (!any) {
      delete[] m_bytes;
      m_bytes = nullptr;
      return;
    }
    if (m_bytes == nullptr) m_bytes = new uint8_t[N];
    std::memcpy(m_bytes, bytes, N);
  }

  // Writes the N bytes kept to `out`, zeros where none are.
  void CopyTo(uint8_t* out) const {
    if (m_bytes != nullptr) {
      std::memcpy(out, m_bytes, N);
    } else {
      std::memset(out, 0, N);
    }
  }

  // Whether some byte is set (and memory is taken for them).
  bool any() const { return m_bytes != nullptr; }

 private:
  static uint8_t* Copy(const SpareBytes& other) {
    if (other.m_bytes == nullptr) return nullptr;
    auto* copy = new uint8_t[N];
    std::memcpy(copy, other.m_bytes, N);
    return copy;
  }

  uint8_t* m_bytes = nullptr;
};

}  // namespace hp::doc
