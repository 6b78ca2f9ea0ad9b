// Rounding of prices to 0 to 5 decimals, halves away from zero.
#pragma once

#include <cstdint>

namespace zentrik {

// The rounding of Okrug without the floating-point scope: the caller must
// already run with 64-bit x87 precision (the quote import does).
//   - 0, not-a-number, and values above 1e8 or below -1e8 give 0.0;
//   - digits 0 to 5: floor(value * 10^d + 0.5) * 10^-d on the magnitude,
//     the sign put back afterwards; value * 10^d + 0.5 is formed in extended
//     and rounded once to double before the floor, 10^-d is the extended
//     constant 0.1L .. 0.00001L and the product is rounded to double;
//   - any other digits returns the value unchanged.
double RoundPrice(double value, std::int32_t digits);

}  // namespace zentrik
