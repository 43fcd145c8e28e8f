// Deterministic random numbers for the survey generators.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hp::bench {

// splitmix64: the same numbers with every standard library, unlike the
// distributions of <random>.
class Random {
 public:
  explicit Random(uint64_t seed) : m_state(seed) {}
  uint64_t Next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  double Uniform(double low, double high) { return low + (high - low) * static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  bool Chance(double p) { return Uniform(0, 1) < p; }

 private:
  uint64_t m_state;
};

}  // namespace hp::bench
