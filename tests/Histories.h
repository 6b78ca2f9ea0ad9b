// Deterministic synthetic histories for tests and benchmarks: hourly bars of
// a yen pair (prices near 110, 2 decimals) and a euro pair (near 1.10,
// 4 decimals), with clustered volatility.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "zentrik/zentrik.h"

namespace zentrik::testing {

struct HistoryShape {
    double start;       // first price
    double volatility;  // typical hourly move, in price units
    int decimals;       // price decimals
    std::uint64_t seed;
};

inline constexpr HistoryShape kYenPair{110.0, 0.08, 2, 0x9E3779B97F4A7C15ull};
inline constexpr HistoryShape kEuroPair{1.10, 0.0008, 4, 0xD1B54A32D192ED03ull};

inline std::vector<Bar> MakeHistory(int count, const HistoryShape& shape) {
    std::uint64_t state = shape.seed;
    auto uniform = [&state]() {  // xorshift64*, in (0, 1)
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return (static_cast<double>((state * 2685821657736338717ull) >> 11) + 0.5) / 9007199254740992.0;
    };
    auto normal = [&]() { return std::sqrt(-2.0 * std::log(uniform())) * std::cos(6.283185307179586 * uniform()); };
    const double scale = std::pow(10.0, shape.decimals);
    auto round = [scale](double v) { return std::floor(v * scale + 0.5) / scale; };

    std::vector<Bar> bars(static_cast<std::size_t>(count));
    double price = shape.start;
    double sigma = shape.volatility;
    double time = 39815.0;  // 2009-01-02 00:00
    for (int i = 0; i < count; ++i) {
        sigma = 0.9 * sigma + 0.1 * shape.volatility * (0.5 + 1.5 * uniform());  // clustering
        const double open = round(price);
        const double close = round(price + sigma * normal());
        const double high = round(std::fmax(open, close) + sigma * std::fabs(normal()) * 0.7);
        const double low = round(std::fmin(open, close) - sigma * std::fabs(normal()) * 0.7);
        Bar& bar = bars[static_cast<std::size_t>(i)];
        bar.time = time;
        bar.open = open;
        bar.high = high;
        bar.low = low;
        bar.close = close;
        bar.volume = 50 + static_cast<std::int32_t>(uniform() * 400.0);
        bar.reserved = 0;
        price = close;
        time += 1.0 / 24.0;
    }
    return bars;
}

// Bars whose four prices are all `price`.
inline std::vector<Bar> FlatHistory(int count, double price) {
    std::vector<Bar> bars(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        bars[static_cast<std::size_t>(i)] = Bar{39815.0 + i / 24.0, price, price, price, price, 100, 0};
    }
    return bars;
}

inline std::vector<double> Closes(const std::vector<Bar>& bars) {
    std::vector<double> closes;
    closes.reserve(bars.size());
    for (const Bar& bar : bars) closes.push_back(bar.close);
    return closes;
}

// High, low and close columns of a history, each exactly as long as the
// history (so that a sanitizer sees any access beyond it).
struct PriceColumnsOf {
    std::vector<double> high, low, close;
    std::int32_t count() const { return static_cast<std::int32_t>(high.size()); }
    std::int32_t last() const { return count() - 1; }
    // A result array of count() entries preset to `fill`.
    std::vector<double> Result(double fill) const { return std::vector<double>(high.size(), fill); }
};

inline PriceColumnsOf ColumnsOf(const std::vector<Bar>& bars) {
    PriceColumnsOf c;
    for (const Bar& bar : bars) {
        c.high.push_back(bar.high);
        c.low.push_back(bar.low);
        c.close.push_back(bar.close);
    }
    return c;
}

}  // namespace zentrik::testing
