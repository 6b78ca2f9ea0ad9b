#include "Rounding.h"

#include <cmath>

#include "frame/Platform.h"
#include "kernels/Extended.h"
#include "zentrik/zentrik.h"

namespace zentrik {

namespace {

// 10^d and 10^-d for d = 0 .. 5; the inverses are extended constants, not
// the quotients 1 / 10^d.
constexpr Extended kFactor[] = {1.0L, 10.0L, 100.0L, 1000.0L, 10000.0L, 100000.0L};
constexpr Extended kInverse[] = {1.0L, 0.1L, 0.01L, 0.001L, 0.0001L, 0.00001L};

// floor(magnitude * f + 0.5) * (1 / f) for a positive magnitude.
double RoundMagnitude(double magnitude, std::int32_t digits) {
    if (digits == 0) return std::floor(ToDouble(Extended(magnitude) + 0.5L));
    const double shifted = ToDouble(Extended(magnitude) * kFactor[digits] + 0.5L);
    return ToDouble(Extended(std::floor(shifted)) * kInverse[digits]);
}

}  // namespace

double RoundPrice(double value, std::int32_t digits) {
    if (value == 0.0 || std::isnan(value) || value > 100000000.0 || value < -100000000.0) return 0.0;
    if (digits < 0 || digits > 5) return value;
    if (value > 0.0) return RoundMagnitude(value, digits);
    return -RoundMagnitude(-value, digits);
}

}  // namespace zentrik

extern "C" ZENTRIK_API double ZENTRIK_CALL Okrug(double value, int32_t digits) {
    zentrik::platform::FloatingPointScope floatingPoint;
    return zentrik::RoundPrice(value, digits);
}
