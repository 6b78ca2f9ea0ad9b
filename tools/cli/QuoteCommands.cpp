// Subcommands over quote files: `bars` prints what the import stores,
// `indicator` runs one catalogue entry over a whole file.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "zentrik/zentrik.h"

namespace zentrik::cli {
namespace {

struct QuoteOptions {
    std::vector<std::string> positional;
    int digits = 4;
    bool prn = false;
};

// Parses [--digits D] [--prn] among the positional arguments. False, with
// the message already printed, on a bad option.
bool ParseQuoteOptions(const std::vector<std::string>& args, QuoteOptions& options, int& exitCode) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--prn") {
            options.prn = true;
        } else if (arg == "--digits" || arg.rfind("--digits=", 0) == 0) {
            std::string value;
            if (arg == "--digits") {
                if (i + 1 >= args.size()) {
                    exitCode = Fail(kExitUsage, "--digits needs a number");
                    return false;
                }
                value = args[++i];
            } else {
                value = arg.substr(9);
            }
            if (!ParseInt(value, options.digits)) {
                exitCode = Fail(kExitUsage, "bad number of digits '" + value + "'");
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            exitCode = Fail(kExitUsage, "unknown option '" + arg + "'");
            return false;
        } else {
            options.positional.push_back(arg);
        }
    }
    return true;
}

// "YYYY.MM.DD HH:MM" of a bar time (days since 1899-12-30).
std::string FormatTime(double time) {
    if (!std::isfinite(time)) return "invalid";
    double day = std::floor(time);
    long long minutes = std::llround((time - day) * 1440.0);
    if (minutes >= 1440) {
        day += 1.0;
        minutes -= 1440;
    }
    // Civil date from a day count (days since 1970-01-01 after the shift).
    const long long z = static_cast<long long>(day) - 25569 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const long long d = dayOfYear - (153 * mp + 2) / 5 + 1;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = yearOfEra + era * 400 + (m <= 2 ? 1 : 0);
    char text[128];
    std::snprintf(text, sizeof text, "%04lld.%02lld.%02lld %02lld:%02lld", y, m, d, minutes / 60, minutes % 60);
    return text;
}

// The shortest text that reads back as the same double.
std::string FormatNumber(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

int FinishOutput() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return Fail(kExitOutput, "cannot write the output");
    return kExitOk;
}

int RunBars(const std::vector<std::string>& args) {
    QuoteOptions options;
    int exitCode = kExitOk;
    if (!ParseQuoteOptions(args, options, exitCode)) return exitCode;
    if (options.positional.size() != 1) return Fail(kExitUsage, "usage: zentrik bars FILE [--digits D] [--prn]");
    std::vector<Bar> bars;
    if (!LoadQuoteFile(options.positional[0], options.digits, options.prn, bars, exitCode)) return exitCode;
    std::printf("time,open,high,low,close,volume\n");
    for (const Bar& bar : bars) {
        std::printf("%s,%s,%s,%s,%s,%d\n", FormatTime(bar.time).c_str(), FormatNumber(bar.open).c_str(),
                    FormatNumber(bar.high).c_str(), FormatNumber(bar.low).c_str(), FormatNumber(bar.close).c_str(),
                    static_cast<int>(bar.volume));
    }
    return FinishOutput();
}

int RunIndicator(const std::vector<std::string>& args) {
    QuoteOptions options;
    int exitCode = kExitOk;
    if (!ParseQuoteOptions(args, options, exitCode)) return exitCode;
    if (options.positional.size() != 2) {
        return Fail(kExitUsage, "usage: zentrik indicator N FILE [--digits D] [--prn]");
    }
    int number = 0;
    if (!ParseInt(options.positional[0], number) || number < 0 || number >= ZENTRIK_CATALOGUE_SIZE) {
        return Fail(kExitUsage, "bad indicator number '" + options.positional[0] + "' (0 to " +
                                    std::to_string(ZENTRIK_CATALOGUE_SIZE - 1) + ")");
    }
    const std::string& file = options.positional[1];
    std::vector<Bar> bars;
    if (!LoadQuoteFile(file, options.digits, options.prn, bars, exitCode)) return exitCode;
    if (bars.empty()) return Fail(kExitInput, "quote file '" + file + "' holds no bars");
    std::vector<double> result(bars.size());
    const std::int32_t count = static_cast<std::int32_t>(bars.size());
    const std::int32_t status = Indikator(number, result.data(), count, bars.data());
    if (status != ZENTRIK_OK) {
        return Fail(kExitFailure, "indicator " + std::to_string(number) + " failed with status " +
                                      std::to_string(status));
    }
    std::printf("time,close,value\n");
    for (std::size_t i = 0; i < bars.size(); ++i) {
        std::printf("%s,%s,%s\n", FormatTime(bars[i].time).c_str(), FormatNumber(bars[i].close).c_str(),
                    FormatNumber(result[i]).c_str());
    }
    return FinishOutput();
}

const Registration kBars{{"bars", "bars FILE [--digits D] [--prn]",
                          "Print the bars loaded from a CSV (or --prn) quote file as CSV: time, open, high, low,\n"
                          "      close, volume. Prices are rounded to D decimals (default 4; outside 0-5 unrounded).",
                          &RunBars}};

const Registration kIndicator{
    {"indicator", "indicator N FILE [--digits D] [--prn]",
     "Load a whole quote file, compute catalogue entry N (0-460) and print time, close and value\n"
     "      per bar as CSV. A missing or unreadable file exits 3, a library failure 4.",
     &RunIndicator}};

}  // namespace
}  // namespace zentrik::cli
