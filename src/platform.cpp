#include "platform.hpp"

#include <cerrno>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quillmere::platform {

#if defined(_WIN32)

// The C runtime gives descriptors 0, 1 and 2 to standard input, output and
// error at start-up, whether or not the process has the handles behind them,
// and this program never closes them: _open cannot return one, so a table
// needs no guard here.
int create_file(const char* name, int& descriptor) {
  const int opened =
      _open(name, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
  if (opened < 0) {
    return errno != 0 ? errno : EIO;
  }
  descriptor = opened;
  return 0;
}

int write_all(int descriptor, const char* data, std::size_t length) {
  while (length > 0) {
    const unsigned part = length > INT_MAX ? INT_MAX : static_cast<unsigned>(length);
    const int written = _write(descriptor, data, part);
    if (written <= 0) {
      return written < 0 && errno != 0 ? errno : EIO;
    }
    data += written;
    length -= static_cast<std::size_t>(written);
  }
  return 0;
}

int truncate_to_empty(int descriptor) {
  if (_chsize(descriptor, 0) == 0) {
    return 0;
  }
  // A device (NUL) or a pipe holds nothing to give back.
  return errno == EINVAL ? 0 : (errno != 0 ? errno : EIO);
}

int close_file(int descriptor) { return _close(descriptor) == 0 ? 0 : (errno != 0 ? errno : EIO); }

void use_binary_standard_output() { static_cast<void>(_setmode(_fileno(stdout), _O_BINARY)); }

#else

// A process started with descriptor 0, 1 or 2 closed hands that number to
// the next file it opens. Such a table is moved above 2 and the standard
// descriptor closed again: console writes then fail and are reported, and
// never land in a table.
int create_file(const char* name, int& descriptor) {
  int opened = -1;
  do {
    opened = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (opened < 0 && errno == EINTR);
  if (opened < 0) {
    return errno;
  }
  if (opened <= STDERR_FILENO) {
    const int moved = fcntl(opened, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    const int error = errno;
    close(opened);
    if (moved < 0) {
      return error;
    }
    opened = moved;
  }
  descriptor = opened;
  return 0;
}

int write_all(int descriptor, const char* data, std::size_t length) {
  while (length > 0) {
    const ssize_t written = write(descriptor, data, length);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return written < 0 ? errno : EIO;
    }
    data += written;
    length -= static_cast<std::size_t>(written);
  }
  return 0;
}

int truncate_to_empty(int descriptor) {
  if (ftruncate(descriptor, 0) == 0) {
    return 0;
  }
  // A device such as /dev/full, a pipe or a socket holds nothing to give back.
  return errno == EINVAL ? 0 : errno;
}

int close_file(int descriptor) {
  // After a failed close the descriptor is gone either way (EINTR included,
  // on Linux): retrying could close a descriptor opened since.
  return close(descriptor) == 0 ? 0 : errno;
}

void use_binary_standard_output() {}

#endif

}  // namespace quillmere::platform
