// Subcommands of the evaluation and export part of the library:
// `evaluate` rates a trade list with KachestvoMTS, `export` writes catalogue
// entries over a quote file as the columns of a workbook (ToExcelFile).
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Command.h"
#include "zentrik/zentrik.h"

namespace zentrik::cli {
namespace {

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A whole decimal number with a point as separator (any locale).
bool ParseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* first = text.data();
    const char* last = first + text.size();
    if (*first == '+') ++first;
    const auto parsed = std::from_chars(first, last, value);
    return parsed.ec == std::errc() && parsed.ptr == last;
}

// The shortest text that reads back as the same double.
std::string FormatNumber(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// Digits at text[from .. from+count-1] as a number; false unless all are digits.
bool ReadDigits(const std::string& text, std::size_t from, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// Days from 1899-12-30 to a Gregorian date.
std::int64_t DaySerial(int year, int month, int day) {
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + 25569;  // 1970-01-01 is day 25569
}

// "YYYY.MM.DD HH:MM" (any single character between the parts) as a day count
// since 1899-12-30 plus the time of day.
bool ParseTradeTime(const std::string& text, double& time) {
    if (text.size() != 16) return false;
    int year, month, day, hour, minute;
    if (!ReadDigits(text, 0, 4, year) || !ReadDigits(text, 5, 2, month) || !ReadDigits(text, 8, 2, day) ||
        !ReadDigits(text, 11, 2, hour) || !ReadDigits(text, 14, 2, minute)) {
        return false;
    }
    static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || hour > 23 || minute > 59) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int monthDays = kDaysInMonth[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day < 1 || day > monthDays) return false;
    const double timeOfDay = static_cast<double>((static_cast<long double>(hour) * 3600000 + minute * 60000) /
                                                 86400000.0L);
    time = static_cast<double>(DaySerial(year, month, day)) + timeOfDay;
    return true;
}

// One trade line: open time, close time, buy|sell, open price, close price,
// spread, point. An empty text when it parses, else what is wrong.
std::string ParseTradeLine(const std::string& line, Trade& trade) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(Trim(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (fields.size() != 7) return "expected 7 fields, found " + std::to_string(fields.size());
    trade = Trade{};
    trade.closed = 1;
    if (!ParseTradeTime(fields[0], trade.openTime)) return "bad open time '" + fields[0] + "' (YYYY.MM.DD HH:MM)";
    if (!ParseTradeTime(fields[1], trade.closeTime)) return "bad close time '" + fields[1] + "' (YYYY.MM.DD HH:MM)";
    const std::string direction = Lower(fields[2]);
    if (direction == "buy") {
        trade.direction = 1;
    } else if (direction == "sell") {
        trade.direction = 0;
    } else {
        return "direction must be buy or sell, not '" + fields[2] + "'";
    }
    if (!ParseNumber(fields[3], trade.openPrice)) return "bad open price '" + fields[3] + "'";
    if (!ParseNumber(fields[4], trade.closePrice)) return "bad close price '" + fields[4] + "'";
    int spread = 0;
    if (!ParseInt(fields[5], spread)) return "bad spread '" + fields[5] + "' (whole points)";
    trade.spread = spread;
    if (!ParseNumber(fields[6], trade.point) || !(trade.point > 0.0)) {
        return "bad point '" + fields[6] + "' (a positive price step such as 0.01)";
    }
    return std::string();
}

int PrintStatistics(const TradeStats& stats) {
    auto line = [](const char* name, const std::string& value) { std::printf("%-18s %s\n", name, value.c_str()); };
    auto integer = [&](const char* name, int32_t value) { line(name, std::to_string(value)); };
    auto number = [&](const char* name, double value) { line(name, FormatNumber(value)); };
    integer("tradeCount", stats.tradeCount);
    if (stats.tradeCount <= 5) {
        std::printf("# the other statistics need at least 6 trades\n");
    } else {
        number("yearFactor", stats.yearFactor);
        integer("buyCount", stats.buyCount);
        integer("buyWins", stats.buyWins);
        integer("buyLosses", stats.buyLosses);
        number("buyAverage", stats.buyAverage);
        integer("sellCount", stats.sellCount);
        integer("sellWins", stats.sellWins);
        integer("sellLosses", stats.sellLosses);
        number("sellAverage", stats.sellAverage);
        number("averageResult", stats.averageResult);
        number("profitFactor", stats.profitFactor);
        number("maxDrawdown", stats.maxDrawdown);
        integer("maxLossStreak", stats.maxLossStreak);
        number("grossProfit", stats.grossProfit);
        number("grossLoss", stats.grossLoss);
        number("meanToDeviation", stats.meanToDeviation);
        number("runsZ", stats.runsZ);
        number("pessimisticReturn", stats.pessimisticReturn);
        number("tStatistic", stats.tStatistic);
        number("tConfidence", stats.tConfidence);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return Fail(kExitOutput, "cannot write the output");
    return kExitOk;
}

int RunEvaluate(const std::vector<std::string>& args) {
    if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
        return Fail(kExitUsage, "usage: zentrik evaluate TRADES.csv");
    }
    const std::string& file = args[0];
    std::ifstream in(file, std::ios::binary);
    if (!in) return Fail(kExitInput, "cannot read trade file '" + file + "'");
    std::vector<Trade> trades;
    std::string line;
    long long lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::string text = Trim(line);
        if (text.empty() || text[0] == '#') continue;
        Trade trade;
        const std::string problem = ParseTradeLine(text, trade);
        if (!problem.empty()) return Fail(kExitInput, file + ":" + std::to_string(lineNumber) + ": " + problem);
        if (trades.size() >= static_cast<std::size_t>(INT32_MAX)) return Fail(kExitInput, "too many trades");
        trades.push_back(trade);
    }
    if (in.bad()) return Fail(kExitInput, "error while reading trade file '" + file + "'");
    TradeStats stats{};
    KachestvoMTS(trades.data(), static_cast<int32_t>(trades.size()), &stats);
    if (stats.tradeCount == 0 && !trades.empty()) {
        return Fail(kExitFailure, "the evaluation could not allocate its working memory");
    }
    return PrintStatistics(stats);
}

struct ExportOptions {
    std::vector<std::string> positional;
    std::string output;
    int digits = 4;
    bool prn = false;
};

// Value of an option given as "--name VALUE" or "--name=VALUE".
bool OptionValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name, std::string& value,
                 bool& matched) {
    const std::string& arg = args[i];
    matched = false;
    if (arg == name) {
        matched = true;
        if (i + 1 >= args.size()) return false;
        value = args[++i];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        matched = true;
        value = arg.substr(name.size() + 1);
        return true;
    }
    return true;
}

bool ParseExportOptions(const std::vector<std::string>& args, ExportOptions& options, int& exitCode) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        bool matched = false;
        if (arg == "--prn") {
            options.prn = true;
            continue;
        }
        if (!OptionValue(args, i, "--file", value, matched)) {
            exitCode = Fail(kExitUsage, "--file needs the name of the workbook to write");
            return false;
        }
        if (matched) {
            if (value.empty()) {
                exitCode = Fail(kExitUsage, "--file needs the name of the workbook to write");
                return false;
            }
            options.output = value;
            continue;
        }
        if (!OptionValue(args, i, "--digits", value, matched)) {
            exitCode = Fail(kExitUsage, "--digits needs a number");
            return false;
        }
        if (matched) {
            if (!ParseInt(value, options.digits)) {
                exitCode = Fail(kExitUsage, "bad number of digits '" + value + "'");
                return false;
            }
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]))) {
            exitCode = Fail(kExitUsage, "unknown option '" + arg + "'");
            return false;
        }
        options.positional.push_back(arg);
    }
    return true;
}

