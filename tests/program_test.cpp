// The built program, end to end: each run happens in a fresh temporary
// folder and its console text, error text, exit status and both tables are
// compared byte for byte.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "exact_decimal.hpp"
#include "response_file.hpp"
#include "temporary_folder.hpp"

namespace {

namespace fs = std::filesystem;

const fs::path program = QUILLMERE_PROGRAM;
const fs::path test_data = QUILLMERE_TEST_DATA;

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

  // Runs the program from `work` through /bin/sh. `before` runs first in
  // that folder; `redirections` replace or add to the capture of stdout and
  // stderr (a later redirection of the same descriptor wins); `wrapper` is a
  // command the program runs under.
  run_result run(const std::string& before = "", const std::string& redirections = "",
                 const std::string& arguments = "", const std::string& wrapper = "") {
    const fs::path out = scratch.path() / "stdout";
    const fs::path err = scratch.path() / "stderr";
    const std::string command = "cd '" + work.string() + "' && " + before + " exec " + wrapper +
                                " '" + program.string() + "' " + arguments + " >'" + out.string() +
                                "' 2>'" + err.string() + "' " + redirections;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err)};
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

// A record from magnitudes computed in long double, independently of the
// program's models: Butterworth from its closed form, Bessel from theta_n(j
// omega) in complex arithmetic with the polynomials' integer coefficients.
// The text comes from the slow exact reference, not the program's rendering.
// Every magnitude in the tables is far enough from a rounding boundary of its
// five printed digits that this evaluation prints the same text.
std::string independent_record(const char* family, int i) {
  const double omega = i * 0.01;
  std::string text(1, ' ');
  text += reference::scientific(omega, 12, 6);
  const long double w = omega;
  constexpr std::array<std::array<long double, 7>, 3> theta{{
      {3, 3, 1},
      {105, 105, 45, 10, 1},
      {10395, 10395, 4725, 1260, 210, 21, 1},
  }};
  for (int j = 0; j < 3; ++j) {
    const int n = 2 * (j + 1);
    long double m = 1.0L / std::sqrt(1.0L + std::pow(w, 2.0L * n));
    if (std::string(family) == "Bessel.out") {
      std::complex<long double> sum = 0;
      for (int k = n; k >= 0; --k) {
        sum = sum * std::complex<long double>(0, w) + theta[j][k];
      }
      m = theta[j][0] / std::abs(sum);
    }
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
  const run_result r = run("LC_ALL=de_DE.UTF-8 LANG=fr_FR.UTF-8 LC_NUMERIC=de_DE POSIXLY_CORRECT=1",
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
// sweep, then each remainder after the console text is done, Butterworth's
// first; neither table is flushed or closed before that.
TEST_F(Program, TablesAreWrittenInBlocksAndFinishedButterworthFirst) {
  if (std::system("command -v strace >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "strace is not installed";
  }
  const fs::path trace = scratch.path() / "trace";
  const run_result r =
      run("ASAN_OPTIONS=detect_leaks=0", "", "",  // LeakSanitizer cannot run under a tracer
          "strace -qq -e trace=openat,write,close -e signal=none -o '" + trace.string() + "'");
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
  const fs::path status_file = scratch.path() / "status";
  const std::string command = "cd '" + work.string() + "' && { sleep 0.3; '" + program.string() +
                              "' 2>/dev/null; echo $? >'" + status_file.string() + "'; } | true";
  ASSERT_EQ(std::system(command.c_str()), 0);
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
};

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
     left_behind::nothing, left_behind::nothing, listed::none},
    {"ButterworthOnFullDisk", setup::shell, "ln -s /dev/full Butterworth.out &&", "", "", 1,
     "quillmere: cannot write Butterworth.out: No space left on device\n", left_behind::not_a_table,
     left_behind::complete, listed::bessel},
    {"BesselOnFullDisk", setup::shell, "ln -s /dev/full Bessel.out &&", "", "", 1,
     "quillmere: cannot write Bessel.out: No space left on device\n", left_behind::complete,
     left_behind::not_a_table, listed::butterworth},
    {"BothOnFullDisk", setup::shell,
     "ln -s /dev/full Butterworth.out && ln -s /dev/full Bessel.out &&", "", "", 1,
     "quillmere: cannot write Butterworth.out: No space left on device\n"
     "quillmere: cannot write Bessel.out: No space left on device\n",
     left_behind::not_a_table, left_behind::not_a_table, listed::none},
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
     left_behind::complete, listed::not_seen},
    {"ConsoleClosed", setup::shell, "", ">&-", "", 1,
     "quillmere: cannot write to standard output: Bad file descriptor\n", left_behind::complete,
     left_behind::complete, listed::not_seen},
    {"InputClosed", setup::shell, "", "<&-", "", 0, "", left_behind::complete,
     left_behind::complete, listed::both},
    {"ErrorsClosed", setup::shell, "", "2>&-", "", 0, "", left_behind::complete,
     left_behind::complete, listed::both},
    // Bessel.out takes descriptor 2 when Butterworth.out cannot be created...
    {"ErrorsClosedAndButterworthCannotBeCreated", setup::shell, "mkdir Butterworth.out &&", "2>&-",
     "", 1, "", left_behind::not_a_table, left_behind::complete, listed::bessel},
    // ... and Butterworth.out takes it otherwise: the message about Bessel.out
    // must not land in it.
    {"ErrorsClosedAndBesselCannotBeCreated", setup::shell, "mkdir Bessel.out &&", "2>&-", "", 1, "",
     left_behind::complete, left_behind::not_a_table, listed::butterworth},
    {"AllThreeClosed", setup::shell, "", "<&- >&- 2>&-", "", 1, "", left_behind::complete,
     left_behind::complete, listed::not_seen},
};

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
  if (c.how == setup::strace && std::system("command -v strace >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "strace is not installed: it injects this fault";
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
  EXPECT_EQ(r.err, c.err);
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
