// The Bessel lowpass model: its coefficient table and its magnitudes.
//
// Normalisation: delay. The reverse Bessel polynomial theta_n(s) has unit
// group delay at zero frequency, and the frequency axis is not rescaled, so
// omega = 1 is NOT the -3 dB point: there the second-order magnitude is
// 3/sqrt(13) ~ 0.832, and orders 4 and 6 are higher still. The transfer
// function is H(s) = theta_n(0) / theta_n(s); the magnitude is the linear
// gain |H(j omega)|.
#pragma once

#include <array>

namespace quillmere {

inline constexpr int max_bessel_order = 8;    // rows 0 to 8 are filled
inline constexpr int bessel_table_size = 10;  // rows and columns; row 9 stays zero

// bessel_coef[n][k] is the coefficient of s^k in theta_n(s), lowest power
// first: row 2 is 3, 3, 1 (s^2 + 3s + 3); row 4 is 105, 105, 45, 10, 1.
// Every entry is an integer, exact in a double; entries above the diagonal
// and the whole of row 9 are zero. Filled by `fill_bessel_coef`, then only read.
using bessel_coef_table = std::array<std::array<double, bessel_table_size>, bessel_table_size>;
extern bessel_coef_table bessel_coef;

// Fills rows 0 to 8 of `bessel_coef` from the closed form
//   a_k = (2n - k)! / (2^(n - k) * k! * (n - k)!).
// Filling twice gives the same table.
void fill_bessel_coef();

// The magnitudes of orders 2, 4 and 6 at `omega` >= 0, in that order, read
// from rows 2, 4 and 6 of `bessel_coef` (which must be filled). Like the
// Butterworth magnitudes, they may differ by a few ulp between C libraries'
// pow functions, never enough to move a printed digit.
// Example: omega = 1 gives 3/sqrt(13) for order 2.
std::array<double, 3> bessel_magnitudes(double omega);

}  // namespace quillmere
