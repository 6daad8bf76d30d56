// The few operating-system calls the program makes beyond standard C++: the
// tables' files, written through descriptors so that each block is one write
// and a failed table can be emptied in place, and the console's line ends.
// One side for POSIX systems, one for Windows; each call returns 0 or the
// errno that explains its failure.
#pragma once

#include <cstddef>

namespace quillmere::platform {

// Creates the named file for writing, or truncates it to zero length if it
// exists; binary, so no byte is translated. On success stores the file's
// descriptor, which is never 0, 1 or 2: a table must not receive the
// console text or the messages, even when a standard descriptor was closed.
int create_file(const char* name, int& descriptor);

// Writes all `length` bytes, in as few calls as the system takes.
int write_all(int descriptor, const char* data, std::size_t length);

// Cuts the file to zero length through its descriptor; the name is never
// used, so a table that is a symbolic link stays one. Returns 0 as well for
// files that cannot hold data of their own (a device such as /dev/full, a
// pipe): there is nothing to give back.
int truncate_to_empty(int descriptor);

// Closes the descriptor; a failure here may be the first sign that written
// bytes did not reach the disk.
int close_file(int descriptor);

// Makes standard output pass bytes through untranslated, so that console
// text that carries its own CR LF leaves as it is. Nothing to do on POSIX.
void use_binary_standard_output();

}  // namespace quillmere::platform
