#include "scientific.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillmere {
namespace {

// The digits come from one exact question: for a decimal scale k, what is
// floor(|v| * 10^k), and is the part cut off at least one half? With k chosen
// so that 17 or 18 digits stand before the cut, that answers the first
// rounding exactly; the second rounding then works on a 17-digit integer.

constexpr int kept_digits = 17;  // the first rounding keeps this many

constexpr std::array<std::uint64_t, 19> powers_of_ten = [] {
  std::array<std::uint64_t, 19> table{};
  std::uint64_t p = 1;
  for (auto& entry : table) {
    entry = p;
    p *= 10;
  }
  return table;
}();
constexpr std::uint64_t ten_to_17 = powers_of_ten[kept_digits];

// ---------------------------------------------------------------------------
// The one piece of 128-bit arithmetic: bits of a 64 x 64-bit product.
// Compilers with a 128-bit integer do it in a multiplication and a shift;
// without one (or with QUILLMERE_PORTABLE_UINT128 defined, which tests this
// path on any compiler) four 32 x 32 -> 64-bit products give the same bits.
// ---------------------------------------------------------------------------

// Bits [shift, shift + 64) of high:low, for 0 <= shift < 64. The second
// shift is split in two so that shift == 0 is defined and contributes nothing.
std::uint64_t shift_right(std::uint64_t high, std::uint64_t low, int shift) {
  return (low >> shift) | ((high << 1) << (63 - shift));
}

#if defined(__SIZEOF_INT128__) && !defined(QUILLMERE_PORTABLE_UINT128)
// Bits [shift, shift + 64) of a * b, for 0 <= shift < 64.
std::uint64_t product_bits(std::uint64_t a, std::uint64_t b, int shift) {
  __extension__ using uint128 = unsigned __int128;
  return static_cast<std::uint64_t>((uint128{a} * b) >> shift);
}
#else
std::uint64_t product_bits(std::uint64_t a, std::uint64_t b, int shift) {
  constexpr std::uint64_t low_half = 0xFFFF'FFFF;
  const std::uint64_t a_low = a & low_half, a_high = a >> 32;
  const std::uint64_t b_low = b & low_half, b_high = b >> 32;
  const std::uint64_t low_low = a_low * b_low;
  const std::uint64_t high_low = a_high * b_low;
  const std::uint64_t low_high = a_low * b_high;
  // The middle column: three terms below 2^32 each, so the sum cannot overflow.
  const std::uint64_t middle = (low_low >> 32) + (high_low & low_half) + (low_high & low_half);
  const std::uint64_t high = a_high * b_high + (high_low >> 32) + (low_high >> 32) + (middle >> 32);
  const std::uint64_t low = (middle << 32) | (low_low & low_half);
  return shift_right(high, low, shift);
}
#endif

// ---------------------------------------------------------------------------
// Step 1: |v| == mantissa * 2^exponent, exactly.
// ---------------------------------------------------------------------------

struct binary_value {
  std::uint64_t mantissa;
  int exponent;
};

constexpr int fraction_bits = 52;
constexpr int exponent_bias = 1075;  // IEEE bias 1023 plus the 52 fraction bits

constexpr std::uint64_t exponent_field = std::uint64_t{0x7FF} << fraction_bits;
constexpr int sign_bit = 63;

// Requires a finite double: its exponent field is not all ones.
binary_value decode(std::uint64_t bits) {
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << fraction_bits) - 1);
  const int biased = static_cast<int>((bits >> fraction_bits) & 0x7FF);
  if (biased == 0) {  // zero or subnormal: no hidden bit
    return {fraction, 1 - exponent_bias};
  }
  return {fraction | (std::uint64_t{1} << fraction_bits), biased - exponent_bias};
}

// ---------------------------------------------------------------------------
// Step 2: the cut at scale 10^k.
// ---------------------------------------------------------------------------

// floor(|v| * 10^k), and whether the fraction cut off is at least 1/2.
struct scaled_cut {
  std::uint64_t kept;
  bool half_or_more;
};

// The common range, 0 <= k <= 27 (about 1e-11 <= |v| < 1e17):
// |v| * 10^k == (m * 5^k) * 2^(e + k), and m * 5^k < 2^53 * 2^63, so one
// 128-bit product and one shift cut it, and the half test is one bit.
constexpr int max_narrow_scale = 27;  // 5^27 < 2^63
constexpr std::array<std::uint64_t, max_narrow_scale + 1> powers_of_five = [] {
  std::array<std::uint64_t, max_narrow_scale + 1> table{};
  std::uint64_t p = 1;
  for (auto& entry : table) {
    entry = p;
    p *= 5;
  }
  return table;
}();

