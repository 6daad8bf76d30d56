// The number rendering: tables of crafted cases in named groups, each case
// also checked against the slow exact reference, and seeded random
// comparisons with that reference over the whole range of doubles, over the
// sweep's values, and around the edges of the common-range fast path.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "exact_decimal.hpp"
#include "render.hpp"
#include "scientific.hpp"

namespace {

struct rendering_case {
  double value;
  int width;
  int digits;
  const char* expected;
};

void check_cases(const std::vector<rendering_case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << std::hexfloat << c.value << " width " << c.width
                                    << " digits " << c.digits);
    EXPECT_EQ(render(c.value, c.width, c.digits), c.expected);
    EXPECT_EQ(reference::scientific(c.value, c.width, c.digits), c.expected);
  }
}

TEST(FormatScientific, ZeroAndSign) {
  check_cases({
      {0.0, 12, 6, "0.000000e+000"},
      {0.0, 10, 4, "0.0000e+000"},
      {-0.0, 10, 4, "0.0000e+000"},  // -0 is not below zero: no sign
      {-1.5, 10, 4, "-1.5000e+000"},
      {-0.00390625, 10, 4, "-3.9063e-003"},  // ties round away from zero
      {1.0, 12, 6, "1.000000e+000"},
  });
}

TEST(FormatScientific, WidthAndDigits) {
  check_cases({
      {1.0, 15, 4, "    1.0000e+000"},
      {1.0, 0, 4, "1.0000e+000"},
      {-1.0, 11, 4, "-1.0000e+000"},  // longer than the width: written whole
      {2.5, 0, 0, "3e+000"},          // no point without fraction digits
      {2.5, 8, 0, "  3e+000"},
      {0.1, 0, 16, "1.0000000000000001e-001"},      // all 17 digits
      {0.1, 0, 20, "1.00000000000000010000e-001"},  // beyond 17: zeros
  });
}

TEST(FormatScientific, CarryIntoTheExponent) {
  check_cases({
      {0.999996, 10, 4, "1.0000e+000"},
      {0.99999, 10, 4, "9.9999e-001"},
      {9.99995, 10, 4, "1.0000e+001"},
      {99999.5, 10, 4, "1.0000e+005"},
      {9.99995e99, 10, 4, "1.0000e+100"},
      {9.99996e-100, 10, 4, "1.0000e-099"},
      {0.9999999999999999, 0, 15, "9.999999999999999e-001"},  // 1 - 2^-53
      {0.9999999999999999, 0, 14, "1.00000000000000e+000"},
      {9.5, 0, 0, "1e+001"},
  });
}

TEST(FormatScientific, Exponents) {
  check_cases({
      {0.01, 12, 6, "1.000000e-002"},
      {1e99, 10, 4, "1.0000e+099"},
      {1e100, 10, 4, "1.0000e+100"},
      {1e-100, 10, 4, "1.0000e-100"},
      {std::numeric_limits<double>::max(), 10, 4, "1.7977e+308"},
      {std::numeric_limits<double>::max(), 0, 0, "2e+308"},
      {std::numeric_limits<double>::min(), 10, 4, "2.2251e-308"},
      {std::numeric_limits<double>::denorm_min(), 10, 4, "4.9407e-324"},
      {std::numeric_limits<double>::denorm_min(), 0, 16, "4.9406564584124654e-324"},
      {3 * std::numeric_limits<double>::denorm_min(), 10, 4, "1.4822e-323"},
      {4.99, 12, 6, "4.990000e+000"},
      {1e-5, 10, 4, "1.0000e-005"},
  });
}

TEST(FormatScientific, TiesRoundHalfUp) {
  check_cases({
      {0.00390625, 10, 4, "3.9063e-003"},  // exact tie at the fifth digit
      {0.125, 0, 1, "1.3e-001"},
      {2.5, 0, 0, "3e+000"},
      {0.5, 0, 0, "5e-001"},
      // 123456 + 2^-12 = 123456.000244140625 exactly: 18 digits, the last a 5.
      // Half up keeps ...063, where ties-to-even would give ...062.
      {123456.000244140625, 0, 16, "1.2345600024414063e+005"},
      {123456.000244140625, 0, 4, "1.2346e+005"},
  });
}

