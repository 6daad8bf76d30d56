#include "sweep.hpp"

#include "bessel.hpp"
#include "butterworth.hpp"

namespace quillmere {

void run_sweep(response_file& butterworth, response_file& bessel) {
  record_magnitudes magnitude{};
  for (int i = 0; i < num_points; ++i) {
    const double omega = sweep_frequency(i);
    // Both records of a point start with the same field: rendered once.
    const frequency_field frequency = render_frequency(omega);
    for (std::size_t j = 0; j < sweep_orders.size(); ++j) {
      magnitude[j] = butterworth_magnitude(omega, sweep_orders[j]);
    }
    write_response_record(butterworth, frequency, magnitude);
    magnitude = bessel_magnitudes(omega);
    write_response_record(bessel, frequency, magnitude);
  }
}

}  // namespace quillmere
