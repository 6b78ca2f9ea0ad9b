// Text of a number as the spreadsheet export writes it.
//
// General decimal notation with 15 significant digits, trailing zeros
// dropped, a point as the decimal separator whatever the process's locale:
//   - the value is first rounded to 15 significant digits (to nearest);
//   - fixed notation when that rounded magnitude is at least 0.00001 and has
//     at most 15 digits before the point: 90.125, 0.1, 0.00001, -2.5,
//     123456789012345;
//   - otherwise scientific notation with a mantissa of 1 to 15 digits, "E",
//     and the shortest exponent, a minus sign only when negative: 1E-6,
//     1.5E-7, 1E15, -2.25E100;
//   - zero (either sign) is "0";
//   - a value without a decimal form has a text of its own: not-a-number is
//     "NAN", the infinities are "INF" and "-INF".
#pragma once

#include <string>

namespace zentrik {

std::string NumberText(double value);

// Reads a text of NumberText back (as strtod reads it in the "C" locale,
// whatever the process's locale): the number the spreadsheet stores for it.
// "NAN", "INF" and "-INF" read as not-a-number and the infinities, and so
// does a text beyond the double range: the 15-digit text of a value within
// half a unit of the largest double, "1.79769313486232E308", reads as an
// infinity. False when the text is not a number in full.
bool ReadNumberText(const std::string& text, double& value);

}  // namespace zentrik
