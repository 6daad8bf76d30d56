// Quillmere: tabulates the magnitude of the Butterworth and Bessel lowpass
// responses of orders 2, 4 and 6 at 500 normalised frequencies, and writes one
// table per family, "Butterworth.out" and "Bessel.out", in the current folder.
//
// The program reads nothing: no arguments, no environment, no input. Every run
// writes the same bytes. The exit status is 0 when both tables and the console
// text were written in full, 1 otherwise (each failure is reported on
// standard error, and the other table is still written).
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
  bool failed = false;

  for (const char* text : banner) {
    print_console(text);
  }

  for (std::size_t t = 0; t < table_count; ++t) {
    if (const int error = open_response_file(output_files[t], output_names[t]); error != 0) {
      report_failure("cannot create", output_names[t], error);
      failed = true;
    }
  }

  fill_bessel_coef();
  run_sweep(output_files[butterworth_table], output_files[bessel_table]);

  // The closing list names the tables that were created.
  print_console("\n\n Output Files: \n\n");
  for (std::size_t t = 0; t < table_count; ++t) {
    if (output_files[t].stream != nullptr) {
      print_console("  ");
      print_console(output_names[t]);
      print_console(" \n");
    }
  }

  // What is still buffered goes out last: the Butterworth table, the Bessel
  // table, then the console.
  for (std::size_t t = 0; t < table_count; ++t) {
    if (const int error = finish_response_file(output_files[t]); error != 0) {
      report_failure("cannot write", output_names[t], error);
      failed = true;
    }
  }
  if (const int error = finish_console(); error != 0) {
    report_failure("cannot write to", "standard output", error);
    failed = true;
  }
  return failed ? EXIT_FAILURE : EXIT_SUCCESS;
}
