// Scientific notation with a three-digit exponent, rendered exactly and the
// same on every platform, compiler and locale: "%<width>.<digits>e" in the
// program's own terms.
//
// The rule, for a value v, a field width w and d digits after the point:
//   - sign: "-" when v < 0, nothing otherwise (so -0.0 renders as 0);
//   - digits, in two roundings: the exact value of |v| is rounded half up to
//     17 significant digits, and that 17-digit number is rounded half up to
//     1 + d digits. Half up means a tie at either cut rounds away from zero.
//     A carry out of the first digit, in either rounding, becomes a mantissa
//     of 1 and zeros and an exponent one higher;
//   - text: one digit, "." (whatever the locale), d digits (no point when d is
//     0, zeros past the 17th digit), "e", the exponent's sign always, and its
//     magnitude in at least three digits;
//   - padded on the left with spaces to w; a longer rendering is whole.
//
// Examples:
//   0.00390625, d = 4  -> "3.9063e-003"  a tie rounds up (C's printf, which
//                                         rounds ties to even, gives 3.9062)
//   0.994865, d = 4    -> "9.9487e-001"  the nearest double lies below the
//                                         tie, but its 17-digit rounding is
//                                         the tie, which rounds up
//   0.999996, d = 4    -> "1.0000e+000"  the second rounding carries
//   0x1.c16c5c5253575p-1014 (the double nearest 1e-305), d = 20
//                      -> "1.00000000000000000000e-305"  the first rounding
//                                         carries: 9.99...9(17)5... -> 1e-305
//   0.0, d = 4         -> "0.0000e+000"
//
// Exact: for every finite double, subnormals included, the text follows from
// the double's exact binary value, never from floating-point arithmetic.
// Infinities and NaNs render as "inf", "-inf" and "nan", padded like a field.
#pragma once

namespace quillmere {

// The longest fraction asked for; more digits are clamped to this.
inline constexpr int max_fraction_digits = 40;

// The longest unpadded rendering, item by item.
inline constexpr int max_exponent_digits = 3;  // |decimal exponent| <= 324
constexpr int unpadded_length(int digits) {
  return 1                       // "-"
         + 1                     // the leading digit
         + (digits > 0 ? 1 : 0)  // "."
         + digits                // the fraction
         + 1                     // "e"
         + 1                     // the exponent's sign
         + max_exponent_digits;  // the exponent
}

// The most characters one rendering of `width` and `digits` can write.
constexpr int scientific_length_bound(int width, int digits) {
  return width > unpadded_length(digits) ? width : unpadded_length(digits);
}

// The longest rendering format_scientific writes: widths above this are
// clamped to it, and it bounds the unpadded text (48 characters at 40 digits).
inline constexpr int max_scientific_length = 64;
static_assert(unpadded_length(max_fraction_digits) <= max_scientific_length);

// Renders `value` into `out` and returns one past the last character; writes
// no terminating NUL. `digits` is clamped to [0, max_fraction_digits] and
// `width` to [0, max_scientific_length], so `out` must hold
// max_scientific_length characters.
char* format_scientific(char* out, double value, int width, int digits);

// The same rendering for a format fixed at compile time, compiled once per
// format with its lengths and rounding unit worked out in advance. Writes at
// most scientific_length_bound(width, digits) characters. Instantiated for the
// formats below; any other format takes the general entry above.
template <int width, int digits>
char* format_scientific(char* out, double value);

extern template char* format_scientific<12, 6>(char* out, double value);
extern template char* format_scientific<10, 4>(char* out, double value);

}  // namespace quillmere
