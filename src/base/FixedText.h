// Fixed-size zero-terminated text fields as the stored structures hold them.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace hp::base {

// The text of a fixed-size field: up to its first zero byte, or the whole
// array when a (corrupt) field has none.
template <size_t N>
std::string_view TextOf(const char (&field)[N]) {
  const void* zero = std::memchr(field, 0, N);
  return std::string_view(field, zero ? static_cast<const char*>(zero) - field : N);
}

// Stores `text` cut to N - 1 bytes, terminates it and clears the rest.
template <size_t N>
void SetText(char (&field)[N], std::string_view text) {
  const size_t n = text.size() < N - 1 ? text.size() : N - 1;
  if (n > 0) std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, N - n);
}

}  // namespace hp::base
