// The built program, end to end: each run happens in a fresh temporary
// folder and its console text, error text, exit status and both tables are
// compared byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "exact_decimal.hpp"
#include "response_file.hpp"
#include "shell.hpp"
#include "temporary_folder.hpp"

namespace {

namespace fs = std::filesystem;

const fs::path program = QUILLMERE_PROGRAM;
const fs::path test_data = QUILLMERE_TEST_DATA;
// The program as a command: under the emulator that runs this test, if any
// (qemu-user for a cross-compiled Linux target).
const std::string program_command = std::string(QUILLMERE_EMULATOR) +
                                    (std::string(QUILLMERE_EMULATOR).empty() ? "" : " ") +
                                    shell::quote(program);

const std::string banner =
    "\r\n  Quillmere  \r\n"
    "\r\n  ver 1.2  June 14, 2007 "
    "\r\n  by the Quillmere authors   Email: quillmere@example.org \r\n\r\n"
    "\r\n  Transfer functions magnitude for lowpass "
    "\r\n  Butterworth and Bessel filters. \r\n";
const std::string closing_list_head = "\r\n\r\n Output Files: \r\n\r\n";
const std::string butterworth_line = "  Butterworth.out \r\n";
const std::string bessel_line = "  Bessel.out \r\n";
const std::string full_console = banner + closing_list_head + butterworth_line + bessel_line;

struct run_result {
  int status;
  std::string out;
  std::string err;
};

class Program : public testing::Test {
 protected:
  temporary_folder scratch;
  fs::path work = scratch.path() / "work";  // the program's working folder

  void SetUp() override { fs::create_directory(work); }

  // Runs the program from `work` through the platform's shell. `before`
  // runs first in that folder; `redirections` replace or add to the capture
  // of stdout and stderr (a later redirection of the same descriptor wins);
  // `wrapper` is a command the program runs under.
  run_result run(const std::string& before = "", const std::string& redirections = "",
                 const std::string& arguments = "", const std::string& wrapper = "") {
    const fs::path out = scratch.path() / "stdout";
    const fs::path err = scratch.path() / "stderr";
    const std::string command = shell::in_folder(work) + before +
                                (shell::is_posix ? " exec " : " ") + wrapper + " " +
                                program_command + " " + arguments + " >" + shell::quote(out) +
                                " 2>" + shell::quote(err) + " " + redirections;
    const int status = shell::run(command);
    return {status, read_file(out), read_file(err)};
  }

