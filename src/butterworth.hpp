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
// rounded once. C libraries' pow functions differ in the last bit or so, and
// with them this result by a few ulp; the tables' five printed digits do not
// move, since every magnitude of the sweep lies at least 1.7e7 ulp from a
// value where they would (a test measures it).
double butterworth_magnitude(double omega, int n);

}  // namespace quillmere
