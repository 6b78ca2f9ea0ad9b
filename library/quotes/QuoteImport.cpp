#include "QuoteImport.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "Rounding.h"
#include "frame/Frame.h"
#include "frame/Platform.h"
#include "kernels/Extended.h"

namespace zentrik::quotes {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Reads whitespace-separated records from an open file in blocks.
class RecordReader {
public:
    explicit RecordReader(std::FILE* file) : file_(file), buffer_(65536) {}

    // The next record, at most kMaxRecordLength characters of it. False at
    // the end of the file (nothing but whitespace left) or on a read error.
    bool Next(std::string& record) {
        record.clear();
        int c = Get();
        while (c != EOF && IsBlank(c)) c = Get();
        if (c == EOF) return false;
        while (c != EOF && !IsBlank(c)) {
            if (record.size() < kMaxRecordLength) record.push_back(static_cast<char>(c));
            c = Get();
        }
        return true;
    }

    bool Failed() const { return failed_; }

private:
    int Get() {
        if (position_ == filled_) {
            if (failed_ || atEnd_) return EOF;
            filled_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
            position_ = 0;
            if (filled_ == 0) {
                if (std::ferror(file_)) failed_ = true;
                atEnd_ = true;
                return EOF;
            }
        }
        return static_cast<unsigned char>(buffer_[position_++]);
    }

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The digits text[first .. first+length-1] as a number; false when the
// text is too short or a character there is not a digit.
bool DigitsAt(const std::string& text, std::size_t first, std::size_t length, int& value) {
    if (text.size() < first + length) return false;
    value = 0;
    for (std::size_t i = first; i < first + length; ++i) {
        if (!IsDigit(text[i])) return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

FieldTable& SharedFieldTable() {
    static FieldTable table;
    return table;
}

std::size_t SplitRecord(const std::string& record, FieldTable& table) {
    for (std::string& slot : table) slot.clear();
    std::size_t begin = record.find_first_not_of(" \t");
    if (begin == std::string::npos) begin = record.size();
    const std::size_t end = record.find_last_not_of(" \t");
    std::string rest = end == std::string::npos ? std::string() : record.substr(begin, end + 1 - begin);
    std::size_t slot = 0;
    for (;;) {
        const std::size_t comma = rest.find(',');
        if (comma == std::string::npos || slot == kFieldSlots - 1) {
            table[slot] = rest.substr(0, comma);
            return slot + 1;
        }
        table[slot++] = rest.substr(0, comma);
        rest = rest.substr(comma + 1, kMaxRemainderLength);
    }
}

double ParseDecimal(const std::string& text) {
    // Validate the whole text first: from_chars alone would accept "inf",
    // "nan" and a prefix of the text.
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t mantissaBegin = i;
    std::size_t mantissaDigits = 0;
    long long integerDigits = 0;  // significant digits before the point
    bool seenNonZero = false;
    long long leadingFractionZeros = 0;
    while (i < n && IsDigit(text[i])) {
        if (text[i] != '0') seenNonZero = true;
        if (seenNonZero) ++integerDigits;
        ++mantissaDigits;
        ++i;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            if (!seenNonZero) {
                if (text[i] == '0') ++leadingFractionZeros;
                else seenNonZero = true;
            }
            ++mantissaDigits;
            ++i;
        }
    }
    if (mantissaDigits == 0) return 0.0;
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) exponentNegative = text[i++] == '-';
        std::size_t exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
            ++exponentDigits;
            ++i;
        }
        if (exponentDigits == 0) return 0.0;
        if (exponentNegative) exponent = -exponent;
    }
    if (i != n) return 0.0;
    if (!seenNonZero) return negative ? -0.0 : 0.0;