scaled_cut cut_narrow(binary_value b, int k) {
  assert(k >= 0 && k <= max_narrow_scale);
  // cppcheck-suppress containerOutOfBounds
  const std::uint64_t five_to_k = powers_of_five[k];
  const int shift = b.exponent + k;
  if (shift >= 0) {
    // |v| * 10^k is an integer below 10^18, so m * 5^k is below 2^64.
    return {(b.mantissa * five_to_k) << shift, false};
  }
  // In this range 1 <= -shift <= 61 (2^-36 <= |v| < 2^57 and k = 16 - e10),
  // so the kept part and the 1/2 bit below it are one 64-bit window.
  const int cut = -shift;
  assert(cut >= 1 && cut <= 61);
  const std::uint64_t with_half = product_bits(b.mantissa, five_to_k, cut - 1);
  return {with_half >> 1, (with_half & 1) != 0};
}

// The rest of the doubles, below 1e-11 and from 1e17 up: the same cut on a
// wide integer. The widest value formed is m * 2^971 (1024 bits) or
// m * 5^340 (843 bits).
struct wide_integer {
  static constexpr int capacity = 34;  // 32-bit limbs, least significant first
  std::array<std::uint32_t, capacity> limbs{};
  int size = 0;  // limbs in use
};

void multiply(wide_integer& x, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (int i = 0; i < x.size; ++i) {
    const std::uint64_t product = std::uint64_t{x.limbs[i]} * factor + carry;
    x.limbs[i] = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0) {
    x.limbs[x.size++] = static_cast<std::uint32_t>(carry);
  }
}

// Divides x by `divisor` in place and returns the remainder. The divisor is a
// constant of the program, so each step compiles to a multiplication.
template <std::uint32_t divisor>
std::uint32_t divide(wide_integer& x) {
  std::uint64_t remainder = 0;
  for (int i = x.size - 1; i >= 0; --i) {
    const std::uint64_t part = (remainder << 32) | x.limbs[i];
    x.limbs[i] = static_cast<std::uint32_t>(part / divisor);
    remainder = part % divisor;
  }
  while (x.size > 0 && x.limbs[x.size - 1] == 0) {
    --x.size;
  }
  return static_cast<std::uint32_t>(remainder);
}

std::uint32_t limb_or_zero(const wide_integer& x, int index) {
  return index < x.size ? x.limbs[index] : 0;
}

// (x >> first) mod 2^64, from the three limbs that hold those bits.
std::uint64_t bits_from(const wide_integer& x, int first) {
  const int limb = first / 32;
  return shift_right(limb_or_zero(x, limb + 2),
                     std::uint64_t{limb_or_zero(x, limb + 1)} << 32 | limb_or_zero(x, limb),
                     first % 32);
}

// x = mantissa * 2^shift, for mantissa < 2^53 and shift >= 0: three limbs
// from limb shift / 32 on hold it.
wide_integer shifted_mantissa(std::uint64_t mantissa, int shift) {
  wide_integer x;
  const int limb = shift / 32;
  const int bit = shift % 32;
  const std::uint64_t low = mantissa << bit;
  const std::uint64_t high = (mantissa >> 1) >> (63 - bit);  // the bits shifted past 64
  const std::array<std::uint32_t, 3> placed{static_cast<std::uint32_t>(low),
                                            static_cast<std::uint32_t>(low >> 32),
                                            static_cast<std::uint32_t>(high)};
  for (int i = 0; i < 3; ++i) {
    x.limbs[limb + i] = placed[i];
    if (placed[i] != 0) {
      x.size = limb + i + 1;
    }
  }
  return x;
}

constexpr std::uint32_t five_to_13 = 1'220'703'125;  // largest power of 5 in a limb
constexpr std::uint32_t ten_to_9 = 1'000'000'000;    // largest power of 10 in a limb

scaled_cut cut_wide(binary_value b, int k) {
  if (k > 0) {
    // |v| < 1e-11: |v| * 10^k == (m * 5^k) / 2^-(e + k). Here e + k < 0
    // always (about 0.7 * log2|v| - 36 for a normal |v|; e = -1074 with
    // k <= 340 for a subnormal), so |v| * 10^k is never an integer.
    wide_integer x = shifted_mantissa(b.mantissa, 0);
    int fives = k;
    for (; fives >= 13; fives -= 13) {
      multiply(x, five_to_13);
    }
    multiply(x, static_cast<std::uint32_t>(powers_of_five[fives]));
    const int cut = -(b.exponent + k);
    assert(cut > 0);
    return {bits_from(x, cut), (bits_from(x, cut - 1) & 1) != 0};
  }
  // |v| >= 1e17 > 2^53: e > 0 and |v| is the integer m * 2^e. Strike off -k
  // decimal digits; the last one struck off is the first digit of the cut
  // part, and the cut is at least 1/2 exactly when that digit is 5 or more.
  assert(k < 0);
  wide_integer x = shifted_mantissa(b.mantissa, b.exponent);
  int tens = -k - 1;
  for (; tens >= 9; tens -= 9) {
    divide<ten_to_9>(x);
  }
  for (; tens > 0; --tens) {
    divide<10>(x);
  }
  const std::uint32_t first_cut_digit = divide<10>(x);
  return {std::uint64_t{x.limbs[1]} << 32 | x.limbs[0], first_cut_digit >= 5};
}

