// A survey of two square loops of 10 m legs side by side, for the tests of
// the loop-quality colouring: A-B-C-D-A closes exactly, E-F-G-H-E has the
// compass reading of G-H 10 degrees off. One leg D-E joins them and is in no
// loop, as are the spur H-I and the auxiliary line from I.
#pragma once

#include <string_view>

namespace hp::test {

inline constexpr std::string_view kTwoLoops = R"(
A A @ 0 0 0  0 0 0
A B 10 0 0
B C 10 90 0
C D 10 180 0
D A 10 270 0
D E 10 90 0
E F 10 0 0
F G 10 90 0
G H 10 190 0
H E 10 270 0
H I 5 180 0
I - 3 90 0
)";

// List positions in kTwoLoops.
inline constexpr size_t kCleanLoop[] = {1, 2, 3, 4};
inline constexpr size_t kBlunderedLoop[] = {6, 7, 8, 9};
inline constexpr size_t kInNoLoop[] = {0, 5, 10, 11};
inline constexpr size_t kBlunderedLeg = 8;

}  // namespace hp::test
