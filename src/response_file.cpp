#include "response_file.hpp"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quillmere {
namespace {

// ---------------------------------------------------------------------------
// Number rendering
//
// The digits come from one exact question: for a decimal scale k, what is
// floor(|v| * 10^k), and is the part cut off at least one half? With k chosen
// so that the kept part has 17 digits, that answers the first rounding (half
// up to 17 significant digits) exactly. The second rounding then works on a
// 17-digit integer.
// ---------------------------------------------------------------------------

__extension__ using uint128 = unsigned __int128;

constexpr int kept_digits = 17;  // the first rounding keeps this many
constexpr std::uint64_t ten_to_16 = 10'000'000'000'000'000;
constexpr std::uint64_t ten_to_17 = 10 * ten_to_16;

constexpr std::array<std::uint64_t, 20> powers_of_ten = [] {
  std::array<std::uint64_t, 20> table{};
  std::uint64_t p = 1;
  for (auto& entry : table) {
    entry = p;
    p *= 10;
  }
  return table;
}();

// |v| == mantissa * 2^exponent, exactly.
struct binary_value {
  std::uint64_t mantissa;
  int exponent;
};

constexpr int fraction_bits = 52;
constexpr int exponent_bias = 1075;  // IEEE bias 1023 plus the 52 fraction bits

binary_value decode(double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << fraction_bits) - 1);
  const int biased = static_cast<int>((bits >> fraction_bits) & 0x7FF);
  if (biased == 0) {  // zero or subnormal: no hidden bit
    return {fraction, 1 - exponent_bias};
  }
  return {fraction | (std::uint64_t{1} << fraction_bits), biased - exponent_bias};
}

// floor(|v| * 10^k), and whether the fraction cut off is at least 1/2.
struct scaled_cut {
  std::uint64_t kept;
  bool round_up;
};

// The common range, 0 <= k <= 27 (about 1e-11 <= |v| < 1e17):
// |v| * 10^k == (m * 5^k) * 2^(e + k), and m * 5^k < 2^53 * 2^63 fits in 128
// bits, so the cut is one shift and the half test one bit.
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
  // 0 <= k <= max_narrow_scale, the table's last index.
  // cppcheck-suppress containerOutOfBounds
  const uint128 scaled = uint128{b.mantissa} * powers_of_five[k];
  const int shift = b.exponent + k;
  if (shift >= 0) {  // |v| * 10^k is an integer: nothing is cut off
    return {static_cast<std::uint64_t>(scaled << shift), false};
  }
  const int cut = -shift;
  if (cut >= 128) {  // scaled < 2^116: everything is cut, and it is below 1/2
    return {0, false};
  }
  // Keep one bit below the cut: it is the 1/2 bit of what is cut off.
  const uint128 with_half = scaled >> (cut - 1);
  return {static_cast<std::uint64_t>(with_half >> 1), (with_half & 1) != 0};
}

// The rest of the doubles, up to 2^1024 and down to 2^-1074: the same cut on
// a wide integer. The widest value formed is m * 2^971 (1024 bits) or
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

// (x >> first) mod 2^64: the three limbs from bit `first` on cover it.
std::uint64_t bits_from(const wide_integer& x, int first) {
  const int limb = first / 32;
  const uint128 window = uint128{limb_or_zero(x, limb)} | uint128{limb_or_zero(x, limb + 1)} << 32 |
                         uint128{limb_or_zero(x, limb + 2)} << 64;
  return static_cast<std::uint64_t>(window >> (first % 32));
}

// x = mantissa * 2^shift, for mantissa < 2^53 and shift >= 0.
wide_integer shifted_mantissa(std::uint64_t mantissa, int shift) {
  wide_integer x;
  const int limb = shift / 32;
  const uint128 placed = uint128{mantissa} << (shift % 32);  // below 2^85: three limbs
  for (int i = 0; i < 3; ++i) {
    x.limbs[limb + i] = static_cast<std::uint32_t>(placed >> (32 * i));
    if (x.limbs[limb + i] != 0) {
      x.size = limb + i + 1;
    }
  }
  return x;
}

