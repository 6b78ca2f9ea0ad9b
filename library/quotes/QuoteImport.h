// Loading of quote histories from CSV and PRN text files.
//
// A file is a sequence of records separated by whitespace (in practice one
// record per line; LF and CR LF both end a line, and a last record without a
// line end still counts). A record is split at its commas into the field
// table; fields 1-7 are date, time, open, high, low, close and volume.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "zentrik/zentrik.h"

namespace zentrik::quotes {

// The two file forms: CSV dates 2009.01.02 and times 08:00, PRN dates
// 20090102 and times 0800 after one header record.
enum class QuoteForm { kCsv, kPrn };

// A record keeps at most this many characters; the rest of an over-long
// record is read past and dropped (it does not become a record of its own).
inline constexpr std::size_t kMaxRecordLength = 1175;

// The text after each comma keeps at most this many characters before it is
// split further; whatever lies beyond is dropped.
inline constexpr std::size_t kMaxRemainderLength = 255;

// Slots of the field table. Fields beyond the 30th are dropped.
inline constexpr std::size_t kFieldSlots = 30;

using FieldTable = std::array<std::string, kFieldSlots>;

// The library-wide field table, holding the fields of the record split last.
FieldTable& SharedFieldTable();

// Splits `record` into `table`: every slot is cleared first, so a short
// record never sees the fields of an earlier one. Returns the number of
// slots filled (at least 1).
std::size_t SplitRecord(const std::string& record, FieldTable& table);

// Reads a decimal number: an optional sign, digits with an optional point
// and an optional exponent, nothing else. Text that is not such a number
// reads as 0; a magnitude beyond the double range reads as an infinity and
// one below it as 0.
double ParseDecimal(const std::string& text);

// The volume field: ParseDecimal cut to its integer part, saturated to
// INT32_MIN .. INT32_MAX.
std::int32_t ParseVolume(const std::string& text);

// Converts date and time fields of the given form to a bar time (days since
// 1899-12-30 plus the time of day). False when a part is not a run of
// digits at its positions, the year is outside 1 .. 9999, the month outside
// 1 .. 12, the day not in the month, the hour above 23 or the minute above 59.
bool ParseBarTime(const std::string& date, const std::string& time, QuoteForm form, double& barTime);

// Days since 1899-12-30 of a valid Gregorian date.
std::int64_t DaySerial(int year, int month, int day);

// Loads `fileName` into bars[0 .. capacity-1] and stops when the capacity is
// reached. Returns the number of bars stored, or -1 when the file cannot be
// opened or a read error occurs. Expects the floating-point scope to be set.
std::int32_t LoadQuoteFile(const char* fileName, QuoteForm form, std::int32_t digits, Bar* bars,
                           std::int32_t capacity);

}  // namespace zentrik::quotes
