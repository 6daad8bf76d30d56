// format_scientific's rendering as a string, for comparisons in tests.
#pragma once

#include <array>
#include <string>

#include "scientific.hpp"

inline std::string render(double value, int width, int digits) {
  std::array<char, quillmere::max_scientific_length> text{};
  char* end = quillmere::format_scientific(text.data(), value, width, digits);
  return std::string(text.data(), end);
}