// The nearest double to each decimal tie below lies just under the tie, but
// within half a unit of the 17th digit: the first rounding lands exactly on the
// tie and the second rounds it up, where one correct rounding would go down.
TEST(FormatScientific, TwoStepRoundingDiffersFromSingleRounding) {
  check_cases({
      {0.994865, 10, 4, "9.9487e-001"},      // exact 0.99486499999999999932...
      {0.0339555, 10, 4, "3.3956e-002"},     // exact 0.0339554999999999995...
      {0.00934895, 10, 4, "9.3490e-003"},    // exact 0.00934894999999999996...
      {7.4435e-6, 0, 3, "7.444e-006"},       // exact 7.4434999999999999686...e-6
      {1.23455e-300, 10, 4, "1.2346e-300"},  // exact 1.23454999999999995856...e-300
  });
}

// The doubles whose first rounding carries: the exact value's digits are
// seventeen nines, then a 5 or more, so 17 digits round up to the next
// power of ten. Such a double lies within 5e-18 (relative) below
// a power of ten, far closer than the spacing of doubles (2^-52 relative,
// or more for subnormals); so for each power of ten only the double nearest
// it and the one below can be one, and checking those two finds them all.
std::vector<double> doubles_whose_first_rounding_carries() {
  std::vector<double> found;
  for (int p = -323; p <= 308; ++p) {
    const std::string power = "1e" + std::to_string(p);
    const double nearest = std::strtod(power.c_str(), nullptr);
    for (const double v : {nearest, std::nextafter(nearest, 0.0)}) {
      const reference::exact_decimal exact = reference::exact_expansion(v);
      if (exact.exponent == p - 1 && exact.digits.size() > 17 &&
          exact.digits.compare(0, 17, std::string(17, '9')) == 0 && exact.digits[17] >= '5') {
        found.push_back(v);
      }
    }
  }
  return found;
}

// 1, the point, `digits` zeros and the exponent p: the rendering of 10^p.
std::string power_of_ten_text(int p, int digits) {
  std::string text = "1";
  if (digits > 0) {
    text += '.' + std::string(static_cast<std::size_t>(digits), '0');
  }
  const std::string magnitude = std::to_string(p < 0 ? -p : p);
  return text + (p < 0 ? "e-" : "e+") + std::string(3 - magnitude.size(), '0') + magnitude;
}

TEST(FormatScientific, FirstRoundingCarriesIntoTheExponent) {
  const std::vector<double> carrying = doubles_whose_first_rounding_carries();
  // The double nearest 1e-305 is one of them; 1e23's nearest double
  // (9.999999999999999161...e22) is below the tie and is not.
  EXPECT_NE(std::find(carrying.begin(), carrying.end(), 0x1.c16c5c5253575p-1014), carrying.end());
  EXPECT_EQ(std::find(carrying.begin(), carrying.end(), 1e23), carrying.end());
  for (const double v : carrying) {
    const int p = reference::exact_expansion(v).exponent + 1;
    for (const int digits : {0, 1, 4, 6, 10, 15, 16, 20, 40}) {
      SCOPED_TRACE(testing::Message() << std::hexfloat << v << " digits " << digits);
      EXPECT_EQ(render(v, 0, digits), power_of_ten_text(p, digits));
      EXPECT_EQ(reference::scientific(v, 0, digits), power_of_ten_text(p, digits));
    }
    std::array<char, quillmere::max_scientific_length> text{};
    EXPECT_EQ(std::string(text.data(), quillmere::format_scientific<10, 4>(text.data(), v)),
              power_of_ten_text(p, 4));
  }
  // The double below each is a whole unit of its own further down: it keeps
  // its nines and the lower exponent.
  for (const double v : carrying) {
    const double below = std::nextafter(v, 0.0);
    const int p = reference::exact_expansion(v).exponent + 1;
    const std::string text = render(below, 0, 16);
    EXPECT_EQ(text, reference::scientific(below, 0, 16)) << std::hexfloat << below;
    EXPECT_EQ(text.substr(0, 16), "9.99999999999999") << std::hexfloat << below;
    EXPECT_EQ(text.substr(18), power_of_ten_text(p - 1, 0).substr(1)) << std::hexfloat << below;
  }
}

