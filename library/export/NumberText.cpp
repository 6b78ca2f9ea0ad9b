#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zentrik {

namespace {

constexpr int kSignificantDigits = 15;

}  // namespace

std::string NumberText(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0.0) return "0";

    // d.dddddddddddddde±x: the 15 significant digits, correctly rounded, and
    // the exponent of the leading digit. std::to_chars ignores the locale.
    char buffer[64];
    const auto converted = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific, kSignificantDigits - 1);
    if (converted.ec != std::errc()) return "NAN";  // cannot happen with 64 characters
    const char* end = converted.ptr;
    std::string digits;
    const char* p = buffer;
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') digits.push_back(*p);
    }
    int exponent = 0;  // to_chars does not terminate its text: read up to `end`
    if (p < end) std::from_chars(*(p + 1) == '+' ? p + 2 : p + 1, end, exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int digitCount = static_cast<int>(digits.size());

    std::string text = value < 0 ? "-" : "";
    if (exponent >= -5 && exponent < kSignificantDigits) {
        if (exponent >= 0) {
            const int whole = exponent + 1;
            if (digitCount <= whole) {
                text += digits;
                text.append(static_cast<std::size_t>(whole - digitCount), '0');
            } else {
                text.append(digits, 0, static_cast<std::size_t>(whole));
                text += '.';
                text.append(digits, static_cast<std::size_t>(whole), std::string::npos);
            }
        } else {
            text += "0.";
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += digits;
        }
        return text;
    }
    text += digits[0];
    if (digitCount > 1) {
        text += '.';
        text.append(digits, 1, std::string::npos);
    }
    text += 'E';
    text += std::to_string(exponent);
    return text;
}

bool ReadNumberText(const std::string& text, double& value) {
    if (text == "NAN") {
        value = std::nan("");
        return true;
    }
    if (text == "INF" || text == "-INF") {
        value = text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
        return true;
    }
    const char* first = text.data();
    const char* last = text.data() + text.size();
    double parsedValue = 0.0;
    const auto parsed = std::from_chars(first, last, parsedValue);
    if (parsed.ptr != last) return false;
    if (parsed.ec == std::errc::result_out_of_range) {
        // Beyond the double range, as strtod reads it: an infinity, or 0 for
        // a magnitude below the smallest subnormal.
        const bool negative = text[0] == '-';
        const bool tiny = text.find("E-") != std::string::npos || text.find("e-") != std::string::npos;
        value = tiny ? (negative ? -0.0 : 0.0) : (negative ? -HUGE_VAL : HUGE_VAL);
        return true;
    }
    if (parsed.ec != std::errc()) return false;
    value = parsedValue;
    return true;
}

}  // namespace zentrik
