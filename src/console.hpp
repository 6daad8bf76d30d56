// The program's messages. Console text goes to standard output as a text
// stream writes it on the platform the tables were born on: every line feed
// leaves as CR LF. Failures are reported on standard error, one line each, in
// the usual form "quillmere: cannot create Bessel.out: Is a directory".
#pragma once

namespace quillmere {

// Writes `text` to standard output, each "\n" as "\r\n". The first failure is
// remembered for `finish_console`.
void print_console(const char* text);

// Flushes standard output. Returns 0 if everything printed reached it,
// otherwise the errno of the first failure.
int finish_console();

// Writes "quillmere: <action> <subject>: <reason for error>" and a line feed
// to standard error.
void report_failure(const char* action, const char* subject, int error);

}  // namespace quillmere
