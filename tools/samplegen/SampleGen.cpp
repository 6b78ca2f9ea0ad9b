// samplegen: writes a synthetic hourly USD/JPY quote history in the CSV quote
// form read by HistoryKotCSV:
//
//   YYYY.MM.DD,HH:MM,open,high,low,close,volume
//
// one record per hour, Monday 00:00 to Friday 23:00 (no weekend bars), prices
// near 110 with 2 decimals, volume as a tick count.
//
// The price is a random walk whose hourly volatility follows a GARCH(1,1)
// process (calm and busy spells alternate), scaled by a fixed intraday profile
// (quiet Asian night, busy London/New York overlap) and pulled weakly towards
// 110. Each hour is walked in ten-minute steps to give a high and low that
// belong to the path. Tick volume follows the volatility.
//
// The output is the same on every platform and library version: the random
// numbers come from our own generator (xoshiro256**, seeded by splitmix64),
// normal deviates are sums of twelve uniforms, and only +, -, *, / and sqrt
// are used, all of which IEEE 754 rounds exactly.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class Random {
public:
    explicit Random(uint64_t seed) {
        for (uint64_t& word : state_) word = SplitMix(seed);
    }

    uint64_t Next() {
        const uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        const uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

    // Uniform in [0, 1) with 53 random bits.
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

    // Approximately standard normal: the sum of twelve uniforms has mean 6
    // and variance 1.
    double Normal() {
        double sum = 0.0;
        for (int k = 0; k < 12; ++k) sum += Uniform();
        return sum - 6.0;
    }

private:
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static uint64_t SplitMix(uint64_t& x) {
        uint64_t z = (x += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    uint64_t state_[4];
};

// Relative activity of each hour of the day (GMT): mean square close to 1.
constexpr double kHourProfile[24] = {
    0.80, 0.85, 0.80, 0.70, 0.60, 0.60, 0.70, 0.95,  // Tokyo, London opens at 07
    1.10, 1.10, 1.05, 1.00, 1.30, 1.45, 1.50, 1.40,  // London, New York joins at 12
    1.20, 1.00, 0.90, 0.80, 0.65, 0.55, 0.50, 0.60,  // New York afternoon, late lull
};

struct Date {
    int year;
    int month;
    int day;
};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

void NextDay(Date& date) {
    if (++date.day > DaysInMonth(date.year, date.month)) {
        date.day = 1;
        if (++date.month > 12) {
            date.month = 1;
            ++date.year;
        }
    }
}

// Rounds a price to 2 decimals, halves away from zero (prices are positive).
double Round2(double price) { return std::floor(price * 100.0 + 0.5) / 100.0; }

struct Options {
    long bars = 1101;
    uint64_t seed = 20180305;
    std::string output;  // empty: standard output
};

int Usage(const char* message) {
    if (message != nullptr) std::fprintf(stderr, "samplegen: %s\n", message);
    std::fprintf(stderr,
                 "usage: samplegen [--bars N] [--seed S] [--output FILE]\n"
                 "  writes N hourly USD/JPY bars (default 1101) of a synthetic history\n"
                 "  in the CSV quote form, to FILE or to standard output\n");
    return 2;
}

bool ParseNumber(const char* text, unsigned long long max, unsigned long long& value) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(text, &end, 10);
    return errno == 0 && *end == '\0' && value <= max;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long long number = 0;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            Usage(nullptr);
            return 0;
        } else if (std::strcmp(arg, "--bars") == 0) {
            if (!ParseNumber(value, 10000000ull, number) || number == 0) return Usage("--bars needs a count from 1 to 10000000");
            options.bars = static_cast<long>(number);
            ++i;
        } else if (std::strcmp(arg, "--seed") == 0) {
            if (!ParseNumber(value, UINT64_MAX, number)) return Usage("--seed needs a non-negative integer");
            options.seed = number;
            ++i;
        } else if (std::strcmp(arg, "--output") == 0 || std::strcmp(arg, "-o") == 0) {
            if (value == nullptr) return Usage("--output needs a file name");
            options.output = value;
            ++i;
        } else {
            return Usage((std::string("unknown argument '") + arg + "'").c_str());
        }
    }

    std::FILE* out = stdout;
    if (!options.output.empty()) {
        out = std::fopen(options.output.c_str(), "w");
        if (out == nullptr) {
            std::fprintf(stderr, "samplegen: cannot write %s\n", options.output.c_str());
            return 5;
        }
    }

    Random random(options.seed);
    constexpr double kAnchor = 110.0;        // level the price is pulled towards
    constexpr double kPull = 0.002;          // share of the distance closed per hour
    constexpr double kBaseSigma = 0.0011;    // typical hourly return (about 12 pips)
    constexpr double kBaseVariance = kBaseSigma * kBaseSigma;
    constexpr double kAlpha = 0.07;          // weight of the latest squared shock
    constexpr double kBeta = 0.91;           // persistence of the variance
    constexpr double kOmega = (1.0 - kAlpha - kBeta) * kBaseVariance;
    constexpr int kSteps = 6;                // ten-minute steps per hour
    constexpr double kBaseTicks = 420.0;     // ticks in an average hour

    Date date{2018, 3, 5};  // a Monday
    int weekday = 0;        // 0 = Monday ... 4 = Friday
    int hour = 0;
    double price = 110.37;
    double variance = kBaseVariance;
    double lastShock = 0.0;

    for (long bar = 0; bar < options.bars; ++bar) {
        variance = kOmega + kAlpha * lastShock * lastShock + kBeta * variance;
        const double sigma = std::sqrt(variance) * kHourProfile[hour];
        const double stepSigma = sigma / std::sqrt(static_cast<double>(kSteps));

        // The week opens with a small gap after the weekend.
        const double gap = hour == 0 && weekday == 0 && bar > 0 ? 2.0 * sigma * random.Normal() : 0.0;
        const double open = Round2(price * (1.0 + gap));
        double path = open;
        double high = open;
        double low = open;
        const double drift = kPull * (kAnchor - open) / open / kSteps;
        for (int step = 0; step < kSteps; ++step) {
            path *= 1.0 + drift + stepSigma * random.Normal();
            if (path > high) high = path;
            if (path < low) low = path;
        }
        const double close = Round2(path);
        lastShock = (path - open) / open / kHourProfile[hour];
        price = close;

        const double activity = sigma / kBaseSigma;  // busier hours carry more ticks
        const long ticks = static_cast<long>(kBaseTicks * activity * (0.75 + 0.5 * random.Uniform())) + 1;

        std::fprintf(out, "%04d.%02d.%02d,%02d:00,%.2f,%.2f,%.2f,%.2f,%ld\n", date.year, date.month, date.day, hour,
                     open, Round2(high), Round2(low), close, ticks);

        if (++hour == 24) {
            hour = 0;
            NextDay(date);
            if (++weekday == 5) {  // skip Saturday and Sunday
                NextDay(date);
                NextDay(date);
                weekday = 0;
            }
        }
    }

    if (out != stdout) {
        if (std::fclose(out) != 0) {
            std::fprintf(stderr, "samplegen: cannot write %s\n", options.output.c_str());
            return 5;
        }
    } else if (std::fflush(out) != 0) {
        return 5;
    }
    return 0;
}