constexpr const char* kExportUsage = "usage: zentrik export N... --file OUT.xlsx FILE [--digits D] [--prn]";

int RunExport(const std::vector<std::string>& args) {
    ExportOptions options;
    int exitCode = kExitOk;
    if (!ParseExportOptions(args, options, exitCode)) return exitCode;
    if (options.output.empty() || options.positional.size() < 2) return Fail(kExitUsage, kExportUsage);
    const std::string file = options.positional.back();
    std::vector<int> numbers;
    for (std::size_t i = 0; i + 1 < options.positional.size(); ++i) {
        int number = 0;
        if (!ParseInt(options.positional[i], number) || number < 0 || number >= ZENTRIK_CATALOGUE_SIZE) {
            return Fail(kExitUsage, "bad indicator number '" + options.positional[i] + "' (0 to " +
                                        std::to_string(ZENTRIK_CATALOGUE_SIZE - 1) + ")");
        }
        numbers.push_back(number);
    }
    std::vector<Bar> bars;
    if (!LoadQuoteFile(file, options.digits, options.prn, bars, exitCode)) return exitCode;
    if (bars.empty()) return Fail(kExitInput, "quote file '" + file + "' holds no bars");

    const std::size_t rows = bars.size();
    const std::size_t columns = numbers.size();
    const auto count = static_cast<std::int32_t>(rows);
    std::vector<double> column(rows);
    std::vector<double> cells(rows * columns);  // row by row
    for (std::size_t j = 0; j < columns; ++j) {
        const std::int32_t status = Indikator(numbers[j], column.data(), count, bars.data());
        if (status != ZENTRIK_OK) {
            return Fail(kExitFailure, "indicator " + std::to_string(numbers[j]) + " failed with status " +
                                          std::to_string(status));
        }
        for (std::size_t i = 0; i < rows; ++i) cells[i * columns + j] = column[i];
    }
    std::vector<const double*> table(rows);
    for (std::size_t i = 0; i < rows; ++i) table[i] = cells.data() + i * columns;

    const std::int32_t status =
        ToExcelFile(table.data(), count, static_cast<std::int32_t>(columns), options.output.c_str());
    switch (status) {
        case ZENTRIK_OK:
            std::printf("%s: %zu rows, %zu columns\n", options.output.c_str(), rows, columns);
            return std::fflush(stdout) == 0 ? kExitOk : kExitOutput;
        case ZENTRIK_EFCreateError:
            return Fail(kExitOutput, "cannot create '" + options.output + "'");
        case ZENTRIK_ERangeError:
            return Fail(kExitFailure, "a worksheet holds at most 1048576 rows and 16384 columns; got " +
                                          std::to_string(rows) + " bars and " + std::to_string(columns) +
                                          " numbers");
        case ZENTRIK_EClassNotFound:
            return Fail(kExitFailure, "this build of the library cannot write workbooks");
        default:
            return Fail(kExitOutput, "writing '" + options.output + "' failed with status " + std::to_string(status));
    }
}

const Registration kEvaluate{
    {"evaluate", "evaluate TRADES.csv",
     "Rate a trade list (KachestvoMTS) and print every statistic by name. One trade per line:\n"
     "      open time, close time, buy|sell, open price, close price, spread (points), point, e.g.\n"
     "      2009.01.02 08:00,2009.01.02 16:00,buy,90.00,90.50,3,0.01 (times YYYY.MM.DD HH:MM).\n"
     "      Lines starting with # and empty lines are skipped. A bad line exits 3.",
     &RunEvaluate}};

const Registration kExport{
    {"export", "export N... --file OUT.xlsx FILE [--digits D] [--prn]",
     "Compute catalogue entries N... (0-460) over a CSV (or --prn) quote file and write them as the\n"
     "      columns of one worksheet of OUT.xlsx, one row per bar (prices rounded to D decimals,\n"
     "      default 4). An unreadable quote file exits 3, a library failure 4, an unwritable OUT 5.",
     &RunExport}};

}  // namespace
}  // namespace zentrik::cli