constexpr std::uint32_t five_to_13 = 1'220'703'125;  // largest power of 5 in a limb
constexpr std::uint32_t ten_to_9 = 1'000'000'000;    // largest power of 10 in a limb

scaled_cut cut_wide(binary_value b, int k) {
  if (k >= 0) {
    // |v| * 10^k == (m * 5^k) * 2^(e + k).
    wide_integer x = shifted_mantissa(b.mantissa, 0);
    int fives = k;
    for (; fives >= 13; fives -= 13) {
      multiply(x, five_to_13);
    }
    multiply(x, static_cast<std::uint32_t>(powers_of_five[fives]));
    const int shift = b.exponent + k;
    if (shift >= 0) {  // |v| * 10^k is an integer below 10^18
      return {(std::uint64_t{x.limbs[1]} << 32 | x.limbs[0]) << shift, false};
    }
    const int cut = -shift;
    return {bits_from(x, cut), (bits_from(x, cut - 1) & 1) != 0};
  }
  // k < 0 only when |v| >= 10^17 > 2^53, so e > 0 and |v| is the integer
  // m * 2^e. Strike off -k decimal digits; the last one struck off is the
  // first digit of the cut part, and the cut is at least 1/2 exactly when
  // that digit is 5 or more.
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

scaled_cut cut_at_scale(binary_value b, int k) {
  return (k >= 0 && k <= max_narrow_scale) ? cut_narrow(b, k) : cut_wide(b, k);
}

// floor(b * log10(2)), exactly, for |b| <= 2620: 315653 / 2^20 is close
// enough to log10(2) that no product in that range lands on the wrong side of
// an integer. Doubles need |b| <= 1074.
int floor_log10_pow2(int b) { return (b * 315653) >> 20; }

// A value rounded half up to 17 significant digits:
// |v| ~= digits * 10^(exponent - 16), with 10^16 <= digits < 10^17.
struct decimal17 {
  std::uint64_t digits;
  int exponent;
};

// Requires v finite and nonzero.
inline decimal17 round_to_17_digits(double v) {
  const binary_value b = decode(v);
  // 2^top <= |v| < 2^(top + 1), so 10^e10 <= |v| < 10^(e10 + 2) with
  // e10 = floor(top * log10 2): at the scale 10^(16 - e10), 17 or 18 digits
  // stand before the cut.
  const int top = b.exponent + static_cast<int>(std::bit_width(b.mantissa)) - 1;
  const int e10 = floor_log10_pow2(top);
  scaled_cut c = cut_at_scale(b, (kept_digits - 1) - e10);
  decimal17 d{0, e10};
  if (c.kept >= ten_to_17) {
    // 18 digits: strike off the last. The part now cut off is at least 1/2
    // exactly when that digit is 5 or more, whatever was cut before it
    // (which is below one unit of that digit).
    c = {c.kept / 10, c.kept % 10 >= 5};
    ++d.exponent;
  }
  // Invariant: 10^16 <= c.kept < 10^17, and c.kept * 10^(d.exponent - 16) is
  // |v| with everything below its 17th significant digit cut off.
  d.digits = c.kept + (c.round_up ? 1 : 0);
  if (d.digits == ten_to_17) {  // 99...9 rounded up: 1 and sixteen zeros
    d = {ten_to_16, d.exponent + 1};
  }
  return d;
}

constexpr int exponent_digits = 3;  // |decimal exponent| <= 324 always fits

// "00", "01", ..., "99": two digits per division.
constexpr std::array<char, 200> digit_pairs = [] {
  std::array<char, 200> table{};
  for (std::size_t i = 0; i < 100; ++i) {
    table[2 * i] = static_cast<char>('0' + i / 10);
    table[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return table;
}();

// Writes the last 2 * pairs decimal digits of `value`, zeros on the left,
// into the characters before `end`.
template <typename Unsigned>
void write_digit_pairs(char* end, Unsigned value, int pairs) {
  for (; pairs > 0; --pairs) {
    end -= 2;
    std::memcpy(end, &digit_pairs[2 * (value % 100)], 2);
    value /= 100;
  }
}

char* write_non_finite(char* out, double value, int width) {
  const std::string_view word = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  for (int i = static_cast<int>(word.size()); i < width; ++i) {
    *out++ = ' ';
  }
  return std::copy(word.begin(), word.end(), out);
}

// The rendering itself. Always inlined, so that a caller with a constant
// width and digit count gets a copy in which the lengths, the rounding unit
// and the digit loop are worked out at compile time: some 40% fewer
// instructions than the general copy.
[[gnu::always_inline]] inline char* render_scientific(char* out, double value, int width,
                                                      int digits) {
  if (!std::isfinite(value)) {
    return write_non_finite(out, value, width);
  }

  // Step 2: the 17-digit rounding, then the rounding to 1 + digits
  // significant digits (a 17-digit integer when digits >= 16: only zeros
  // follow). Both round half up: 0.00390625 to 5 digits is 3.9063e-3.
  const int rounded_digits = digits < kept_digits ? 1 + digits : kept_digits;
  std::uint64_t mantissa = 0;
  int exponent = 0;
  if (value != 0) {
    const decimal17 d = round_to_17_digits(value);
    const std::uint64_t unit = powers_of_ten[kept_digits - rounded_digits];
    mantissa = d.digits / unit;
    exponent = d.exponent;
    if (unit > 1 && d.digits % unit >= unit / 2) {
      ++mantissa;
    }
    if (mantissa == powers_of_ten[rounded_digits]) {
      mantissa /= 10;  // the carry ran past the first digit: 9.99995 -> 1.0000e+1
      ++exponent;
    }
  }

  // Step 5 first: the length is known before any character is written.
  const bool negative = value < 0;
  const int length = (negative ? 1 : 0) + 1 + (digits > 0 ? 1 + digits : 0) + 2 + exponent_digits;
  for (int i = length; i < width; ++i) {
    *out++ = ' ';
  }

  // Steps 1 and 3: sign and mantissa. The digits go one place to the right of where
  // they belong, then the first moves left over the place of the point:
  // "12346" becomes "1.2346". An odd count is written with a leading zero,
  // which lands on that same first place.
  if (negative) {
    *out++ = '-';
  }
  const int pairs = (rounded_digits + 1) / 2;
  if (mantissa <= UINT32_MAX) {  // the usual case: narrower division is cheaper
    write_digit_pairs(out + 1 + rounded_digits, static_cast<std::uint32_t>(mantissa), pairs);
  } else {
    write_digit_pairs(out + 1 + rounded_digits, mantissa, pairs);
  }
  out[0] = out[1];
  if (digits > 0) {
    out[1] = '.';
    out += 1 + rounded_digits;
    const int zeros = digits - (rounded_digits - 1);  // past the 17th digit
    out = std::fill_n(out, zeros, '0');
  } else {
    out += 1;
  }

  // Step 4: the exponent, in three digits.
  out[0] = 'e';
  out[1] = exponent < 0 ? '-' : '+';
  const int magnitude = exponent < 0 ? -exponent : exponent;
  out[2] = static_cast<char>('0' + magnitude / 100);
  write_digit_pairs(out + 5, static_cast<std::uint32_t>(magnitude % 100), 1);
  return out + 5;
}

}  // namespace

// The fields of a record: the frequency, then the three magnitudes.
constexpr int frequency_width = 12, frequency_digits = 6;
constexpr int magnitude_width = 10, magnitude_digits = 4;

char* format_scientific(char* out, double value, int width, int digits) {
  // The tables' two formats have copies of their own; any other takes the
  // general one.
  if (width == frequency_width && digits == frequency_digits) {
    return render_scientific(out, value, frequency_width, frequency_digits);
  }
  if (width == magnitude_width && digits == magnitude_digits) {
    return render_scientific(out, value, magnitude_width, magnitude_digits);
  }
  width = width < 0 ? 0 : (width > max_scientific_length ? max_scientific_length : width);
  digits = digits < 0 ? 0 : (digits > max_fraction_digits ? max_fraction_digits : digits);
  return render_scientific(out, value, width, digits);
}

// ---------------------------------------------------------------------------
// Tables
// ---------------------------------------------------------------------------
namespace {

// Writes out the whole buffer as one block. A table whose write failed takes
// no more text: the buffer is emptied without writing.
void write_block(response_file& file) {
  if (file.error == 0 && file.buffered > 0) {
    errno = 0;
    if (std::fwrite(file.buffer.data(), 1, file.buffered, file.stream) != file.buffered) {
      file.error = errno != 0 ? errno : EIO;
    }
  }
  file.buffered = 0;
}

void append(response_file& file, const char* text, std::size_t length) {
  while (length > 0) {
    if (file.buffered == file.buffer.size()) {  // full, and more text arrives
      write_block(file);
    }
    const std::size_t part = std::min(length, file.buffer.size() - file.buffered);
    std::memcpy(file.buffer.data() + file.buffered, text, part);
    file.buffered += part;
    text += part;
    length -= part;
  }
}

#if __has_include(<unistd.h>)
// A process started with descriptor 0, 1 or 2 closed hands that number to the
// next file it opens, so a table could receive the console text or the error
// messages. Such a table is moved above 2 and the standard descriptor is
// closed again: console writes then fail and are reported, and never land in
// a table.
std::FILE* keep_off_standard_descriptors(std::FILE* stream, int& error) {
  const int descriptor = fileno(stream);
  if (descriptor > STDERR_FILENO) {
    return stream;
  }
  const int moved = fcntl(descriptor, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  std::FILE* reopened = moved >= 0 ? fdopen(moved, "wb") : nullptr;
  if (reopened == nullptr) {
    error = errno;
    if (moved >= 0) {
      close(moved);
    }
  }
  std::fclose(stream);
  return reopened;
}
#else
std::FILE* keep_off_standard_descriptors(std::FILE* stream, int&) { return stream; }
#endif

}  // namespace

int open_response_file(response_file& file, const char* name) {
  file = {};
  errno = 0;
  // Binary mode: the record text carries its own CR LF, so the bytes are the
  // same on every platform.
  std::FILE* stream = std::fopen(name, "wb");
  int error = errno != 0 ? errno : EIO;
  if (stream != nullptr) {
    stream = keep_off_standard_descriptors(stream, error);
  }
  if (stream == nullptr) {
    return error;
  }
  // The table's own buffer is the only one, so each block reaches the system
  // as a single write. Should this fail, the stream keeps its own buffer and
  // writes the same bytes.
  static_cast<void>(std::setvbuf(stream, nullptr, _IONBF, 0));
  file.stream = stream;
  return 0;
}

void write_response_record(response_file& file, double omega,
                           const std::array<double, magnitudes_per_record>& magnitudes) {
  if (file.stream == nullptr || file.error != 0) {
    return;
  }
  // Each field is " " and a rendering; a rendering longer than its width (a
  // negative or non-finite value) is written whole. Only the characters
  // written are read, so the array is left uninitialised: clearing it would
  // cost a tenth of the whole run.
  constexpr std::size_t longest_record =
      (1 + max_scientific_length) * (1 + magnitudes_per_record) + 2;
  std::array<char, longest_record> record;  // NOLINT(cppcoreguidelines-pro-type-member-init)
  char* end = record.data();
  *end++ = ' ';
  end = format_scientific(end, omega, frequency_width, frequency_digits);
  for (const double m : magnitudes) {
    *end++ = ' ';
    end = format_scientific(end, m, magnitude_width, magnitude_digits);
  }
  *end++ = '\r';
  *end++ = '\n';
  append(file, record.data(), end - record.data());
}

int finish_response_file(response_file& file) {
  if (file.stream == nullptr) {
    return 0;
  }
  write_block(file);
  errno = 0;
  if (std::fclose(file.stream) != 0 && file.error == 0) {
    file.error = errno != 0 ? errno : EIO;
  }
  file.stream = nullptr;
  return file.error;
}

}  // namespace quillmere
