// The Butterworth model: exact values at the points where the arithmetic is
// exact, properties over the orders, and an independent evaluation in long
// double over the whole sweep.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "butterworth.hpp"

namespace {

constexpr long double epsilon = std::numeric_limits<double>::epsilon();

using quillmere::butterworth_magnitude;

constexpr int orders[] = {1, 2, 3, 4, 5, 6};

TEST(ButterworthMagnitude, ExactAtZeroOneAndTwo) {
  for (const int n : orders) {
    SCOPED_TRACE(n);
    EXPECT_EQ(butterworth_magnitude(0.0, n), 1.0);
    EXPECT_EQ(butterworth_magnitude(1.0, n), 1.0 / std::sqrt(2.0));  // -3 dB
    // 2^(2n) is exact, so 1 / sqrt(2^(2n) + 1) is the only rounding.
    EXPECT_EQ(butterworth_magnitude(2.0, n), 1.0 / std::sqrt(std::ldexp(1.0, 2 * n) + 1.0));
  }
  EXPECT_EQ(butterworth_magnitude(2.0, 2), 1.0 / std::sqrt(17.0));
  EXPECT_EQ(butterworth_magnitude(2.0, 4), 1.0 / std::sqrt(257.0));
}

TEST(ButterworthMagnitude, HigherOrdersAreSteeper) {
  for (int i = 1; i < 500; ++i) {
    const double omega = i * 0.01;
    const double m2 = butterworth_magnitude(omega, 2);
    const double m4 = butterworth_magnitude(omega, 4);
    const double m6 = butterworth_magnitude(omega, 6);
    if (omega < 1.0) {
      EXPECT_TRUE(m2 <= m4 && m4 <= m6) << omega;  // flatter passband
    } else if (omega > 1.0) {
      EXPECT_TRUE(m2 > m4 && m4 > m6) << omega;  // steeper stopband
    }
  }
}

TEST(ButterworthMagnitude, AgreesWithLongDoubleOverTheSweep) {
  for (const int n : {2, 4, 6}) {
    for (int i = 0; i < 500; ++i) {
      const double omega = i * 0.01;
      const long double expected =
          1.0L / std::sqrt(1.0L + std::pow(static_cast<long double>(omega), 2.0L * n));
      const double actual = butterworth_magnitude(omega, n);
      // pow within an ulp, then three correctly rounded operations: a few
      // units of double rounding at most.
      EXPECT_LE(std::fabs(actual - expected) / expected, 3 * epsilon)
          << "n " << n << " omega " << omega;
    }
  }
}

}  // namespace
