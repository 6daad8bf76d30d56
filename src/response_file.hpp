// The two response tables, "Butterworth.out" and "Bessel.out": opening them,
// writing one record per frequency point, and finishing them.
//
// A record is " %12.6e %10.4e %10.4e %10.4e" in the program's own rendering
// (three-digit exponents; see scientific.hpp), followed by CR LF: 50
// characters and a line end, 52 bytes. The line end is written as bytes, not
// translated, so a table is the same on every platform.
//
// Each table goes through its own buffer of `response_buffer_size`
// characters. Writing a record only appends to the buffer; a full buffer goes
// out as one block, in one write, when the next character arrives, so a
// block may end in the middle of a record. Nothing else reaches the file
// until `finish_response_file`, which writes what is left and closes it.
//
// Complete or empty: when a write fails, the table is cut to zero length at
// once (through its descriptor, so a table that is a symbolic link stays
// one), takes no more text, and so gives its space back to the other table.
// Only a failed close leaves a table as it is.
#pragma once

#include <array>
#include <cstddef>

#include "scientific.hpp"

namespace quillmere {

inline constexpr int magnitudes_per_record = 3;            // orders 2, 4 and 6
inline constexpr std::size_t response_record_length = 52;  // 50 + CR LF
inline constexpr std::size_t response_buffer_size = 4096;  // one block

// The record's fields: the frequency, then the three magnitudes.
inline constexpr int frequency_width = 12, frequency_digits = 6;
inline constexpr int magnitude_width = 10, magnitude_digits = 4;

using record_magnitudes = std::array<double, magnitudes_per_record>;

// An open response table. `descriptor` is -1 when the table could not be
// created or has been finished; every operation on such a table does nothing.
struct response_file {
  int descriptor = -1;
  std::array<char, response_buffer_size> buffer{};
  std::size_t buffered = 0;  // characters waiting in `buffer`
  int error = 0;             // errno of the first failed write, 0 if none
  int empty_error = 0;       // errno of a failure to empty it after that, 0 if none
};

// The first field of a record, " " and the frequency, rendered once per point
// and shared by both tables' records of that point.
struct frequency_field {
  static constexpr std::size_t capacity =
      1 + static_cast<std::size_t>(scientific_length_bound(frequency_width, frequency_digits));
  std::array<char, capacity> text;
  std::size_t length;
};
frequency_field render_frequency(double omega);

// Creates the named file in the current folder, or truncates it to zero
// length if it exists, for writing. Returns 0, or the errno that explains why
// it could not be created (the table then stays closed). The table never
// takes over descriptor 0, 1 or 2, even when one of them is closed, so that
// nothing meant for the console can land in it.
int open_response_file(response_file& file, const char* name);

// Appends one record, the frequency field and the magnitudes of orders 2, 4
// and 6, to the table's buffer, writing out each buffer that fills.
void write_response_record(response_file& file, const frequency_field& frequency,
                           const record_magnitudes& magnitudes);
void write_response_record(response_file& file, double omega, const record_magnitudes& magnitudes);

// What finishing a table found.
struct table_outcome {
  int error = 0;        // errno of the first failed write or close, 0 if none
  int empty_error = 0;  // after a failed write: why the table could not be emptied
};

// Writes out the text still buffered and closes the table. With no error,
// the table is complete; after a failed write it is empty (unless
// empty_error says why it could not be emptied); after a failed close alone
// it holds every byte, but the system could not confirm they are stored.
table_outcome finish_response_file(response_file& file);

}  // namespace quillmere