// floor(b * log10(2)), exactly, for |b| <= 2620: 315653 / 2^20 is close
// enough to log10(2) that no product in that range lands on the wrong side of
// an integer. Doubles need |b| <= 1074.
int floor_log10_pow2(int b) { return (b * 315653) >> 20; }

// ---------------------------------------------------------------------------
// Step 3: the first rounding, half up to 17 significant digits.
// ---------------------------------------------------------------------------

// |v| rounded == digits * 10^(exponent - 16), with 10^16 <= digits <= 10^17.
// digits == 10^17 is the first rounding's carry (seventeen nines, then a 5
// or more): step 4's guard turns it into 1 and zeros.
struct decimal17 {
  std::uint64_t digits;
  int exponent;  // cppcheck-suppress unusedStructMember ; read in render_scientific, a template
};

// From the cut at scale 10^(16 - e10), which kept 17 or 18 digits.
decimal17 round_to_17_digits(scaled_cut c, int e10) {
  if (c.kept >= ten_to_17) {
    // 18 digits: strike off the last. The part now cut off is at least 1/2
    // exactly when that digit is 5 or more, whatever was cut before it
    // (which is below one unit of that digit).
    c = {c.kept / 10, c.kept % 10 >= 5};
    ++e10;
  }
  // Invariant: 10^16 <= c.kept < 10^17, and c.kept * 10^(e10 - 16) is |v|
  // with everything below its 17th significant digit cut off.
  return {c.kept + (c.half_or_more ? 1 : 0), e10};
}

// ---------------------------------------------------------------------------
// Step 5: the text.
// ---------------------------------------------------------------------------

