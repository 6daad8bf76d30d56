// The Butterworth lowpass model.
//
// Normalisation: the frequency is normalised to the -3 dB cutoff, so every
// order passes through 1/sqrt(2) at omega = 1. The magnitude is the linear
// gain |H(j omega)| = 1 / sqrt(1 + omega^(2n)), not decibels.
//
// Examples: omega = 0 gives exactly 1; omega = 2, n = 2 gives 1/sqrt(17).
#pragma once

namespace quillmere {

// |H(j omega)| of the order-n Butterworth lowpass filter. Requires omega >= 0
// and n >= 1. The power is taken with the general pow and each operation is
// rounded once, so the result is the same double on every conforming build.
double butterworth_magnitude(double omega, int n);

}  // namespace quillmere
