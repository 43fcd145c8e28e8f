// Mixed-type worksheet and record fields as one comparable list, so a test
// compares several of them in one line.
#pragma once

#include <vector>

namespace hp::test {

template <class... T>
std::vector<double> Nums(T... values) {
  return {static_cast<double>(values)...};
}

}  // namespace hp::test
