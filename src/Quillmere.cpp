// Quillmere: tabulates the magnitude of the Butterworth and Bessel lowpass
// responses of orders 2, 4 and 6 at 500 normalised frequencies, and writes one
// table per family, "Butterworth.out" and "Bessel.out", in the current folder.
//
// The program reads nothing: no arguments, no environment, no input. Every run
// writes the same bytes. The exit status is 0 when both tables and the console
// text were written in full, 1 otherwise: each failure is reported on
// standard error, a table that failed is left empty, and the other table is
// still written in full.
#include <array>
#include <cstdlib>

#include "bessel.hpp"
#include "console.hpp"
#include "response_file.hpp"
#include "sweep.hpp"

namespace {

using namespace quillmere;

// Tables, in the order they are opened, written and finished.
enum table : std::size_t { butterworth_table, bessel_table, table_count };
constexpr std::array<const char*, table_count> output_names{"Butterworth.out", "Bessel.out"};

constexpr std::array banner{
    "\n  Quillmere  \n",
    "\n  ver 1.2  June 14, 2007 ",
    "\n  by the Quillmere authors   Email: quillmere@example.org \n\n",
    "\n  Transfer functions magnitude for lowpass ",
    "\n  Butterworth and Bessel filters. \n",
};

// 8 KiB of table buffers: kept off the stack, alive for the whole run.
std::array<response_file, table_count> output_files;

}  // namespace

int main() {
  for (const char* text : banner) {
    print_console(text);
  }

  // Why each table could not be created, 0 if it was.
  std::array<int, table_count> create_errors{};
  for (std::size_t t = 0; t < table_count; ++t) {
    create_errors[t] = open_response_file(output_files[t], output_names[t]);
  }

  fill_bessel_coef();
  run_sweep(output_files[butterworth_table], output_files[bessel_table]);

  // The tables are finished, Butterworth's first, before the closing list,
  // so that it names only the tables written in full. Each failure has one
  // line, Butterworth's before Bessel's.
  bool failed = false;
  std::array<bool, table_count> complete{};
  for (std::size_t t = 0; t < table_count; ++t) {
    const table_outcome outcome = finish_response_file(output_files[t]);
    if (create_errors[t] != 0) {
      report_failure("cannot create", output_names[t], create_errors[t]);
    } else if (outcome.error != 0) {
      report_failure("cannot write", output_names[t], outcome.error);
      if (outcome.empty_error != 0) {
        report_failure("cannot empty the incomplete", output_names[t], outcome.empty_error);
      }
    }
    complete[t] = create_errors[t] == 0 && outcome.error == 0;
    failed = failed || !complete[t];
  }

  print_console("\n\n Output Files: \n\n");
  for (std::size_t t = 0; t < table_count; ++t) {
    if (complete[t]) {
      print_console("  ");
      print_console(output_names[t]);
      print_console(" \n");
    }
  }
  if (const int error = finish_console(); error != 0) {
    report_failure("cannot write to", "standard output", error);
    failed = true;
  }
  return failed ? EXIT_FAILURE : EXIT_SUCCESS;
}
