#include "response_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#endif

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

frequency_field render_frequency(double omega) {
  frequency_field field{};
  field.text[0] = ' ';
  char* end = format_scientific<frequency_width, frequency_digits>(field.text.data() + 1, omega);
  field.length = static_cast<std::size_t>(end - field.text.data());
  return field;
}

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

void write_response_record(response_file& file, const frequency_field& frequency,
                           const record_magnitudes& magnitudes) {
  if (file.stream == nullptr || file.error != 0) {
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
