#include "exact_decimal.hpp"

#include <cmath>
#include <cstdint>
#include <vector>

namespace reference {
namespace {

// A non-negative integer in base 10^9, least significant limb first.
using decimal_integer = std::vector<std::uint32_t>;
constexpr std::uint64_t base = 1'000'000'000;

void multiply(decimal_integer& x, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (auto& limb : x) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product % base);
    carry = product / base;
  }
  while (carry != 0) {
    x.push_back(static_cast<std::uint32_t>(carry % base));
    carry /= base;
  }
}

std::string to_string(const decimal_integer& x) {
  std::string text = std::to_string(x.back());
  for (auto limb = x.rbegin() + 1; limb != x.rend(); ++limb) {
    const std::string part = std::to_string(*limb);
    text += std::string(9 - part.size(), '0') + part;
  }
  return text;
}

// Rounds the digit string half up to `keep` digits (padding with zeros when it
// is shorter); a carry out of the first digit bumps the exponent.
void round_half_up(std::string& digits, int& exponent, std::size_t keep) {
  if (digits.size() <= keep) {
    digits.resize(keep, '0');
    return;
  }
  const bool up = digits[keep] >= '5';
  digits.resize(keep);
  if (!up) {
    return;
  }
  for (std::size_t i = keep; i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.assign(keep, '0');
  digits[0] = '1';
  ++exponent;
}

}  // namespace

exact_decimal exact_expansion(double v) {
  int binary_exponent = 0;
  // frexp gives |v| = f * 2^binary_exponent with f in [0.5, 1); f * 2^53 is
  // an integer for every double, subnormals included.
  auto mantissa =
      static_cast<std::uint64_t>(std::ldexp(std::frexp(std::fabs(v), &binary_exponent), 53));
  binary_exponent -= 53;
  if (mantissa == 0) {
    return {};
  }
  decimal_integer x;
  for (std::uint64_t m = mantissa; m != 0; m /= base) {
    x.push_back(static_cast<std::uint32_t>(m % base));
  }
  int decimal_shift = 0;
  // Powers are applied a few factors at a time, small enough that a limb
  // times the factor fits in 64 bits: 2^29 and 5^13 are both below 2^31.
  const auto multiply_by_power = [&x](std::uint32_t factor, int count, int per_step) {
    std::uint32_t step = 1;
    for (int i = 0; i < per_step; ++i) {
      step *= factor;
    }
    for (; count >= per_step; count -= per_step) {
      multiply(x, step);
    }
    for (; count > 0; --count) {
      multiply(x, factor);
    }
  };
  if (binary_exponent >= 0) {  // an integer: m * 2^e
    multiply_by_power(2, binary_exponent, 29);
  } else {  // m * 2^-n == m * 5^n / 10^n
    multiply_by_power(5, -binary_exponent, 13);
    decimal_shift = binary_exponent;
  }
  std::string digits = to_string(x);
  const int exponent = static_cast<int>(digits.size()) - 1 + decimal_shift;
  digits.erase(digits.find_last_not_of('0') + 1);
  return {digits, exponent};
}

std::string scientific(double v, int width, int digits) {
  exact_decimal d = exact_expansion(v);
  if (d.digits.empty()) {
    d.digits.push_back('0');
  }
  round_half_up(d.digits, d.exponent, 17);
  round_half_up(d.digits, d.exponent, static_cast<std::size_t>(digits) + 1);
  std::string text;
  if (v < 0) {
    text.push_back('-');
  }
  text.push_back(d.digits[0]);
  if (digits > 0) {
    text.push_back('.');
    text.append(d.digits, 1);
  }
  text.append(d.exponent < 0 ? "e-" : "e+");
  const std::string exponent_digits = std::to_string(std::abs(d.exponent));
  text.append(exponent_digits.size() < 3 ? 3 - exponent_digits.size() : 0, '0');
  text.append(exponent_digits);
  if (static_cast<int>(text.size()) < width) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  }
  return text;
}

}  // namespace reference
