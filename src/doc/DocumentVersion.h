// Document format versions: 0x00MMmmbb, major and minor as two-digit
// hexadecimal pairs, a build byte, and bit 24 for files of test builds.
#pragma once

#include <cstdint>

namespace hp::doc {

// Version word of major.minor (for example 22.08 is 0x00220800).
constexpr uint32_t FormatVersion(int major, int minor) {
  const auto pair = [](int n) { return static_cast<uint32_t>((n / 10) * 16 + n % 10); };
  return (pair(major) << 16) | (pair(minor) << 8);
}

inline constexpr uint32_t kCurrentVersion = FormatVersion(22, 8);
inline constexpr uint32_t kTestBuildBit = 0x01000000;

// The version compared by most rules: build byte and test bit cleared.
constexpr uint32_t ClearedVersion(uint32_t version) { return version & 0x00FFFF00; }
// The "full" version: only the test bit cleared.
constexpr uint32_t FullVersion(uint32_t version) { return version & 0x00FFFFFF; }

}  // namespace hp::doc
