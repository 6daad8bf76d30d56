// The two response tables, "Butterworth.out" and "Bessel.out": opening them,
// writing one record per frequency point, and the number rendering the
// records use.
//
// A record is " %12.6e %10.4e %10.4e %10.4e" with three-digit exponents,
// followed by CR LF: 50 characters and a line end, 52 bytes. The bytes are the
// same on every platform, compiler and locale because the rendering below is
// the program's own and the line end is written as bytes, not translated.
//
// Each table goes through its own buffer of `response_buffer_size`
// characters. Writing a record only appends to the buffer; a full buffer goes
// out as one block when the next character arrives, so a block may end in the
// middle of a record. Nothing else reaches the file until
// `finish_response_file`, which writes what is left and closes it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>

namespace quillmere {

// Renders `value` in scientific notation, as C's "%<width>.<digits>e" does in
// the "C" locale, except that the exponent always has at least three digits:
//
//   1. sign: "-" for a value below zero, nothing otherwise (so -0.0 renders
//      as zero);
//   2. digits, in two roundings: first the exact value of the double rounded
//      half up to 17 significant digits, then that 17-digit string rounded
//      half up to 1 + digits digits, with the carry of a run of nines moving
//      into the exponent;
//   3. mantissa: one digit, ".", then `digits` digits (no point when digits
//      is 0);
//   4. exponent: "e", its sign always, at least three digits;
//   5. padded on the left with spaces to `width`.
//
// Examples (digits = 4): 0.00390625 -> "3.9063e-003" (a tie rounds up);
// 0.999996 -> "1.0000e+000" (the carry moves into the exponent);
// 1e300 -> "1.0000e+300"; 0.0 -> "0.0000e+000".
//
// Exact for every finite double, subnormals included. Infinities and NaNs,
// which no table holds, are rendered as "inf", "-inf" and "nan", padded like
// any field.
// `digits` is clamped to [0, max_fraction_digits] and `width` to
// [0, max_scientific_length]. Writes no terminating NUL; returns one past the
// last character written. `out` must hold `max_scientific_length` characters.
inline constexpr int max_fraction_digits = 40;
// Longest rendering of an unpadded field: "-" + one digit + "." +
// max_fraction_digits digits + "e" + sign + three exponent digits (a double's
// decimal exponent lies in [-324, 308]), rounded up to leave room for width.
inline constexpr int max_scientific_length = 64;
char* format_scientific(char* out, double value, int width, int digits);

inline constexpr int magnitudes_per_record = 3;            // orders 2, 4 and 6
inline constexpr std::size_t response_record_length = 52;  // 50 + CR LF
inline constexpr std::size_t response_buffer_size = 4096;  // one block

// An open response table. `stream` is null when the table could not be
// created; every operation on such a table does nothing.
struct response_file {
  std::FILE* stream = nullptr;
  std::array<char, response_buffer_size> buffer{};
  std::size_t buffered = 0;  // characters waiting in `buffer`
  int error = 0;             // errno of the first failed write, 0 if none
};

// Creates the named file in the current folder, or truncates it to zero
// length if it exists, for writing. Returns 0, or the errno that explains why
// it could not be created (the table then stays closed). The table never
// takes over descriptor 0, 1 or 2, even when one of them is closed, so that
// nothing meant for the console can land in it.
int open_response_file(response_file& file, const char* name);

// Appends one record for the frequency `omega` and the magnitudes of orders
// 2, 4 and 6 to the table's buffer, writing out each buffer that fills. After
// the first failed write the table takes no more text.
void write_response_record(response_file& file, double omega,
                           const std::array<double, magnitudes_per_record>& magnitudes);

// Writes out the text still buffered and closes the table. Returns 0 if every
// write and the close succeeded, otherwise the errno of the first failure.
int finish_response_file(response_file& file);

}  // namespace quillmere
