// Loading quote histories from CSV and PRN files.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/Frame.h"
#include "kernels/Extended.h"
#include "quotes/QuoteImport.h"
#include "quotes/Rounding.h"
#include "zentrik/zentrik.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;
using quotes::QuoteForm;

// A directory of its own under the system's temporary directory, removed
// with everything in it at the end of the test.
class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = fs::temp_directory_path() /
                ("zentrik_quotes_" + std::to_string(std::random_device{}()) + "_" + std::to_string(counter++));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string Write(const std::string& name, const std::string& content) const {
        const fs::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

constexpr double kGuardValue = -12345.5;

// `size` bars filled with a recognisable guard value.
std::vector<Bar> GuardBars(std::size_t size) {
    Bar guard{};
    guard.time = kGuardValue;
    guard.open = guard.low = guard.high = guard.close = kGuardValue;
    guard.volume = -777;
    guard.reserved = 0x5A5A5A5A;
    return std::vector<Bar>(size, guard);
}

bool IsGuard(const Bar& bar) {
    return bar.time == kGuardValue && bar.open == kGuardValue && bar.low == kGuardValue &&
           bar.high == kGuardValue && bar.close == kGuardValue && bar.volume == -777 &&
           bar.reserved == 0x5A5A5A5A;
}

// The bar time of a date and a time of day, built the way the import does.
double TimeOf(int year, int month, int day, int hour, int minute) {
    const double timeOfDay = ToDouble(Extended(hour * 3600000 + minute * 60000) / 86400000.0L);
    return ToDouble(Extended(quotes::DaySerial(year, month, day)) + timeOfDay);
}

// Loads a CSV text through the Ex entry into 64 guarded bars.
struct Loaded {
    std::int32_t count;
    std::vector<Bar> bars;
};

Loaded LoadText(const std::string& text, QuoteForm form = QuoteForm::kCsv, std::int32_t digits = 2,
                std::int32_t capacity = 60) {
    TempDir dir;
    const std::string file = dir.Write("quotes.txt", text);
    Loaded loaded{0, GuardBars(64)};
    loaded.count = form == QuoteForm::kCsv ? HistoryKotCSVEx(file.c_str(), digits, loaded.bars.data(), capacity)
                                           : HistoryKotPRNEx(file.c_str(), digits, loaded.bars.data(), capacity);
    return loaded;
}

TEST(QuoteImport, DaySerialCountsFrom30December1899) {
    EXPECT_EQ(quotes::DaySerial(1899, 12, 30), 0);
    EXPECT_EQ(quotes::DaySerial(1900, 1, 1), 2);
    EXPECT_EQ(quotes::DaySerial(1900, 3, 1), 61);  // 1900 is no leap year
    EXPECT_EQ(quotes::DaySerial(2009, 1, 2), 39815);
    EXPECT_EQ(quotes::DaySerial(1, 1, 1), -693593);
    EXPECT_EQ(quotes::DaySerial(9999, 12, 31), 2958465);
}

TEST(QuoteImport, BarTimeRoundsTheTimeOfDayBeforeTheSum) {
    double t = 0.0;
    ASSERT_TRUE(quotes::ParseBarTime("2009.01.02", "08:00", QuoteForm::kCsv, t));
    EXPECT_EQ(t, 39815.0 + 1.0 / 3.0);
    // Every minute of a day equals date + double(time of day), summed in
    // extended and rounded once.
    for (int minute = 0; minute < 1440; ++minute) {
        char text[32];
        std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
        ASSERT_TRUE(quotes::ParseBarTime("2031.07.15", text, QuoteForm::kCsv, t));
        const double timeOfDay = ToDouble(Extended(minute * 60000) / 86400000.0L);
        ASSERT_EQ(t, ToDouble(Extended(quotes::DaySerial(2031, 7, 15)) + timeOfDay)) << text;
    }
    ASSERT_TRUE(quotes::ParseBarTime("20090102", "2359", QuoteForm::kPrn, t));
    EXPECT_EQ(t, TimeOf(2009, 1, 2, 23, 59));
}

TEST(QuoteImport, ReadsAllFieldsOfACsvRecord) {
    const Loaded r = LoadText("2009.01.02,08:00,90.874,91.055,90.80,90.951,1234.9\n");
    ASSERT_EQ(r.count, 1);
    const Bar& bar = r.bars[0];
    EXPECT_EQ(bar.time, TimeOf(2009, 1, 2, 8, 0));
    EXPECT_EQ(bar.open, RoundPrice(90.874, 2));
    EXPECT_EQ(bar.open, 90.87);
    EXPECT_EQ(bar.high, 91.06);  // field 4 goes to high at offset 24
    EXPECT_EQ(bar.low, 90.80);   // field 5 goes to low at offset 16
    EXPECT_EQ(bar.close, 90.95);
    EXPECT_EQ(bar.volume, 1234);
    EXPECT_EQ(bar.reserved, 0x5A5A5A5A);  // never written
    EXPECT_TRUE(IsGuard(r.bars[1]));
}

TEST(QuoteImport, DigitsOutsideZeroToFiveKeepPricesUnrounded) {
    const Loaded r = LoadText("2009.01.02,08:00,1.234567,1.3,1.2,1.25,1\n", QuoteForm::kCsv, 7);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.bars[0].open, 1.234567);
}

