#include "console.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform.hpp"

namespace quillmere {
namespace {

int console_error = 0;                // errno of the first failed console write
bool standard_output_binary = false;  // set before the first write

void note_failure() {
  if (console_error == 0) {
    console_error = errno != 0 ? errno : EIO;
  }
}

void write_console(const char* text, std::size_t length) {
  errno = 0;
  if (length > 0 && std::fwrite(text, 1, length, stdout) != length) {
    note_failure();
  }
}

}  // namespace

void print_console(const char* text) {
  // Each line end leaves as the CR LF written here, once, on every platform:
  // standard output is made binary before the first write. (A plain flag: a
  // guarded local static would link the C++ runtime library in for it.)
  if (!standard_output_binary) {
    platform::use_binary_standard_output();
    standard_output_binary = true;
  }
  for (const char* end = std::strchr(text, '\n'); end != nullptr; end = std::strchr(text, '\n')) {
    write_console(text, static_cast<std::size_t>(end - text));
    write_console("\r\n", 2);
    text = end + 1;
  }
  write_console(text, std::strlen(text));
}

int finish_console() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    note_failure();
  }
  return console_error;
}

void report_failure(const char* action, const char* subject, int error) {
  std::fprintf(stderr, "quillmere: %s %s: %s\n", action, subject, std::strerror(error));
}

}  // namespace quillmere
