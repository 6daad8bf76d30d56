// Running commands through the platform's shell, for the end-to-end tests:
// /bin/sh on POSIX systems, cmd.exe on Windows.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace shell {

#if defined(_WIN32)
inline constexpr bool is_posix = false;

// A path as cmd.exe reads it: in double quotes (no Windows path holds one).
inline std::string quote(const std::filesystem::path& path) { return '"' + path.string() + '"'; }

// "cd" into a folder, then what follows.
inline std::string in_folder(const std::filesystem::path& folder) {
  return "cd /d " + quote(folder) + " && ";
}

// Runs the command line; returns its exit status. std::system hands it to
// "cmd /c", which strips one pair of quotes around the whole line: the extra
// pair keeps the line's own quotes as they are.
inline int run(const std::string& command) { return std::system(('"' + command + '"').c_str()); }

#else
inline constexpr bool is_posix = true;

// A path as /bin/sh reads it: in single quotes, each ' written as '\''.
inline std::string quote(const std::filesystem::path& path) {
  std::string quoted = "'";
  for (const char c : path.string()) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

inline std::string in_folder(const std::filesystem::path& folder) {
  return "cd " + quote(folder) + " && ";
}

// Runs the command line; returns its exit status, or -1 when it ended by a
// signal.
inline int run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// Whether the command is on the PATH (POSIX only; false elsewhere).
inline bool has_command(const std::string& name) {
  return is_posix && run("command -v " + name + " >/dev/null 2>&1") == 0;
}

}  // namespace shell