TEST(QuoteImport, CsvHeaderLoadsNothingAndStillSucceeds) {
    TempDir dir;
    const std::string file = dir.Write("h.csv", "Date,Time,Open,High,Low,Close,Volume\n2009.01.02,08:00,1,1,1,1,1\n");
    std::vector<Bar> bars = GuardBars(4);
    EXPECT_EQ(HistoryKotCSV(file.c_str(), 2, bars.data()), 1);
    EXPECT_TRUE(IsGuard(bars[0]));
    EXPECT_EQ(HistoryKotCSVEx(file.c_str(), 2, bars.data(), 4), 0);
}

TEST(QuoteImport, DuplicateNeighboursAreStoredOnce) {
    const Loaded r = LoadText(
        "2009.01.02,00:00,1,1,1,1,1\n"
        "2009.01.02,00:00,2,2,2,2,2\n"
        "2009.01.02,01:00,3,3,3,3,3\n"
        "2009.01.02,00:00,4,4,4,4,4\n");  // repeats an earlier, non-adjacent time
    ASSERT_EQ(r.count, 3);
    EXPECT_EQ(r.bars[0].close, 1.0);
    EXPECT_EQ(r.bars[1].close, 3.0);
    EXPECT_EQ(r.bars[2].close, 4.0);
    EXPECT_EQ(r.bars[2].time, r.bars[0].time);
}

TEST(QuoteImport, FirstRecordAtDayZeroIsNotADuplicate) {
    const Loaded r = LoadText("1899.12.30,00:00,1,1,1,1,1\n1899.12.30,00:00,2,2,2,2,2\n");
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.bars[0].time, 0.0);
    EXPECT_EQ(r.bars[0].close, 1.0);
}

TEST(QuoteImport, BadRecordsAreSkippedWithoutAdvancing) {
    const char* bad[] = {
        "2009.13.01,08:00", "2009.00.01,08:00", "2009.04.31,08:00", "2009.02.29,08:00",
        "2009.01.00,08:00", "2009.01.02,24:00", "2009.01.02,08:60", "2009.0a.02,08:00",
        "2009.01.02,0x:00", "0000.01.02,08:00", "2009.01.2,08:00",  "2009.01.02,8:00",
        "2009.01.02",       "2009.1.02,08:00",  "2009.01.02,08:0",  "2009.+1.02,08:00",
    };
    for (const char* record : bad) {
        const Loaded r = LoadText(std::string("2009.01.01,10:00,1,1,1,1,1\n") + record +
                                  ",5,5,5,5,5\n2009.01.03,10:00,2,2,2,2,2\n");
        ASSERT_EQ(r.count, 2) << record;
        EXPECT_EQ(r.bars[1].close, 2.0) << record;
        EXPECT_TRUE(IsGuard(r.bars[2])) << record;
    }
    const Loaded leap = LoadText("2008.02.29,08:00,1,1,1,1,1\n2000.02.29,08:00,1,1,1,1,1\n9999.12.31,23:59,1,1,1,1,1\n");
    EXPECT_EQ(leap.count, 3);
}

