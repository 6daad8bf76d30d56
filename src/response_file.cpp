#include "response_file.hpp"

#include <algorithm>
#include <cstring>

#include "platform.hpp"

namespace quillmere {
namespace {

constexpr std::size_t magnitude_field_bound =
    1 + static_cast<std::size_t>(scientific_length_bound(magnitude_width, magnitude_digits));
// The longest record any values can make: a negative or non-finite value
// renders longer than its width. Finite, non-negative values, as the sweep
// gives, make records of exactly response_record_length.
constexpr std::size_t longest_record =
    frequency_field::capacity + magnitudes_per_record * magnitude_field_bound + 2;

// Writes the record into `out`, which has room for longest_record
// characters, and returns one past its end.
char* assemble_record(char* out, const frequency_field& frequency,
                      const record_magnitudes& magnitudes) {
  // The whole field array, a fixed-size copy; what follows overwrites the
  // part beyond its length.
  std::memcpy(out, frequency.text.data(), frequency.text.size());
  out += frequency.length;
  for (const double m : magnitudes) {
    *out++ = ' ';
    out = format_scientific<magnitude_width, magnitude_digits>(out, m);
  }
  *out++ = '\r';
  *out++ = '\n';
  return out;
}

// Writes out the whole buffer as one block. After a failed write the table
// is emptied and takes no more text: the buffer is dropped without writing.
void write_block(response_file& file) {
  if (file.error == 0 && file.buffered > 0) {
    file.error = platform::write_all(file.descriptor, file.buffer.data(), file.buffered);
    if (file.error != 0) {
      file.empty_error = platform::truncate_to_empty(file.descriptor);
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

}  // namespace

frequency_field render_frequency(double omega) {
  frequency_field field{};
  field.text[0] = ' ';
  char* end = format_scientific<frequency_width, frequency_digits>(field.text.data() + 1, omega);
  field.length = static_cast<std::size_t>(end - field.text.data());
  return field;
}

int open_response_file(response_file& file, const char* name) {
  file = {};
  return platform::create_file(name, file.descriptor);
}

void write_response_record(response_file& file, const frequency_field& frequency,
                           const record_magnitudes& magnitudes) {
  if (file.descriptor < 0 || file.error != 0) {
    return;
  }
  // Where the longest record fits in what is left of the buffer, it is
  // assembled in place; otherwise beside it, and appended across the block's
  // end. Either way the buffer fills to exactly its size before a block goes.
  if (file.buffer.size() - file.buffered >= longest_record) {
    char* start = file.buffer.data() + file.buffered;
    file.buffered +=
        static_cast<std::size_t>(assemble_record(start, frequency, magnitudes) - start);
    return;
  }
  // Only the characters written are read, so the array is left uninitialised.
  std::array<char, longest_record> record;  // NOLINT(cppcoreguidelines-pro-type-member-init)
  const char* end = assemble_record(record.data(), frequency, magnitudes);
  append(file, record.data(), static_cast<std::size_t>(end - record.data()));
}

void write_response_record(response_file& file, double omega, const record_magnitudes& magnitudes) {
  write_response_record(file, render_frequency(omega), magnitudes);
}

table_outcome finish_response_file(response_file& file) {
  if (file.descriptor < 0) {
    return {};
  }
  write_block(file);
  const int close_error = platform::close_file(file.descriptor);
  file.descriptor = -1;
  return {file.error != 0 ? file.error : close_error, file.empty_error};
}

}  // namespace quillmere