// "00", "01", ..., "99": two digits per step.
constexpr std::array<char, 200> digit_pairs = [] {
  std::array<char, 200> table{};
  for (std::size_t i = 0; i < 100; ++i) {
    table[2 * i] = static_cast<char>('0' + i / 10);
    table[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return table;
}();

// Writes `count` decimal digits of `value` (which is below 10^count), zeros
// on the left, and returns one past them. Two digits per step from the right.
template <typename Unsigned>
char* write_digits(char* out, Unsigned value, int count) {
  for (int place = count - 2; place >= 0; place -= 2) {
    std::memcpy(out + place, &digit_pairs[static_cast<std::size_t>(value % 100) * 2], 2);
    value /= 100;
  }
  if (count % 2 != 0) {
    out[0] = static_cast<char>('0' + value);
  }
  return out + count;
}

// The exponent's sign and three digits, "-324" to "+324", for exponents
// from -max_exponent to max_exponent: one copy instead of three divisions.
constexpr int max_exponent = 324;  // denorm_min is 4.9e-324; max is 1.8e+308
constexpr std::size_t exponent_text_length = 1 + max_exponent_digits;
// Where the text of exponent e starts in the table below.
constexpr std::size_t exponent_text_index(int e) {
  return static_cast<std::size_t>(e + max_exponent) * exponent_text_length;
}
constexpr auto exponent_texts = [] {
  std::array<char, exponent_text_index(max_exponent + 1)> table{};
  for (int e = -max_exponent; e <= max_exponent; ++e) {
    char* text = &table[exponent_text_index(e)];
    const int magnitude = e < 0 ? -e : e;
    text[0] = e < 0 ? '-' : '+';
    text[1] = static_cast<char>('0' + magnitude / 100);
    text[2] = static_cast<char>('0' + magnitude / 10 % 10);
    text[3] = static_cast<char>('0' + magnitude % 10);
  }
  return table;
}();

[[gnu::cold]] char* write_non_finite(char* out, double value, int width) {
  const std::string_view word = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  for (int i = static_cast<int>(word.size()); i < width; ++i) {
    *out++ = ' ';
  }
  return std::copy(word.begin(), word.end(), out);
}

// The rendering, steps in the order they run. Always inlined, so that a
// caller with a constant width and digit count gets a copy in which the
// lengths, the rounding unit and the digit loop are worked out at compile
// time. With `common_only`, values outside the common range and non-finite
// values go on to the general entry instead, so the copy holds no call of
// its own and saves no registers.
template <bool common_only>
[[gnu::always_inline]] inline char* render_scientific(char* out, double value, int width,
                                                      int digits) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  if ((bits & exponent_field) == exponent_field) {
    if constexpr (common_only) {
      return format_scientific(out, value, width, digits);
    }
    return write_non_finite(out, value, width);
  }

  // Step 1: the exact binary value. Zero has a zero mantissa; -0.0 is not
  // below zero and takes no sign.
  const binary_value b = decode(bits);
  const bool negative = (bits >> sign_bit) != 0 && b.mantissa != 0;

  // Steps 2 to 4 give `rounded_digits` significant digits (only zeros follow
  // the 17th): |v| rounded twice == mantissa * 10^(exponent - rounded_digits + 1).
  const int rounded_digits = digits < kept_digits ? 1 + digits : kept_digits;
  std::uint64_t mantissa = 0;
  int exponent = 0;
  if (b.mantissa != 0) {
    // Step 2: the cut. 2^top <= |v| < 2^(top + 1), so with
    // e10 = floor(top * log10 2), 10^e10 <= |v| < 10^(e10 + 2), and at the
    // scale 10^(16 - e10) 17 or 18 digits stand before the cut.
    const int top = b.exponent + static_cast<int>(std::bit_width(b.mantissa)) - 1;
    const int e10 = floor_log10_pow2(top);
    const int k = (kept_digits - 1) - e10;
    const bool common = k >= 0 && k <= max_narrow_scale;
    if constexpr (common_only) {
      if (!common) {
        return format_scientific(out, value, width, digits);
      }
    }
    // Step 3: the first rounding.
    const decimal17 d = round_to_17_digits(common ? cut_narrow(b, k) : cut_wide(b, k), e10);
    // Step 4: the second rounding, half up, to `rounded_digits` digits.
    const std::uint64_t unit = powers_of_ten[kept_digits - rounded_digits];
    mantissa = d.digits / unit;
    if (d.digits % unit >= (unit + 1) / 2) {  // unit == 1: nothing is cut
      ++mantissa;
    }
    exponent = d.exponent;
    // The one carry guard, for both roundings: 9.99995 -> 10.0000 -> 1.0000e+1,
    // and the first rounding's 10^17 arrives here as 10^rounded_digits too.
    if (mantissa == powers_of_ten[rounded_digits]) {
      mantissa /= 10;
      ++exponent;
    }
  }

  // Step 5: the text. Its length is known before any character is written,
  // so the padding goes first.
  const int length =
      (negative ? 1 : 0) + 1 + (digits > 0 ? 1 + digits : 0) + 2 + max_exponent_digits;
  for (int i = length; i < width; ++i) {
    *out++ = ' ';
  }
  if (negative) {
    *out++ = '-';
  }
  // The leading digit, the point, the other rounded_digits - 1 digits, and
  // zeros for the places past the 17th digit.
  const std::uint64_t lead_unit = powers_of_ten[rounded_digits - 1];
  const std::uint64_t lead = mantissa / lead_unit;
  const std::uint64_t rest = mantissa - lead * lead_unit;
  *out++ = static_cast<char>('0' + lead);
  if (digits > 0) {
    *out++ = '.';
    if (rest <= UINT32_MAX) {  // up to 9 digits: narrower division is cheaper
      out = write_digits(out, static_cast<std::uint32_t>(rest), rounded_digits - 1);
    } else {
      out = write_digits(out, rest, rounded_digits - 1);
    }
    out = std::fill_n(out, digits - (rounded_digits - 1), '0');
  }
  *out++ = 'e';
  assert(exponent >= -max_exponent && exponent <= max_exponent);
  std::memcpy(out, &exponent_texts[exponent_text_index(exponent)], exponent_text_length);
  return out + exponent_text_length;
}

}  // namespace

char* format_scientific(char* out, double value, int width, int digits) {
  width = std::clamp(width, 0, max_scientific_length);
  digits = std::clamp(digits, 0, max_fraction_digits);
  return render_scientific<false>(out, value, width, digits);
}

template <int width, int digits>
char* format_scientific(char* out, double value) {
  static_assert(width >= 0 && width <= max_scientific_length);
  static_assert(digits >= 0 && digits <= max_fraction_digits);
  return render_scientific<true>(out, value, width, digits);
}

template char* format_scientific<12, 6>(char* out, double value);
template char* format_scientific<10, 4>(char* out, double value);

}  // namespace quillmere