TEST(QuoteImport, SeparatorsOfTheCsvDateAndTimeMayBeAnyCharacter) {
    const Loaded r = LoadText("2009-01-02,08h30,1,1,1,1,1\n2009/01/03,09.15xyz,1,1,1,1,1\n");
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(r.bars[0].time, TimeOf(2009, 1, 2, 8, 30));
    EXPECT_EQ(r.bars[1].time, TimeOf(2009, 1, 3, 9, 15));
}

TEST(QuoteImport, TextRecordEndsTheLoad) {
    const Loaded r = LoadText("2009.01.02,08:00,1,1,1,1,1\nend of data\n2009.01.02,09:00,1,1,1,1,1\n");
    EXPECT_EQ(r.count, 1);
    EXPECT_TRUE(IsGuard(r.bars[1]));
    EXPECT_EQ(LoadText(",2009.01.02,08:00,1,1,1,1,1\n").count, 0);  // empty first field
}

TEST(QuoteImport, LineEndsAndBlanksSeparateRecords) {
    const std::string records[] = {"2009.01.02,08:00,1,1,1,1,10", "2009.01.02,09:00,2,2,2,2,20",
                                   "2009.01.02,10:00,3,3,3,3,30"};
    const std::string texts[] = {
        records[0] + "\n" + records[1] + "\n" + records[2] + "\n",
        records[0] + "\r\n" + records[1] + "\r\n" + records[2] + "\r\n",
        records[0] + "\r\n" + records[1] + "\r\n" + records[2],  // no line end at the end
        "\n\n  " + records[0] + " \t" + records[1] + "\r\n\r\n" + records[2] + "   \n\n",
    };
    for (const std::string& text : texts) {
        const Loaded r = LoadText(text);
        ASSERT_EQ(r.count, 3);
        EXPECT_EQ(r.bars[2].volume, 30);
        EXPECT_EQ(r.bars[2].time, TimeOf(2009, 1, 2, 10, 0));
    }
}

TEST(QuoteImport, PrnSkipsItsHeader) {
    const Loaded r = LoadText("<DATE>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>\n"
                              "20090102,0800,90.87,91.05,90.80,90.95,1234\n"
                              "20090102,0900,90.95,91.10,90.90,91.00,99\n",
                              QuoteForm::kPrn);
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(r.bars[0].time, TimeOf(2009, 1, 2, 8, 0));
    EXPECT_EQ(r.bars[0].high, 91.05);
    EXPECT_EQ(r.bars[1].time, TimeOf(2009, 1, 2, 9, 0));
    EXPECT_EQ(r.bars[1].volume, 99);
}

TEST(QuoteImport, PrnWithoutHeaderLosesItsFirstBar) {
    const Loaded r = LoadText("20090102,0800,1,1,1,1,1\n20090102,0900,2,2,2,2,2\n", QuoteForm::kPrn);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.bars[0].close, 2.0);
}

TEST(QuoteImport, PrnHeaderWithBlanksEndsTheLoadAtItsNextWord) {
    const Loaded r = LoadText("Date Time Open\n20090102,0800,1,1,1,1,1\n", QuoteForm::kPrn);
    EXPECT_EQ(r.count, 0);
}

TEST(QuoteImport, ShortRecordsDoNotReuseFieldsOfEarlierRecords) {
    const Loaded r = LoadText("2009.01.02,08:00,1.5,2.5,0.5,2,77\n2009.01.02,09:00,3\n");
    ASSERT_EQ(r.count, 2);
    EXPECT_EQ(r.bars[1].open, 3.0);
    EXPECT_EQ(r.bars[1].high, 0.0);
    EXPECT_EQ(r.bars[1].low, 0.0);
    EXPECT_EQ(r.bars[1].close, 0.0);
    EXPECT_EQ(r.bars[1].volume, 0);
}

TEST(QuoteImport, TextThatIsNotANumberReadsAsZero) {
    const Loaded r = LoadText("2009.01.02,08:00,abc,1.5x,inf,nan,1e3x\n");
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.bars[0].open, 0.0);
    EXPECT_EQ(r.bars[0].high, 0.0);
    EXPECT_EQ(r.bars[0].low, 0.0);
    EXPECT_EQ(r.bars[0].close, 0.0);
    EXPECT_EQ(r.bars[0].volume, 0);
}