    double value = 0.0;
    const char* first = text.data() + mantissaBegin;
    const char* last = text.data() + n;
    const auto [ptr, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range || ptr != last) {
        // Decimal magnitude of the leading digit decides overflow or underflow.
        const long long magnitude = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::int32_t ParseVolume(const std::string& text) {
    const double value = ParseDecimal(text);
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);  // truncates toward zero
}

std::int64_t DaySerial(int year, int month, int day) {
    // Days from 0000-03-01 in the proleptic Gregorian calendar, shifted so
    // that 1899-12-30 is day 0.
    const int y = month <= 2 ? year - 1 : year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t fromEpoch1970 = era * 146097 + dayOfEra - 719468;
    return fromEpoch1970 + 25569;
}

bool ParseBarTime(const std::string& date, const std::string& time, QuoteForm form, double& barTime) {
    const bool csv = form == QuoteForm::kCsv;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (!DigitsAt(date, 0, 4, year) || !DigitsAt(date, csv ? 5 : 4, 2, month) ||
        !DigitsAt(date, csv ? 8 : 6, 2, day) || !DigitsAt(time, 0, 2, hour) ||
        !DigitsAt(time, csv ? 3 : 2, 2, minute)) {
        return false;
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
    if (day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59) return false;
    // The time of day is a double of its own before it is added to the date.
    const double timeOfDay = ToDouble(Extended(hour * 3600000 + minute * 60000) / 86400000.0L);
    barTime = ToDouble(Extended(DaySerial(year, month, day)) + timeOfDay);
    return true;
}

std::int32_t LoadQuoteFile(const char* fileName, QuoteForm form, std::int32_t digits, Bar* bars,
                           std::int32_t capacity) {
    if (fileName == nullptr) return -1;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName, "rb"));
    if (!file) return -1;
    RecordReader reader(file.get());
    std::string record;
    if (form == QuoteForm::kPrn) reader.Next(record);  // the header, unread

    FieldTable& fields = SharedFieldTable();
    std::int32_t index = 0;
    double previousTime = 0.0;
    bool anyStored = false;
    // The record after the last one that fits is still read, so that an
    // unreadable file fails also with a capacity of 0.
    while (reader.Next(record) && index < capacity) {
        SplitRecord(record, fields);
        if (fields[0].empty() || !IsDigit(fields[0][0])) break;
        double barTime = 0.0;
        if (!ParseBarTime(fields[0], fields[1], form, barTime)) continue;
        if (anyStored && barTime == previousTime) continue;
        Bar& bar = bars[index];
        bar.time = barTime;
        bar.open = RoundPrice(ParseDecimal(fields[2]), digits);
        bar.high = RoundPrice(ParseDecimal(fields[3]), digits);
        bar.low = RoundPrice(ParseDecimal(fields[4]), digits);
        bar.close = RoundPrice(ParseDecimal(fields[5]), digits);
        bar.volume = ParseVolume(fields[6]);
        ++index;
        previousTime = barTime;
        anyStored = true;
    }
    if (reader.Failed()) return -1;
    return index;
}

}  // namespace zentrik::quotes

namespace {

using zentrik::quotes::QuoteForm;

std::int32_t LoadEntry(const char* fileName, QuoteForm form, std::int32_t digits, Bar* bars,
                       std::int32_t capacity) {
    zentrik::platform::FloatingPointScope floatingPoint;
    try {
        zentrik::RecordWorkingDirectory();
        if (capacity < 0 || (bars == nullptr && capacity > 0)) return -1;
        return zentrik::quotes::LoadQuoteFile(fileName, form, digits, bars, capacity);
    } catch (...) {
        // Nothing may cross the C boundary; an allocation failure reads as
        // a file that could not be read.
        return -1;
    }
}

}  // namespace

extern "C" {

ZENTRIK_API int32_t ZENTRIK_CALL HistoryKotCSV(const char* fileName, int32_t digits, Bar* bars) {
    return LoadEntry(fileName, QuoteForm::kCsv, digits, bars, ZENTRIK_HISTORY_CAPACITY) < 0 ? 0 : 1;
}

ZENTRIK_API int32_t ZENTRIK_CALL HistoryKotPRN(const char* fileName, int32_t digits, Bar* bars) {
    return LoadEntry(fileName, QuoteForm::kPrn, digits, bars, ZENTRIK_HISTORY_CAPACITY) < 0 ? 0 : 1;
}

ZENTRIK_API int32_t ZENTRIK_CALL HistoryKotCSVEx(const char* fileName, int32_t digits, Bar* bars,
                                                 int32_t capacity) {
    return LoadEntry(fileName, QuoteForm::kCsv, digits, bars, capacity);
}

ZENTRIK_API int32_t ZENTRIK_CALL HistoryKotPRNEx(const char* fileName, int32_t digits, Bar* bars,
                                                 int32_t capacity) {
    return LoadEntry(fileName, QuoteForm::kPrn, digits, bars, capacity);
}

}  // extern "C"
