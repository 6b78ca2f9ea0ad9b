#include "PriceHelpers.h"

#include <algorithm>
#include <cmath>

#include "Extended.h"

namespace zentrik {

double MaxOfTwo(double a, double b) { return b > a ? b : a; }

double MinOfTwo(double a, double b) { return b < a ? b : a; }

double MaxOfThree(double a, double b, double c) {
    double best = a;
    if (b > a && b > c) best = b;
    if (c > a && c > b) best = c;
    if (b == c && b > a) best = b;
    return best;
}

std::int32_t IsGreater(double a, double b) { return a > b ? 1 : 0; }

double TrueRange(const double* high, const double* low, const double* close, std::int32_t j) {
    const double previousClose = close[j - 1];
    return MaxOfThree(ToDouble(Extended(high[j]) - low[j]),
                      ToDouble(std::fabs(Extended(high[j]) - previousClose)),
                      ToDouble(std::fabs(Extended(low[j]) - previousClose)));
}

void TypicalPrice(double* result, const double* high, const double* low, const double* close,
                  std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) {
        result[i] = ToDouble((Extended(high[i]) + low[i] + close[i]) * kOneThird);
    }
}

void MeanTrueRange(double* result, const double* high, const double* low, const double* close,
                   std::int32_t last) {
    for (std::int32_t i = 0; i <= std::min<std::int32_t>(49, last); ++i) result[i] = 0.0;
    for (std::int32_t i = 50; i <= last; ++i) {
        double sum = 0.0;
        double count = 0.0;
        for (std::int32_t j = std::max<std::int32_t>(1, i - 51); j <= i - 1; ++j) {
            sum = ToDouble(Extended(sum) + TrueRange(high, low, close, j));
            count = count + 1.0;
        }
        result[i] = ToDouble(Extended(sum) / count);
    }
}

}  // namespace zentrik
