// Arithmetic conventions shared by every kernel.
//
// Intermediate results are held in the x87 extended type (64-bit mantissa)
// and rounded to double exactly where a value is stored: in a series, or in
// a named double variable of the algorithm. So a kernel
//   - keeps every named value (a sum, an average, a factor, a state) in a
//     `double` and assigns it with ToDouble(...) of an Extended expression;
//   - starts every arithmetic chain with an Extended operand, so that no
//     subexpression is evaluated (and rounded) in double: write
//     Extended(a) + b + c, never a + b + c with doubles a, b, c;
//   - writes decimal constants of a formula as Extended literals (0.015L),
//     except the few that are doubles by definition (kEpsilon, and the
//     constants that a kernel's own comment names as doubles);
//   - sums series oldest bar first unless the kernel says otherwise.
// The build disables floating-point contraction, so no fused multiply-add
// changes a result.
#pragma once

#include <cstdint>
#include <limits>

namespace zentrik {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "the kernels need the x87 extended type with a 64-bit mantissa");

// Rounds an extended value to the double that stores it.
inline double ToDouble(Extended value) { return static_cast<double>(value); }

// The small guard value of the divisions that must not divide by zero.
inline constexpr double kEpsilon = 1e-20;

// 1/3 rounded to extended precision (the typical-price factor).
inline constexpr Extended kOneThird = 1.0L / 3.0L;

}  // namespace zentrik
