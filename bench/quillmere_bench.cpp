// Benchmarks of the number rendering and the record writing. Each rendering
// benchmark has an snprintf twin over the same values, run in the same
// process, so that their ratio holds on a noisy machine.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "bessel.hpp"
#include "butterworth.hpp"
#include "response_file.hpp"
#include "scientific.hpp"
#include "sweep.hpp"

namespace {

using namespace quillmere;

struct field {
  double value;
  int width;
  int digits;
};

// Every field of both tables, as the program renders them: the frequency
// once per point (both records share it) and the six magnitudes.
const std::vector<field>& sweep_fields() {
  static const std::vector<field> fields = [] {
    fill_bessel_coef();
    std::vector<field> all;
    for (int i = 0; i < num_points; ++i) {
      const double omega = sweep_frequency(i);
      all.push_back({omega, frequency_width, frequency_digits});
      for (const int n : sweep_orders) {
        all.push_back({butterworth_magnitude(omega, n), magnitude_width, magnitude_digits});
      }
      for (const double m : bessel_magnitudes(omega)) {
        all.push_back({m, magnitude_width, magnitude_digits});
      }
    }
    return all;
  }();
  return fields;
}

// Finite doubles with uniformly random bit patterns: every exponent equally.
const std::vector<field>& random_fields() {
  static const std::vector<field> fields = [] {
    std::mt19937_64 random(42);
    std::vector<field> all;
    while (all.size() < 4000) {
      const double v = std::bit_cast<double>(random());
      if (std::isfinite(v)) {
        all.push_back({v, 10, 4});
      }
    }
    return all;
  }();
  return fields;
}

// The straightforward rendering: the C library's "%e", then the exponent
// widened to three digits.
char* snprintf_scientific(char* out, double value, int width, int digits) {
  char text[64];
  int length = std::snprintf(text, sizeof text, "%.*e", digits, value);
  char* e = std::strchr(text, 'e');
  if (e != nullptr && text + length - (e + 2) < 3) {
    std::memmove(e + 3, e + 2, static_cast<std::size_t>(text + length - (e + 2)) + 1);
    e[2] = '0';
    ++length;
  }
  for (int i = length; i < width; ++i) {
    *out++ = ' ';
  }
  std::memcpy(out, text, static_cast<std::size_t>(length));
  return out + length;
}

template <char* (*Render)(char*, double, int, int)>
void render_all(benchmark::State& state, const std::vector<field>& fields) {
  std::array<char, max_scientific_length> out{};
  for (auto _ : state) {
    for (const field& f : fields) {
      benchmark::DoNotOptimize(Render(out.data(), f.value, f.width, f.digits));
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(fields.size()));
}

// The entries the records call: each table format's own compiled copy.
char* record_entry(char* out, double value, int width, int /*digits*/) {
  return width == frequency_width
             ? format_scientific<frequency_width, frequency_digits>(out, value)
             : format_scientific<magnitude_width, magnitude_digits>(out, value);
}

void sweep_record_entries(benchmark::State& state) {
  render_all<record_entry>(state, sweep_fields());
}
void sweep_format_scientific(benchmark::State& state) {
  render_all<format_scientific>(state, sweep_fields());
}
void sweep_snprintf(benchmark::State& state) {
  render_all<snprintf_scientific>(state, sweep_fields());
}
void random_format_scientific(benchmark::State& state) {
  render_all<format_scientific>(state, random_fields());
}
void random_snprintf(benchmark::State& state) {
  render_all<snprintf_scientific>(state, random_fields());
}
BENCHMARK(sweep_record_entries);
BENCHMARK(sweep_format_scientific);
BENCHMARK(sweep_snprintf);
BENCHMARK(random_format_scientific);
BENCHMARK(random_snprintf);

std::array<response_file, 2> bench_tables;  // 8 KiB: kept off the stack

// One record, appended to a table whose blocks go to /dev/null.
void one_record(benchmark::State& state) {
  response_file& table = bench_tables[0];
  if (open_response_file(table, "/dev/null") != 0) {
    state.SkipWithError("cannot open /dev/null");
    return;
  }
  const record_magnitudes magnitudes{0.70710678118654746, 0.93004, 6.4773e-05};
  for (auto _ : state) {
    write_response_record(table, 1.0, magnitudes);
  }
  finish_response_file(table);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(one_record);

// The program's own sweep: both models at 500 points and 1000 records, the
// blocks of both tables going to /dev/null.
void whole_sweep(benchmark::State& state) {
  for (auto _ : state) {
    for (response_file& table : bench_tables) {
      if (open_response_file(table, "/dev/null") != 0) {
        state.SkipWithError("cannot open /dev/null");
        return;
      }
    }
    fill_bessel_coef();
    run_sweep(bench_tables[0], bench_tables[1]);
    for (response_file& table : bench_tables) {
      finish_response_file(table);
    }
  }
}
BENCHMARK(whole_sweep);

}  // namespace

BENCHMARK_MAIN();
