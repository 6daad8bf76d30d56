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

namespace {

using namespace quillmere;

struct field {
  double value;
  int width;
  int digits;
};

// Every field of both tables, as the program renders them.
const std::vector<field>& sweep_fields() {
  static const std::vector<field> fields = [] {
    fill_bessel_coef();
    std::vector<field> all;
    for (int i = 0; i < 500; ++i) {
      const double omega = i * 0.01;
      all.push_back({omega, 12, 6});
      for (const int n : {2, 4, 6}) {
        all.push_back({butterworth_magnitude(omega, n), 10, 4});
      }
      all.push_back({omega, 12, 6});
      for (const double m : bessel_magnitudes(omega)) {
        all.push_back({m, 10, 4});
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
BENCHMARK(sweep_format_scientific);
BENCHMARK(sweep_snprintf);
BENCHMARK(random_format_scientific);
BENCHMARK(random_snprintf);

response_file bench_table;  // 4 KiB: kept off the stack

// One record, appended to a table whose blocks go to /dev/null.
void one_record(benchmark::State& state) {
  if (open_response_file(bench_table, "/dev/null") != 0) {
    state.SkipWithError("cannot open /dev/null");
    return;
  }
  const std::array<double, 3> magnitudes{0.70710678118654746, 0.93004, 6.4773e-05};
  for (auto _ : state) {
    write_response_record(bench_table, 1.0, magnitudes);
  }
  finish_response_file(bench_table);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(one_record);

// The whole sweep: both models at 500 points and 1000 records, the blocks
// going to /dev/null.
void whole_sweep(benchmark::State& state) {
  for (auto _ : state) {
    if (open_response_file(bench_table, "/dev/null") != 0) {
      state.SkipWithError("cannot open /dev/null");
      return;
    }
    fill_bessel_coef();
    for (int i = 0; i < 500; ++i) {
      const double omega = i * 0.01;
      write_response_record(bench_table, omega,
                            {butterworth_magnitude(omega, 2), butterworth_magnitude(omega, 4),
                             butterworth_magnitude(omega, 6)});
      write_response_record(bench_table, omega, bessel_magnitudes(omega));
    }
    finish_response_file(bench_table);
  }
}
BENCHMARK(whole_sweep);

}  // namespace

BENCHMARK_MAIN();