TEST(FormatScientific, NonFiniteValuesAreRenderedNotCrashedOn) {
  EXPECT_EQ(render(std::numeric_limits<double>::infinity(), 10, 4), "       inf");
  EXPECT_EQ(render(-std::numeric_limits<double>::infinity(), 0, 4), "-inf");
  EXPECT_EQ(render(std::numeric_limits<double>::quiet_NaN(), 4, 4), " nan");
}

TEST(FormatScientific, OutOfRangeArgumentsAreClamped) {
  // Within the output buffer whatever the caller asks for.
  EXPECT_EQ(render(1.0, 1000, 4).size(),
            static_cast<std::size_t>(quillmere::max_scientific_length));
  EXPECT_EQ(render(1.0, 0, 1000), reference::scientific(1.0, 0, quillmere::max_fraction_digits));
  EXPECT_EQ(render(1.0, -5, -3), "1e+000");
}

// The reference itself, against the C library's own exact conversion: glibc
// (and MinGW-w64's own printf) print every digit of the double when asked for
// enough of them. A C library that pads with zeros instead has nothing to
// compare with.
TEST(ExactReference, AgreesWithTheCLibraryOnFullExpansions) {
  std::array<char, 80> probe{};
  std::snprintf(probe.data(), probe.size(), "%.54e", 0.1);
  if (std::string(probe.data()) != "1.000000000000000055511151231257827021181583404541015625e-01") {
    GTEST_SKIP() << "this C library does not print a double's exact expansion: " << probe.data();
  }
  std::mt19937_64 random(20261211);
  std::vector<double> values{std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(), 0.1, 4.99, 1e23};
  for (int i = 0; i < 2000; ++i) {
    const double v = std::bit_cast<double>(random());
    if (std::isfinite(v) && v != 0) {
      values.push_back(v);
    }
  }
  std::vector<char> text(1200);
  for (const double v : values) {
    std::snprintf(text.data(), text.size(), "%.1100e", std::fabs(v));
    std::string mantissa(text.data(), std::strchr(text.data(), 'e'));
    mantissa.erase(1, 1);  // the point
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    const int exponent = std::atoi(std::strchr(text.data(), 'e') + 1);
    const auto exact = reference::exact_expansion(v);
    ASSERT_EQ(exact.digits, mantissa) << std::hexfloat << v;
    ASSERT_EQ(exact.exponent, exponent) << std::hexfloat << v;
  }
}

// Compares the program's rendering with the reference on `count` values drawn
// by `draw`; reports the first few mismatches with the value in hex.
template <typename Draw>
void compare_with_reference(int count, std::uint64_t seed, Draw draw) {
  std::mt19937_64 random(seed);
  int mismatches = 0;
  for (int i = 0; i < count && mismatches < 5; ++i) {
    const auto [value, width, digits] = draw(random);
    const std::string expected = reference::scientific(value, width, digits);
    const std::string actual = render(value, width, digits);
    if (actual != expected) {
      ++mismatches;
      ADD_FAILURE() << "value " << std::hexfloat << value << " width " << width << " digits "
                    << digits << ": expected \"" << expected << "\", got \"" << actual << "\"";
    }
  }
}

struct draw_result {
  double value;
  int width;
  int digits;
};