TEST(QuoteImport, ParseDecimalReadsPlainDecimalNumbersOnly) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"90.87", 90.87}, {"+1.5", 1.5},  {"-2.25", -2.25}, {"1.", 1.0},    {".5", 0.5},
        {"1e3", 1000.0},  {"2.5E-2", 0.025}, {"007", 7.0},  {"", 0.0},      {".", 0.0},
        {"-", 0.0},       {"1,5", 0.0},   {"0x10", 0.0},    {"1e", 0.0},    {" 1", 0.0},
        {"1e-400", 0.0},  {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"0.0e99999", 0.0},
    };
    for (const Case& c : cases) EXPECT_EQ(quotes::ParseDecimal(c.text), c.value) << c.text;
}

TEST(QuoteImport, VolumeIsCutToItsIntegerPartAndSaturated) {
    struct Case {
        const char* text;
        std::int32_t volume;
    };
    const Case cases[] = {
        {"12.99", 12},           {"-12.99", -12},         {"2147483647", 2147483647},
        {"2147483647.9", 2147483647}, {"9e18", 2147483647}, {"-2147483648", INT32_MIN},
        {"-1e30", INT32_MIN},    {"1e400", 2147483647},   {"x", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(quotes::ParseVolume(c.text), c.volume) << c.text;
}

TEST(QuoteImport, SplitKeepsThirtySlotsAndDropsFurtherFields) {
    quotes::FieldTable table;
    std::string record;
    for (int i = 1; i <= 40; ++i) record += std::to_string(i) + (i < 40 ? "," : "");
    EXPECT_EQ(quotes::SplitRecord(record, table), 30u);
    EXPECT_EQ(table[0], "1");
    EXPECT_EQ(table[29], "30");
    EXPECT_EQ(quotes::SplitRecord("a,b", table), 2u);
    EXPECT_EQ(table[1], "b");
    EXPECT_EQ(table[2], "");  // cleared, not left from the previous record
    EXPECT_EQ(quotes::SplitRecord("a,b,", table), 3u);
    EXPECT_EQ(table[2], "");
}

TEST(QuoteImport, RemainderAfterACommaKeeps255Characters) {
    // The text after the first comma is cut to 255 characters, so fields that
    // begin beyond that are lost.
    const std::string open = "1.5" + std::string(300, '0');
    const Loaded r = LoadText("2009.01.02,08:00," + open + ",2,1,1.5,7\n");
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.bars[0].open, 1.5);
    EXPECT_EQ(r.bars[0].high, 0.0);
    EXPECT_EQ(r.bars[0].volume, 0);
}

TEST(QuoteImport, MissingOrUnusableFilesAndArguments) {
    TempDir dir;
    const std::string missing = (dir.path() / "nothing.csv").string();
    const std::string good = dir.Write("g.csv", "2009.01.02,08:00,1,1,1,1,1\n");
    std::vector<Bar> bars = GuardBars(4);
    EXPECT_EQ(HistoryKotCSV(missing.c_str(), 2, bars.data()), 0);
    EXPECT_EQ(HistoryKotPRN(missing.c_str(), 2, bars.data()), 0);
    EXPECT_EQ(HistoryKotCSV(nullptr, 2, bars.data()), 0);
    EXPECT_EQ(HistoryKotCSV(dir.path().string().c_str(), 2, bars.data()), 0);  // a directory
    EXPECT_EQ(HistoryKotCSVEx(dir.path().string().c_str(), 2, nullptr, 0), -1);
    EXPECT_EQ(HistoryKotCSV(good.c_str(), 2, nullptr), 0);
    EXPECT_EQ(HistoryKotCSVEx(missing.c_str(), 2, bars.data(), 4), -1);
    EXPECT_EQ(HistoryKotPRNEx(nullptr, 2, bars.data(), 4), -1);
    EXPECT_EQ(HistoryKotCSVEx(good.c_str(), 2, bars.data(), -1), -1);
    EXPECT_EQ(HistoryKotCSVEx(good.c_str(), 2, nullptr, 1), -1);
    for (const Bar& bar : bars) EXPECT_TRUE(IsGuard(bar));
    EXPECT_EQ(HistoryKotCSVEx(good.c_str(), 2, nullptr, 0), 0);
    EXPECT_EQ(HistoryKotCSVEx(good.c_str(), 2, bars.data(), 0), 0);
    EXPECT_TRUE(IsGuard(bars[0]));
    EXPECT_EQ(HistoryKotCSVEx(good.c_str(), 2, bars.data(), 4), 1);
}

TEST(QuoteImport, RecordsTheWorkingDirectory) {
    TempDir dir;
    const fs::path before = fs::current_path();
    struct Restore {
        fs::path path;
        ~Restore() { fs::current_path(path); }
    } restore{before};
    fs::current_path(dir.path());
    HistoryKotCSV("no such file.csv", 2, nullptr);
    EXPECT_EQ(fs::path(RecordedDirectory()), fs::current_path());
}

TEST(QuoteImport, HostileFilesAreReadSafely) {
    std::string garbage;
    for (int i = 0; i < 20000; ++i) garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
    const std::string valid = "2009.01.02,08:00,1,1,1,1,1\n";
    const std::string longLine = "1" + std::string(100000, 'x') + "\n" + valid;
    const std::string commas = "2009.01.02,08:00" + std::string(10000, ',') + "\n" + valid;
    EXPECT_EQ(LoadText("").count, 0);
    EXPECT_EQ(LoadText("\n\r\n   \n").count, 0);
    EXPECT_GE(LoadText(garbage).count, 0);
    EXPECT_GE(LoadText(garbage, QuoteForm::kPrn).count, 0);
    // An over-long record is cut, its rest is not a record of its own.
    const Loaded longResult = LoadText(longLine);
    EXPECT_EQ(longResult.count, 1);
    EXPECT_EQ(longResult.bars[0].time, TimeOf(2009, 1, 2, 8, 0));
    EXPECT_TRUE(IsGuard(longResult.bars[1]));
    const Loaded commaResult = LoadText(commas);
    EXPECT_EQ(commaResult.count, 1);  // the second record repeats the first's time
    EXPECT_EQ(commaResult.bars[0].open, 0.0);
    EXPECT_TRUE(IsGuard(commaResult.bars[1]));
}

std::string ManyRecords(int count) {
    std::string text;
    char line[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "%04d.%02d.%02d,%02d:00,1.5,1.6,1.4,1.55,%d\n", 2000 + i / 8760,
                      1 + (i / 720) % 12, 1 + (i / 24) % 28, i % 24, i);
        text += line;
    }
    return text;
}