  std::string table(const char* name) const { return read_file(work / name); }
};

const std::string& expected(const char* name) {
  static const std::string butterworth = read_file(test_data / "Butterworth.out");
  static const std::string bessel = read_file(test_data / "Bessel.out");
  return std::string(name) == "Butterworth.out" ? butterworth : bessel;
}

// Record i (counting from 0) of a table.
std::string record(const std::string& table, std::size_t i) {
  return table.substr(i * quillmere::response_record_length, quillmere::response_record_length);
}

TEST(ExpectedTables, HoldTheKnownRecords) {
  const std::string& butterworth = expected("Butterworth.out");
  const std::string& bessel = expected("Bessel.out");
  ASSERT_EQ(butterworth.size(), 26'000u);
  ASSERT_EQ(bessel.size(), 26'000u);
  const std::string at_zero = " 0.000000e+000 1.0000e+000 1.0000e+000 1.0000e+000\r\n";
  EXPECT_EQ(record(butterworth, 0), at_zero);
  EXPECT_EQ(record(bessel, 0), at_zero);
  EXPECT_EQ(record(butterworth, 100), " 1.000000e+000 7.0711e-001 7.0711e-001 7.0711e-001\r\n");
  EXPECT_EQ(record(bessel, 100), " 1.000000e+000 8.3205e-001 9.3004e-001 9.5534e-001\r\n");
  EXPECT_EQ(record(butterworth, 499), " 4.990000e+000 4.0128e-002 1.6129e-003 6.4773e-005\r\n");
  EXPECT_EQ(record(bessel, 499), " 4.990000e+000 1.1309e-001 1.2802e-001 2.5719e-001\r\n");
}

// The magnitudes of point i computed in long double, independently of the
// program's models: Butterworth from its closed form, Bessel from theta_n(j
// omega) in complex arithmetic with the polynomials' integer coefficients.
std::array<long double, 3> independent_magnitudes(const char* family, int i) {
  const long double w = i * 0.01;  // the sweep's double omega, exactly
  constexpr std::array<std::array<long double, 7>, 3> theta{{
      {3, 3, 1},
      {105, 105, 45, 10, 1},
      {10395, 10395, 4725, 1260, 210, 21, 1},
  }};
  std::array<long double, 3> magnitudes{};
  for (int j = 0; j < 3; ++j) {
    const int n = 2 * (j + 1);
    magnitudes[j] = 1.0L / std::sqrt(1.0L + std::pow(w, 2.0L * n));
    if (std::string(family) == "Bessel.out") {
      std::complex<long double> sum = 0;
      for (int k = n; k >= 0; --k) {
        sum = sum * std::complex<long double>(0, w) + theta[j][k];
      }
      magnitudes[j] = theta[j][0] / std::abs(sum);
    }
  }
  return magnitudes;
}

// A record from those magnitudes, its text from the slow exact reference,
// not the program's rendering.
std::string independent_record(const char* family, int i) {
  std::string text(1, ' ');
  text += reference::scientific(i * 0.01, 12, 6);
  for (const long double m : independent_magnitudes(family, i)) {
    text += ' ';
    text += reference::scientific(static_cast<double>(m), 10, 4);
  }
  text += "\r\n";
  return text;
}

TEST(ExpectedTables, AgreeWithAnIndependentEvaluation) {
  for (const char* family : {"Butterworth.out", "Bessel.out"}) {
    for (int i = 0; i < 500; ++i) {
      ASSERT_EQ(record(expected(family), i), independent_record(family, i)) << family << " " << i;
    }
  }
}

// The distance of m > 0 from the nearest value where its five-digit
// rendering changes, (k + 1/2) * 10^(e - 4), relative to m. The decades on
// either side are looked at too: 0.999995 is the nearest boundary of 1.
long double relative_distance_to_a_rounding_boundary(long double m) {
  const int decade = static_cast<int>(std::floor(std::log10(m)));
  long double nearest = 1;
  for (int e = decade - 1; e <= decade + 1; ++e) {
    const long double unit = std::pow(10.0L, static_cast<long double>(e - 4));
    const long double boundary = (std::floor(m / unit - 0.5L) + 0.5L) * unit;
    for (const long double b : {boundary, boundary + unit}) {
      if (b >= 1e4L * unit * 0.99995L && b <= 1e5L * unit) {  // one of this decade's
        nearest = std::min(nearest, std::fabs(m - b) / m);
      }
    }
  }
  return nearest;
}

// Why every platform writes the same tables, although their pow functions
// differ in the last bits (MinGW's from glibc's by up to 5 ulp on the sweep's
// inputs, moving magnitudes by up to 7 ulp): every printed magnitude lies far
// from the nearest value where its five digits would change. Measured: at
// least 3.75e-9 relative, 1.7 x 10^7 ulp of 2^-52, at Butterworth record 11,
// order 2 (omega = 0.1, 0.99995000375 against the boundary 0.99995). A
// conforming pow, within 1 ulp, moves a magnitude by a few ulp, so the test
// asks for 10^6 ulp: a hundred thousand times the largest difference seen.
TEST(ExpectedTables, EveryMagnitudeIsFarFromAFiveDigitRoundingBoundary) {
  // The measure itself, where it is known: on a boundary, and 1 with its
  // nearest boundary 0.999995 in the decade below.
  EXPECT_LT(relative_distance_to_a_rounding_boundary(0.99995L), 1e-15L);
  EXPECT_LT(relative_distance_to_a_rounding_boundary(2.34565e-3L), 1e-15L);
  EXPECT_LT(std::fabs(relative_distance_to_a_rounding_boundary(1.0L) - 5e-6L), 1e-15L);
  EXPECT_LT(std::fabs(relative_distance_to_a_rounding_boundary(4.0128e-2L) - 5e-5L / 4.0128L),
            1e-15L);

  constexpr long double ulp = std::numeric_limits<double>::epsilon();
  long double smallest = 1;
  std::string where;
  for (const char* family : {"Butterworth.out", "Bessel.out"}) {
    for (int i = 0; i < 500; ++i) {
      const std::array<long double, 3> magnitudes = independent_magnitudes(family, i);
      for (int j = 0; j < 3; ++j) {
        const long double distance = relative_distance_to_a_rounding_boundary(magnitudes[j]);
        if (distance < smallest) {
          smallest = distance;
          where = std::string(family) + " record " + std::to_string(i + 1) + " order " +
                  std::to_string(2 * (j + 1));
        }
      }
    }
  }
  std::printf("smallest margin: %.3Le relative (%.3Le ulp), at %s\n", smallest, smallest / ulp,
              where.c_str());
  EXPECT_GT(smallest / ulp, 1e6L) << where;
}

TEST_F(Program, WritesBothTablesAndTheConsoleTextExactly) {
  const run_result r = run();
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, full_console);
  EXPECT_EQ(table("Butterworth.out"), expected("Butterworth.out"));
  EXPECT_EQ(table("Bessel.out"), expected("Bessel.out"));
  // Nothing else is left in the folder.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(work)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Bessel.out", "Butterworth.out"}));
}

TEST_F(Program, ArgumentsEnvironmentAndLocaleChangeNothing) {
  const run_result r =
      run(shell::is_posix ? "LC_ALL=de_DE.UTF-8 LANG=fr_FR.UTF-8 LC_NUMERIC=de_DE POSIXLY_CORRECT=1"
                          : "set \"LC_ALL=de_DE.UTF-8\" && set \"LANG=fr_FR.UTF-8\" && ",
          "", "--help -o other.out 3");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, full_console);
  EXPECT_EQ(table("Butterworth.out"), expected("Butterworth.out"));
  EXPECT_EQ(table("Bessel.out"), expected("Bessel.out"));
}

TEST_F(Program, SecondRunTruncatesAndRewritesTheSameBytes) {
  const std::string longer(100'000, '#');
  { std::ofstream(work / "Butterworth.out") << longer; }
  { std::ofstream(work / "Bessel.out") << longer; }
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(run().status, 0);
    EXPECT_EQ(table("Butterworth.out"), expected("Butterworth.out"));
    EXPECT_EQ(table("Bessel.out"), expected("Bessel.out"));
  }
}

// The tables reach the system only in whole 4096-byte blocks during the
// sweep, then each remainder at the end, Butterworth's first; neither table
// is flushed or closed before that.
TEST_F(Program, TablesAreWrittenInBlocksAndFinishedButterworthFirst) {
  if (!shell::has_command("strace")) {
    GTEST_SKIP() << (shell::is_posix ? "strace is not installed"
                                     : "strace traces Linux system calls only");
  }
  const fs::path trace = scratch.path() / "trace";
  const run_result r =
      run("ASAN_OPTIONS=detect_leaks=0", "", "",  // LeakSanitizer cannot run under a tracer
          "strace -qq -e trace=openat,write,close -e signal=none -o " + shell::quote(trace));
  ASSERT_EQ(r.status, 0);
  // Keep the calls on the tables' descriptors, in order.
  std::ifstream in(trace);
  std::map<std::string, std::string> name_of;  // descriptor -> table
  std::vector<std::string> calls;
  for (std::string line; std::getline(in, line);) {
    for (const char* name : {"Butterworth.out", "Bessel.out"}) {
      if (line.starts_with("openat(") && line.find(name) != std::string::npos) {
        name_of[line.substr(line.rfind('=') + 2)] = name;
      }
    }
    for (const auto& [fd, name] : name_of) {
      if (line.starts_with("write(" + fd + ",")) {
        calls.push_back(name + " write " + line.substr(line.rfind('=') + 2));
      } else if (line.starts_with("close(" + fd + ")")) {
        calls.push_back(name + " close");
      }
    }
  }
  std::vector<std::string> expected_calls;
  for (int block = 0; block < 6; ++block) {  // 6 * 4096 = 24576 of 26000 bytes
    expected_calls.push_back("Butterworth.out write 4096");
    expected_calls.push_back("Bessel.out write 4096");
  }
  expected_calls.insert(expected_calls.end(),
                        {"Butterworth.out write 1424", "Butterworth.out close",
                         "Bessel.out write 1424", "Bessel.out close"});
  EXPECT_EQ(calls, expected_calls);
}

// A console pipe whose reader has gone: the tables are finished before the
// console text goes out, so the run ends by SIGPIPE with both complete.
TEST_F(Program, ConsolePipeClosedEarlyEndsBySigpipeAfterBothTables) {
  if (!shell::is_posix) {
    GTEST_SKIP() << "Windows has no SIGPIPE: a write to a closed pipe fails, and is reported";
  }
  const fs::path status_file = scratch.path() / "status";
  // The reader, `true`, is gone long before the program starts writing.
  const std::string command = shell::in_folder(work) + "{ sleep 0.3; " + program_command +
                              " 2>/dev/null; echo $? >" + shell::quote(status_file) + "; } | true";
  ASSERT_EQ(shell::run(command), 0);
  EXPECT_EQ(read_file(status_file), "141\n");  // 128 + SIGPIPE, as the shell shows it
  EXPECT_EQ(table("Butterworth.out"), expected("Butterworth.out"));
  EXPECT_EQ(table("Bessel.out"), expected("Bessel.out"));
}

// What a fault leaves in a table's place.
enum class left_behind {
  complete,     // the table, byte for byte
  empty,        // a file of zero length: never a fragment
  not_a_table,  // a folder or a device stood there; not read
  nothing,      // no file at all
};

// What the closing list names.
enum class listed { both, butterworth, bessel, none, not_seen /* stdout is not captured */ };

// How a fault is made, beyond shell commands and redirections.
enum class setup {
  shell,       // `before` and `redirections` alone
  strace,      // `wrapper` runs the program under strace, which injects the fault
  small_disk,  // the working folder is a 32 KiB tmpfs: room for one table, not two
};

struct fault_case {
  const char* name;
  setup how;
  const char* before;        // shell commands run in the working folder first
  const char* redirections;  // added after the capture of stdout and stderr
  const char* wrapper;       // the program runs under it; WORK stands for the folder
  int status;
  const char* err;  // exact error text
  left_behind butterworth;
  left_behind bessel;
  listed list;
  const char* not_on_windows = nullptr;  // why cmd.exe cannot make this fault
};

constexpr const char* no_dev_full = "Windows has no /dev/full";
constexpr const char* no_closing = "cmd.exe cannot start a program with a descriptor closed";

// Writes and closes on a table's descriptor are found by its absolute path
// (strace's -P); LeakSanitizer cannot run under a tracer.
#define QUILLMERE_INJECT(table, call, n)                                                     \
  "env ASAN_OPTIONS=detect_leaks=0 strace -qq -o /dev/null -P WORK/" table " -e trace=" call \
  " -e inject=" call ":error=EIO:when=" n

const fault_case fault_cases[] = {
    {"FolderForButterworth", setup::shell, "mkdir Butterworth.out &&", "", "", 1,
     "quillmere: cannot create Butterworth.out: Is a directory\n", left_behind::not_a_table,
     left_behind::complete, listed::bessel},
    {"FolderForBessel", setup::shell, "mkdir Bessel.out &&", "", "", 1,
     "quillmere: cannot create Bessel.out: Is a directory\n", left_behind::complete,
     left_behind::not_a_table, listed::butterworth},
    {"FoldersForBoth", setup::shell, "mkdir Butterworth.out Bessel.out &&", "", "", 1,
     "quillmere: cannot create Butterworth.out: Is a directory\n"
     "quillmere: cannot create Bessel.out: Is a directory\n",
     left_behind::not_a_table, left_behind::not_a_table, listed::none},
    {"WorkingFolderRemoved", setup::shell, "mkdir gone && cd gone && rmdir ../gone &&", "", "", 1,
     "quillmere: cannot create Butterworth.out: No such file or directory\n"
     "quillmere: cannot create Bessel.out: No such file or directory\n",
     left_behind::nothing, left_behind::nothing, listed::none,
     "Windows cannot remove the folder a process works in"},
    {"ButterworthOnFullDisk", setup::shell, "ln -s /dev/full Butterworth.out &&", "", "", 1,
     "quillmere: cannot write Butterworth.out: No space left on device\n", left_behind::not_a_table,
     left_behind::complete, listed::bessel, no_dev_full},
    {"BesselOnFullDisk", setup::shell, "ln -s /dev/full Bessel.out &&", "", "", 1,
     "quillmere: cannot write Bessel.out: No space left on device\n", left_behind::complete,
     left_behind::not_a_table, listed::butterworth, no_dev_full},
    {"BothOnFullDisk", setup::shell,
     "ln -s /dev/full Butterworth.out && ln -s /dev/full Bessel.out &&", "", "", 1,
     "quillmere: cannot write Butterworth.out: No space left on device\n"
     "quillmere: cannot write Bessel.out: No space left on device\n",
     left_behind::not_a_table, left_behind::not_a_table, listed::none, no_dev_full},
    // Block 3 of 7 fails: the two blocks already written are taken back.
    {"ButterworthFailsAtAMiddleBlock", setup::strace, "", "",
     QUILLMERE_INJECT("Butterworth.out", "write", "3"), 1,
     "quillmere: cannot write Butterworth.out: Input/output error\n", left_behind::empty,
     left_behind::complete, listed::bessel},
    {"BesselFailsAtAMiddleBlock", setup::strace, "", "",
     QUILLMERE_INJECT("Bessel.out", "write", "4"), 1,
     "quillmere: cannot write Bessel.out: Input/output error\n", left_behind::complete,
     left_behind::empty, listed::butterworth},
    // Emptied through its descriptor: a table that is a link stays a link.
    {"LinkedButterworthFailsAtItsLastWrite", setup::strace,
     "touch elsewhere.out && ln -s elsewhere.out Butterworth.out &&", "",
     QUILLMERE_INJECT("elsewhere.out", "write", "7"), 1,
     "quillmere: cannot write Butterworth.out: Input/output error\n", left_behind::empty,
     left_behind::complete, listed::bessel},
    // Every byte was written, but the system could not confirm it.
    {"BesselCloseFails", setup::strace, "", "", QUILLMERE_INJECT("Bessel.out", "close", "1"), 1,
     "quillmere: cannot write Bessel.out: Input/output error\n", left_behind::complete,
     left_behind::complete, listed::butterworth},
    // Butterworth runs out of room at its fifth block and gives its four back.
    {"RoomForOneTable", setup::small_disk, "", "", "", 1,
     "quillmere: cannot write Butterworth.out: No space left on device\n", left_behind::empty,
     left_behind::complete, listed::bessel},
    {"ConsoleOnFullDisk", setup::shell, "", ">/dev/full", "", 1,
     "quillmere: cannot write to standard output: No space left on device\n", left_behind::complete,
     left_behind::complete, listed::not_seen, no_dev_full},
    {"ConsoleClosed", setup::shell, "", ">&-", "", 1,
     "quillmere: cannot write to standard output: Bad file descriptor\n", left_behind::complete,
     left_behind::complete, listed::not_seen, no_closing},
    {"InputClosed", setup::shell, "", "<&-", "", 0, "", left_behind::complete,
     left_behind::complete, listed::both, no_closing},
    {"ErrorsClosed", setup::shell, "", "2>&-", "", 0, "", left_behind::complete,
     left_behind::complete, listed::both, no_closing},
    // Bessel.out takes descriptor 2 when Butterworth.out cannot be created...
    {"ErrorsClosedAndButterworthCannotBeCreated", setup::shell, "mkdir Butterworth.out &&", "2>&-",
     "", 1, "", left_behind::not_a_table, left_behind::complete, listed::bessel, no_closing},
    // ... and Butterworth.out takes it otherwise: the message about Bessel.out
    // must not land in it.
    {"ErrorsClosedAndBesselCannotBeCreated", setup::shell, "mkdir Bessel.out &&", "2>&-", "", 1, "",
     left_behind::complete, left_behind::not_a_table, listed::butterworth, no_closing},
    {"AllThreeClosed", setup::shell, "", "<&- >&- 2>&-", "", 1, "", left_behind::complete,
     left_behind::complete, listed::not_seen, no_closing},
};

// Error text as this platform writes it: Windows reports a folder in the
// way as EACCES, and its standard error is a text stream, which ends each
// line with CR LF.
std::string platform_error_text(std::string text) {
  if (!shell::is_posix) {
    for (std::size_t at = text.find("Is a directory"); at != std::string::npos;
         at = text.find("Is a directory", at)) {
      text.replace(at, 14, "Permission denied");
    }
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
      text.replace(at, 1, "\r\n");
    }
  }
  return text;
}

