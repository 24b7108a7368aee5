#pragma once

#include <array>
#include <cstdint>

namespace vestrel::store {

// The 10 bytes of an 80-bit extended-precision float, little-endian: 64-bit significand with an
// explicit integer bit, then sign and 15-bit exponent biased by 16383.
using ExtendedBytes = std::array<std::uint8_t, 10>;

// Exact: every double, including subnormals, infinities and NaN payloads, comes back unchanged.
ExtendedBytes DoubleToExtended(double value);
// Rounds to nearest, ties to even; out-of-range magnitudes become infinity or (signed) zero.
double ExtendedToDouble(const ExtendedBytes& bytes);

} // namespace vestrel::store