TEST(QuoteImport, NothingIsWrittenPastTheCapacity) {
    const Loaded r = LoadText(ManyRecords(100), QuoteForm::kCsv, 2, 10);
    EXPECT_EQ(r.count, 10);
    EXPECT_EQ(r.bars[9].volume, 9);
    for (std::size_t i = 10; i < r.bars.size(); ++i) EXPECT_TRUE(IsGuard(r.bars[i])) << i;

    TempDir dir;
    const std::string file = dir.Write("big.csv", ManyRecords(1500));
    std::vector<Bar> bars = GuardBars(ZENTRIK_HISTORY_CAPACITY + 8);
    EXPECT_EQ(HistoryKotCSV(file.c_str(), 2, bars.data()), 1);
    EXPECT_EQ(bars[ZENTRIK_HISTORY_CAPACITY - 1].volume, ZENTRIK_HISTORY_CAPACITY - 1);
    for (std::size_t i = ZENTRIK_HISTORY_CAPACITY; i < bars.size(); ++i) EXPECT_TRUE(IsGuard(bars[i])) << i;
    std::vector<Bar> all(2000);
    EXPECT_EQ(HistoryKotCSVEx(file.c_str(), 2, all.data(), 2000), 1500);
}

TEST(QuoteImport, SampleFixturesLoad) {
    std::vector<Bar> bars = GuardBars(16);
    const std::string csv = std::string(ZENTRIK_TEST_DATA_DIR) + "/quotes/sample.csv";
    const std::string prn = std::string(ZENTRIK_TEST_DATA_DIR) + "/quotes/sample.prn";
    ASSERT_EQ(HistoryKotCSVEx(csv.c_str(), 2, bars.data(), 16), 5);
    std::vector<Bar> prnBars = GuardBars(16);
    ASSERT_EQ(HistoryKotPRNEx(prn.c_str(), 2, prnBars.data(), 16), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(std::memcmp(&bars[i], &prnBars[i], sizeof(Bar)), 0) << i;
    }
}

}  // namespace
}  // namespace zentrik