void PrintTo(const fault_case& c, std::ostream* out) { *out << c.name; }

class ProgramFault : public Program, public testing::WithParamInterface<fault_case> {
 protected:
  bool mounted = false;
  void TearDown() override {
    if (mounted) {
      static_cast<void>(std::system(("umount '" + work.string() + "'").c_str()));
    }
  }
};

// The names that `before` makes symbolic links ("ln -s TARGET NAME").
std::vector<std::string> links_made(const std::string& before) {
  std::vector<std::string> names;
  for (std::size_t at = before.find("ln -s "); at != std::string::npos;
       at = before.find("ln -s ", at + 1)) {
    const std::size_t target_end = before.find(' ', at + 6);
    const std::size_t name_end = before.find(' ', target_end + 1);
    names.push_back(before.substr(target_end + 1, name_end - target_end - 1));
  }
  return names;
}

TEST_P(ProgramFault, IsReportedAndLeavesEachTableCompleteOrEmpty) {
  const fault_case& c = GetParam();
  if (!shell::is_posix && c.not_on_windows != nullptr) {
    GTEST_SKIP() << c.not_on_windows;
  }
  if (c.how == setup::strace && !shell::has_command("strace")) {
    GTEST_SKIP() << (shell::is_posix ? "strace is not installed: it injects this fault"
                                     : "strace injects this fault, and traces Linux only");
  }
  if (c.how == setup::small_disk && !shell::is_posix) {
    GTEST_SKIP() << "a small tmpfs is Linux's";
  }
  if (c.how == setup::small_disk) {
    mounted = std::system(
                  ("mount -t tmpfs -o size=32k quillmere-test '" + work.string() + "' 2>/dev/null")
                      .c_str()) == 0;
    if (!mounted) {
      GTEST_SKIP() << "cannot mount a small tmpfs here (needs root and a mount namespace)";
    }
  }
  std::string wrapper = c.wrapper;
  if (const std::size_t at = wrapper.find("WORK"); at != std::string::npos) {
    wrapper.replace(at, 4, work.string());
  }
  const run_result r = run(c.before, c.redirections, "", wrapper);
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.err, platform_error_text(c.err));
  if (c.list != listed::not_seen) {
    const std::string list = c.list == listed::both          ? butterworth_line + bessel_line
                             : c.list == listed::butterworth ? butterworth_line
                             : c.list == listed::bessel      ? bessel_line
                                                             : "";
    EXPECT_EQ(r.out, banner + closing_list_head + list);
  }
  // Each table is whole and exact, or empty: never a fragment, and nothing
  // meant for the console or for standard error landed in it.
  for (const auto& [name, left] :
       {std::pair{"Butterworth.out", c.butterworth}, std::pair{"Bessel.out", c.bessel}}) {
    SCOPED_TRACE(name);
    const fs::path path = work / name;
    switch (left) {
      case left_behind::complete:
        EXPECT_EQ(table(name), expected(name));
        break;
      case left_behind::empty:
        EXPECT_TRUE(fs::is_regular_file(path));
        EXPECT_EQ(table(name), "");
        break;
      case left_behind::not_a_table:
        EXPECT_FALSE(fs::is_regular_file(path));
        break;
      case left_behind::nothing:
        EXPECT_FALSE(fs::exists(fs::symlink_status(path)));
        break;
    }
  }
  for (const std::string& name : links_made(c.before)) {
    EXPECT_TRUE(fs::is_symlink(work / name)) << name << " is still a symbolic link";
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, ProgramFault, testing::ValuesIn(fault_cases),
                         [](const testing::TestParamInfo<fault_case>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
