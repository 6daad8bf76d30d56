#include "butterworth.hpp"

#include <cmath>

#include "double_rounding.hpp"

namespace quillmere {

double butterworth_magnitude(double omega, int n) {
  const double power = std::pow(omega, static_cast<double>(2 * n));  // omega^(2n)
  return 1.0 / std::sqrt(power + 1.0);
}

}  // namespace quillmere
