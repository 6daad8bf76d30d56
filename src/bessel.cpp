#include "bessel.hpp"

#include <cmath>
#include <cstdint>

#include "double_rounding.hpp"

namespace quillmere {

bessel_coef_table bessel_coef{};

namespace {

// m! as an exact integer; 16!, the largest needed (row 8, column 0), is far
// below 2^64.
std::uint64_t factorial(int m) {
  std::uint64_t product = 1;
  for (int factor = 2; factor <= m; ++factor) {
    product *= static_cast<std::uint64_t>(factor);
  }
  return product;
}

// a0 / |theta(j omega)| from the real and imaginary parts of theta(j omega).
// The squares come from pow, like every power in the program.
double magnitude_from(double a0, double re, double im) {
  return a0 / std::sqrt(std::pow(im, 2.0) + std::pow(re, 2.0));
}

}  // namespace

void fill_bessel_coef() {
  for (int n = 0; n <= max_bessel_order; ++n) {
    for (int k = 0; k <= n; ++k) {
      const std::uint64_t numerator = factorial(2 * n - k);
      const double power_of_two = std::pow(2.0, static_cast<double>(n - k));
      const auto denominator = static_cast<double>(factorial(k) * factorial(n - k));
      bessel_coef[n][k] = static_cast<double>(numerator) / (power_of_two * denominator);
    }
  }
}

std::array<double, 3> bessel_magnitudes(double omega) {
  // theta_n(j omega) = sum a_k (j omega)^k, with j^2 = -1, j^3 = -j,
  // j^4 = 1, j^5 = j, j^6 = -1: even powers build the real part with
  // alternating signs, odd powers the imaginary part. The groupings below are
  // part of the result: they fix the order in which each sum is rounded.
  const double w2 = std::pow(omega, 2.0);
  const double w3 = std::pow(omega, 3.0);
  const double w4 = std::pow(omega, 4.0);
  const double w5 = std::pow(omega, 5.0);
  const double w6 = std::pow(omega, 6.0);
  const auto& a2 = bessel_coef[2];
  const auto& a4 = bessel_coef[4];
  const auto& a6 = bessel_coef[6];

  const double re2 = a2[0] - w2 * a2[2];
  const double im2 = a2[1] * omega;

  const double re4 = (w4 * a4[4] - w2 * a4[2]) + a4[0];
  const double im4 = a4[1] * omega - w3 * a4[3];

  const double re6 = ((w4 * a6[4] - w6 * a6[6]) - w2 * a6[2]) + a6[0];
  const double im6 = (w5 * a6[5] - w3 * a6[3]) + a6[1] * omega;

  return {magnitude_from(a2[0], re2, im2), magnitude_from(a4[0], re4, im4),
          magnitude_from(a6[0], re6, im6)};
}

}  // namespace quillmere