// The tables' two formats have entries of their own, which hand values
// outside the common range and non-finite ones on to the general entry:
// they must agree with it, and with the reference, everywhere.
TEST(FormatScientificFixed, AgreesWithTheGeneralEntryOverEveryKindOfDouble) {
  std::mt19937_64 random(4);
  std::vector<double> values{0.0,
                             -0.0,
                             1.0,
                             -1.0,
                             0.999996,
                             4.99,
                             1e-12,
                             1e17,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
  for (int i = 0; i < 200'000; ++i) {
    values.push_back(std::bit_cast<double>(random()));
  }
  std::array<char, quillmere::max_scientific_length> text{};
  for (const double v : values) {
    const std::string frequency(text.data(), quillmere::format_scientific<12, 6>(text.data(), v));
    const std::string magnitude(text.data(), quillmere::format_scientific<10, 4>(text.data(), v));
    ASSERT_EQ(frequency, render(v, 12, 6)) << std::hexfloat << v;
    ASSERT_EQ(magnitude, render(v, 10, 4)) << std::hexfloat << v;
    if (std::isfinite(v)) {
      ASSERT_EQ(frequency, reference::scientific(v, 12, 6)) << std::hexfloat << v;
      ASSERT_EQ(magnitude, reference::scientific(v, 10, 4)) << std::hexfloat << v;
    }
    EXPECT_LE(magnitude.size(),
              static_cast<std::size_t>(quillmere::scientific_length_bound(10, 4)));
  }
}

TEST(FormatScientificRandom, WholeRangeOfDoubles) {
  compare_with_reference(500'000, 1, [](std::mt19937_64& random) {
    double v = std::numeric_limits<double>::infinity();
    while (!std::isfinite(v)) {
      v = std::bit_cast<double>(random());
    }
    const int digits = static_cast<int>(random() % 21);
    return draw_result{v, static_cast<int>(random() % 30), digits};
  });
}

// Frequencies and magnitudes as the tables hold them: omega in [0, 5) and
// magnitudes from 1e-6 to 1, in the record's widths.
TEST(FormatScientificRandom, SweepRange) {
  compare_with_reference(500'000, 2, [](std::mt19937_64& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    switch (random() % 3) {
      case 0:
        return draw_result{5.0 * unit(random), 12, 6};
      case 1:
        return draw_result{static_cast<double>(random() % 500) * 0.01, 12, 6};
      default:
        return draw_result{std::pow(10.0, -6.0 * unit(random)), 10, 4};
    }
  });
}

// The common range is served by 128-bit arithmetic and the rest by wide
// integers: values on both sides of each edge (near 1e-11 and near 1e16 to
// 1e17), and powers of two and ten around them, must agree all the same.
TEST(FormatScientificRandom, EdgesOfTheCommonRange) {
  std::vector<double> edges;
  for (int e = -14; e <= 19; ++e) {
    const double p = std::pow(10.0, e);
    edges.insert(edges.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300)});
  }
  for (int e = -50; e <= 70; ++e) {
    edges.push_back(std::ldexp(1.0, e));
  }
  for (const double v : edges) {
    for (int digits = 0; digits <= 18; ++digits) {
      ASSERT_EQ(render(v, 0, digits), reference::scientific(v, 0, digits))
          << std::hexfloat << v << " digits " << digits;
    }
  }
  // The decimal exponent is derived from the binary one: every binary
  // exponent, at both ends of its binade.
  for (int e = -1074; e <= 1023; ++e) {
    const double low = std::ldexp(1.0, e);
    const double high = std::nextafter(2 * low, 0.0);
    for (const double v : {low, high}) {
      ASSERT_EQ(render(v, 0, 16), reference::scientific(v, 0, 16)) << std::hexfloat << v;
    }
  }
  compare_with_reference(100'000, 3, [](std::mt19937_64& random) {
    std::uniform_real_distribution<double> exponent(0.0, 1.0);
    const double v = random() % 2 == 0 ? std::pow(10.0, -12.0 + 2.0 * exponent(random))
                                       : std::pow(10.0, 15.0 + 3.0 * exponent(random));
    return draw_result{v, 0, static_cast<int>(random() % 18)};
  });
}

}  // namespace
