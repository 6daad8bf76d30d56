// A slow, exact reference for the scientific rendering, written independently
// of the program's: it expands the double into ALL its decimal digits (every
// finite double is a finite decimal fraction), then rounds that digit string
// twice, half up, exactly as text.
#pragma once

#include <string>

namespace reference {

// |v| == 0.d1 d2 d3 ... * 10^(exponent + 1), i.e. d1.d2d3... * 10^exponent,
// with `digits` the full expansion, no leading or trailing zeros ("" for 0).
struct exact_decimal {
  std::string digits;
  int exponent = 0;
};

exact_decimal exact_expansion(double v);

// "%<width>.<digits>e" with the two half-up roundings (17 significant digits,
// then 1 + digits) and an exponent of at least three digits; finite v only.
std::string scientific(double v, int width, int digits);

}  // namespace reference
