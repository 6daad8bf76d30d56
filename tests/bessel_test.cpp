// The Bessel coefficient table against the reverse Bessel polynomials built
// by their integer recurrence, and the magnitudes against theta_n(j omega)
// evaluated with complex long double arithmetic from the same rows.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>

#include "bessel.hpp"

namespace {

constexpr long double epsilon = std::numeric_limits<double>::epsilon();

using quillmere::bessel_coef;
using quillmere::bessel_magnitudes;
using quillmere::fill_bessel_coef;

constexpr int rows = quillmere::bessel_table_size;
using integer_table = std::array<std::array<std::int64_t, rows>, rows>;

// theta_0 = 1, theta_1 = s + 1, theta_n = (2n - 1) theta_{n-1} + s^2 theta_{n-2}.
integer_table reverse_bessel_polynomials() {
  integer_table theta{};
  theta[0][0] = 1;
  theta[1][0] = 1;
  theta[1][1] = 1;
  for (int n = 2; n <= quillmere::max_bessel_order; ++n) {
    for (int k = 0; k <= n; ++k) {
      theta[n][k] =
          (2 * n - 1) * (k <= n - 1 ? theta[n - 1][k] : 0) + (k >= 2 ? theta[n - 2][k - 2] : 0);
    }
  }
  return theta;
}

class BesselTable : public testing::Test {
 protected:
  void SetUp() override { fill_bessel_coef(); }
};

TEST_F(BesselTable, IsTheReverseBesselPolynomials) {
  const integer_table expected = reverse_bessel_polynomials();
  for (int n = 0; n < rows; ++n) {
    for (int k = 0; k < rows; ++k) {
      // Row 9 and everything above the diagonal hold the recurrence's zeros.
      EXPECT_EQ(bessel_coef[n][k], static_cast<double>(expected[n][k]))
          << "row " << n << " column " << k;
    }
  }
  EXPECT_EQ(bessel_coef[2], (std::array<double, rows>{3, 3, 1}));
  EXPECT_EQ(bessel_coef[4], (std::array<double, rows>{105, 105, 45, 10, 1}));
  EXPECT_EQ(bessel_coef[6], (std::array<double, rows>{10395, 10395, 4725, 1260, 210, 21, 1}));
  EXPECT_EQ(bessel_coef[8][0], 2027025.0);
}

TEST_F(BesselTable, FillingTwiceGivesTheSameTable) {
  const quillmere::bessel_coef_table first = bessel_coef;
  fill_bessel_coef();
  EXPECT_EQ(bessel_coef, first);
}

class BesselMagnitudes : public BesselTable {};

TEST_F(BesselMagnitudes, ExactAtZeroAndOne) {
  EXPECT_EQ(bessel_magnitudes(0.0), (std::array<double, 3>{1.0, 1.0, 1.0}));
  const auto at_one = bessel_magnitudes(1.0);
  EXPECT_EQ(at_one[0], 3.0 / std::sqrt(13.0));  // Re = 2, Im = 3
  EXPECT_EQ(at_one[1], 105.0 / std::sqrt(61.0 * 61.0 + 95.0 * 95.0));
  // Delay-normalised: omega = 1 is above the -3 dB point of every order.
  for (const double m : at_one) {
    EXPECT_GT(m, 1.0 / std::sqrt(2.0));
  }
}

// a0 / |theta_n(j omega)| by Horner's rule in complex long double.
long double complex_magnitude(int n, double omega) {
  const std::complex<long double> s(0.0L, omega);
  std::complex<long double> theta = 0;
  for (int k = n; k >= 0; --k) {
    theta = theta * s + static_cast<long double>(bessel_coef[n][k]);
  }
  return static_cast<long double>(bessel_coef[n][0]) / std::abs(theta);
}

TEST_F(BesselMagnitudes, AgreeWithComplexArithmeticOverTheSweep) {
  for (int i = 0; i < 500; ++i) {
    const double omega = i * 0.01;
    const auto actual = bessel_magnitudes(omega);
    for (int j = 0; j < 3; ++j) {
      const long double expected = complex_magnitude(2 * (j + 1), omega);
      // A handful of roundings in each sum, none cancelling badly: the
      // imaginary part dominates wherever the real part crosses zero.
      EXPECT_LE(std::fabs(actual[j] - expected) / expected, 8 * epsilon)
          << "order " << 2 * (j + 1) << " omega " << omega;
    }
  }
}

TEST_F(BesselMagnitudes, SmoothThroughTheSignChangeOfOrderTwo) {
  // Re(theta_2) = 3 - omega^2 changes sign at sqrt(3); the magnitude keeps
  // falling through it.
  const double root = std::sqrt(3.0);
  double previous = bessel_magnitudes(root - 1e-3)[0];
  for (int i = -999; i <= 1000; ++i) {
    const double m = bessel_magnitudes(root + i * 1e-6)[0];
    EXPECT_LT(m, previous);
    previous = m;
  }
}

TEST_F(BesselMagnitudes, SixthOrderIsWidestAtTheTopOfTheSweep) {
  const auto top = bessel_magnitudes(4.99);
  EXPECT_GT(top[2], top[1]);
  EXPECT_GT(top[1], top[0]);
}

}  // namespace
