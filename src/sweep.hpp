// The frequency sweep: 500 points omega = 0, 0.01, ..., 4.99, each giving one
// record of Butterworth magnitudes and then one of Bessel magnitudes, for the
// orders 2, 4 and 6. The program runs it once; the benchmark runs the same
// function.
#pragma once

#include <array>

#include "response_file.hpp"

namespace quillmere {

inline constexpr std::array<int, magnitudes_per_record> sweep_orders{2, 4, 6};
inline constexpr int num_points = 500;     // one record per point in each table
inline constexpr double freq_step = 0.01;  // the double nearest 0.01

// The frequency of point i: i * freq_step rounded once, never a running sum,
// so the last point is exactly the double nearest 4.99.
constexpr double sweep_frequency(int i) { return static_cast<double>(i) * freq_step; }

// Writes the 500 records of each table, alternately: a point's Butterworth
// record, then its Bessel record. Requires `bessel_coef` to be filled.
void run_sweep(response_file& butterworth, response_file& bessel);

}  // namespace quillmere
