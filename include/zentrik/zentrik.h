/*
 * zentrik: technical-analysis indicators over a caller's history of price bars.
 *
 * One public header for C and C++. Every entry is exported under its plain
 * (undecorated) name; on 32-bit Windows the entries use the stdcall
 * convention, everywhere else the platform's C convention.
 *
 * The build derives the list of exported symbols from the declarations
 * below (every line of the form "ZENTRIK_API <type> ZENTRIK_CALL <Name>("),
 * so this header is the one list of entries.
 *
 * Windows: define WIN32_LEAN_AND_MEAN before including <windows.h> in the
 * same unit; the full <windows.h> brings a macro DMI that clashes with the
 * entry of that name.
 *
 * Ownership: every array and record passed in belongs to the caller. The
 * library never keeps a pointer beyond the call.
 *
 * Threads: the library keeps three process-wide values (the point size, the
 * working directory recorded last and the quote import's field table) without
 * locks. Serialise calls made from several threads.
 *
 * Floating point: every entry saves the caller's floating-point state (x87
 * control word and status flags, SSE control and status register), computes
 * with 64-bit x87 precision, round-to-nearest and all exceptions masked, and
 * restores the caller's state exactly before it returns. No signal handler is
 * installed and no trap can fire inside the library. The indicator entries
 * then report what the computation raised:
 *   a division by zero        -> ZENTRIK_EZeroDivide    (45)
 *   an invalid operation      -> ZENTRIK_EInvalidOp     (19)
 *   an overflow               -> ZENTRIK_EOverflow      (29)
 * checked in that order when several were raised; inexact results and
 * underflow are not reported. The result array keeps what was computed
 * (it may then hold infinities or not-a-number values).
 */
#ifndef ZENTRIK_ZENTRIK_H
#define ZENTRIK_ZENTRIK_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64) && (defined(__i386__) || defined(_M_IX86))
#define ZENTRIK_CALL __stdcall
#else
#define ZENTRIK_CALL
#endif

#if defined(ZENTRIK_BUILDING_LIBRARY)
#if defined(_WIN32)
#define ZENTRIK_API __declspec(dllexport)
#else
#define ZENTRIK_API __attribute__((visibility("default")))
#endif
#else
#if defined(_WIN32) && !defined(ZENTRIK_STATIC)
#define ZENTRIK_API __declspec(dllimport)
#else
#define ZENTRIK_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Records
 * ------------------------------------------------------------------------ */

/* One price bar, 48 bytes. Note that the low comes before the high. */
typedef struct Bar {
    double time;     /* offset  0: days since 1899-12-30 00:00; fraction = time of day */
    double open;     /* offset  8 */
    double low;      /* offset 16 */
    double high;     /* offset 24 */
    double close;    /* offset 32 */
    int32_t volume;  /* offset 40: tick count */
    int32_t reserved;/* offset 44: never read or written by the library */
} Bar;

/* One trade of a mechanical trading system, 64 bytes. */
typedef struct Trade {
    double openTime;        /* offset  0 */
    double closeTime;       /* offset  8 */
    uint8_t closed;         /* offset 16: non-zero = counted */
    uint8_t unused17[7];    /* offset 17 */
    double openPrice;       /* offset 24 */
    double closePrice;      /* offset 32 */
    int32_t unused40;       /* offset 40 */
    int32_t direction;      /* offset 44: 1 = buy, anything else = sell */
    int32_t spread;         /* offset 48: costs in points */
    int32_t unused52;       /* offset 52 */
    double point;           /* offset 56: price step, e.g. 0.01 or 0.0001 */
} Trade;

/* Statistics of a trade list, 144 bytes, filled by KachestvoMTS. */
typedef struct TradeStats {
    double yearFactor;        /* offset   0 */
    int32_t tradeCount;       /* offset   8 */
    int32_t buyCount;         /* offset  12 */
    int32_t buyWins;          /* offset  16 */
    int32_t buyLosses;        /* offset  20 */
    double buyAverage;        /* offset  24 */
    int32_t sellCount;        /* offset  32 */
    int32_t sellWins;         /* offset  36 */
    int32_t sellLosses;       /* offset  40 */
    int32_t unused44;         /* offset  44: never written */
    double sellAverage;       /* offset  48 */
    double averageResult;     /* offset  56 */
    double profitFactor;      /* offset  64 */
    double maxDrawdown;       /* offset  72 */
    int32_t maxLossStreak;    /* offset  80 */
    int32_t unused84;         /* offset  84: never written */
    double grossProfit;       /* offset  88 */
    double grossLoss;         /* offset  96 */
    double meanToDeviation;   /* offset 104 */
    double runsZ;             /* offset 112 */
    double pessimisticReturn; /* offset 120 */
    double tStatistic;        /* offset 128 */
    double tConfidence;       /* offset 136 */
} TradeStats;

#if defined(__cplusplus)
#define ZENTRIK_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define ZENTRIK_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

ZENTRIK_STATIC_ASSERT(sizeof(Bar) == 48, "Bar is 48 bytes");
ZENTRIK_STATIC_ASSERT(offsetof(Bar, time) == 0, "Bar.time at 0");
ZENTRIK_STATIC_ASSERT(offsetof(Bar, open) == 8, "Bar.open at 8");
ZENTRIK_STATIC_ASSERT(offsetof(Bar, low) == 16, "Bar.low at 16");
ZENTRIK_STATIC_ASSERT(offsetof(Bar, high) == 24, "Bar.high at 24");
ZENTRIK_STATIC_ASSERT(offsetof(Bar, close) == 32, "Bar.close at 32");
ZENTRIK_STATIC_ASSERT(offsetof(Bar, volume) == 40, "Bar.volume at 40");
ZENTRIK_STATIC_ASSERT(offsetof(Bar, reserved) == 44, "Bar.reserved at 44");

ZENTRIK_STATIC_ASSERT(sizeof(Trade) == 64, "Trade is 64 bytes");
ZENTRIK_STATIC_ASSERT(offsetof(Trade, openTime) == 0, "Trade.openTime at 0");
ZENTRIK_STATIC_ASSERT(offsetof(Trade, closeTime) == 8, "Trade.closeTime at 8");
ZENTRIK_STATIC_ASSERT(offsetof(Trade, closed) == 16, "Trade.closed at 16");
ZENTRIK_STATIC_ASSERT(offsetof(Trade, openPrice) == 24, "Trade.openPrice at 24");
ZENTRIK_STATIC_ASSERT(offsetof(Trade, closePrice) == 32, "Trade.closePrice at 32");
ZENTRIK_STATIC_ASSERT(offsetof(Trade, direction) == 44, "Trade.direction at 44");
ZENTRIK_STATIC_ASSERT(offsetof(Trade, spread) == 48, "Trade.spread at 48");
ZENTRIK_STATIC_ASSERT(offsetof(Trade, point) == 56, "Trade.point at 56");

ZENTRIK_STATIC_ASSERT(sizeof(TradeStats) == 144, "TradeStats is 144 bytes");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, yearFactor) == 0, "yearFactor at 0");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, tradeCount) == 8, "tradeCount at 8");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, buyCount) == 12, "buyCount at 12");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, buyWins) == 16, "buyWins at 16");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, buyLosses) == 20, "buyLosses at 20");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, buyAverage) == 24, "buyAverage at 24");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, sellCount) == 32, "sellCount at 32");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, sellWins) == 36, "sellWins at 36");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, sellLosses) == 40, "sellLosses at 40");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, sellAverage) == 48, "sellAverage at 48");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, averageResult) == 56, "averageResult at 56");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, profitFactor) == 64, "profitFactor at 64");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, maxDrawdown) == 72, "maxDrawdown at 72");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, maxLossStreak) == 80, "maxLossStreak at 80");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, grossProfit) == 88, "grossProfit at 88");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, grossLoss) == 96, "grossLoss at 96");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, meanToDeviation) == 104, "meanToDeviation at 104");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, runsZ) == 112, "runsZ at 112");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, pessimisticReturn) == 120, "pessimisticReturn at 120");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, tStatistic) == 128, "tStatistic at 128");
ZENTRIK_STATIC_ASSERT(offsetof(TradeStats, tConfidence) == 136, "tConfidence at 136");

/* ------------------------------------------------------------------------
 * Status codes of the indicator entries
 *
 * 0 is success. 2 to 45 name the kind of failure (the code is the kind's
 * position in this list plus 2), 46 any other failure.
 *
 * Calls the library refuses before touching any memory:
 *   a null result or bars pointer      -> ZENTRIK_EAccessViolation (3)
 *   a count below 1                    -> ZENTRIK_ERangeError      (34)
 *   a parameter that would make a kernel reach outside the arrays (for
 *   instance a negative period)         -> ZENTRIK_ERangeError      (34)
 * Allocation failure                   -> ZENTRIK_EOutOfMemory     (27)
 * ------------------------------------------------------------------------ */
enum ZentrikStatus {
    ZENTRIK_OK = 0,
    ZENTRIK_EAbort = 2,
    ZENTRIK_EAccessViolation = 3,
    ZENTRIK_EBitsError = 4,
    ZENTRIK_EClassNotFound = 5,
    ZENTRIK_EControlC = 6,
    ZENTRIK_EConvertError = 7,
    ZENTRIK_EDivByZero = 8,
    ZENTRIK_EExternalException = 9,
    ZENTRIK_EFCreateError = 10,
    ZENTRIK_EFOpenError = 11,
    ZENTRIK_EInOutError = 12,
    ZENTRIK_EIntError = 13,
    ZENTRIK_EIntOverflow = 14,
    ZENTRIK_EInvalidCast = 15,
    ZENTRIK_EInvalidGraphic = 16,
    ZENTRIK_EInvalidGraphicOperation = 17,
    ZENTRIK_EInvalidImage = 18,
    ZENTRIK_EInvalidOp = 19,
    ZENTRIK_EInvalidOperation = 20,
    ZENTRIK_EInvalidPointer = 21,
    ZENTRIK_EListError = 22,
    ZENTRIK_EMathError = 23,
    ZENTRIK_EMenuError = 24,
    ZENTRIK_EMethodNotFound = 25,
    ZENTRIK_EOpenError = 26,
    ZENTRIK_EOutOfMemory = 27,
    ZENTRIK_EOutOfResources = 28,
    ZENTRIK_EOverflow = 29,
    ZENTRIK_EPrinter = 30,
    ZENTRIK_EPrivilege = 31,
    ZENTRIK_EPropReadOnly = 32,
    ZENTRIK_EPropWriteOnly = 33,
    ZENTRIK_ERangeError = 34,
    ZENTRIK_EReadError = 35,
    ZENTRIK_EResNotFound = 36,
    ZENTRIK_EStackOverflow = 37,
    ZENTRIK_EStreamError = 38,
    ZENTRIK_EStringListError = 39,
    ZENTRIK_EThread = 40,
    ZENTRIK_EUnderflow = 41,
    ZENTRIK_EVariantError = 42,
    ZENTRIK_EWriteError = 43,
    ZENTRIK_EFileError = 44,
    ZENTRIK_EZeroDivide = 45,
    ZENTRIK_EOther = 46
};

/* Number of catalogue entries reachable through Indikator (0 .. 460). */
#define ZENTRIK_CATALOGUE_SIZE 461

/* Bars that HistoryKotCSV / HistoryKotPRN store at most (their callers'
 * arrays have no stated size; the demo viewer holds this many). */
#define ZENTRIK_HISTORY_CAPACITY 1101

/* ------------------------------------------------------------------------
 * Indicator entries
 *
 * Every indicator entry records the current working directory, sets the
 * library's point size from the close of bar count / 3 (0.01 when it is at
 * least 30, else 0.0001), clears result[0 .. count-1] to 0.0 and then fills
 * the bars that its indicator defines. Returns a status code above.
 *
 * Parameters: every value is accepted and behaves as the indicator defines
 * (windows are clipped at bar 0; a length below 1 is an empty window, which
 * may give a floating-point fault status), except these, which return
 * ZENTRIK_ERangeError before anything is touched:
 *   PCR, Momentum, CG, CGO    a negative period
 *   Prognoz                   a period below 0 or above 2147483637
 * Large periods are safe but cost count x period operations where the
 * indicator sums each window afresh.
 * ------------------------------------------------------------------------ */

/* Catalogue: indicator `number` (0 .. 460). Any other number: status 0 and
 * an all-zero result. */
ZENTRIK_API int32_t ZENTRIK_CALL Indikator(int32_t number, double *result, int32_t count, const Bar *bars);

/* Simple, exponential and weighted moving averages of the closes. */
ZENTRIK_API int32_t ZENTRIK_CALL Srednee(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL SredneeX(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL SredneeW(double *result, int32_t count, const Bar *bars, int32_t period);

/* Price helpers, range and momentum oscillators. */
ZENTRIK_API int32_t ZENTRIK_CALL TypPrice(double *result, int32_t count, const Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL Rasmax(double *result, int32_t count, const Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL StochOsc(double *result, int32_t count, const Bar *bars, int32_t rangeLength, int32_t averageLength);
ZENTRIK_API int32_t ZENTRIK_CALL PCR(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL WILL(double *result, int32_t count, const Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL Osnovn(double *result, int32_t count, const Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL Momentum(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL MACD(double *result, int32_t count, const Bar *bars, int32_t fastPeriod, int32_t slowPeriod);
ZENTRIK_API int32_t ZENTRIK_CALL RSI(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL CCI(double *result, int32_t count, const Bar *bars, int32_t averageLength, int32_t deviationLength);
ZENTRIK_API int32_t ZENTRIK_CALL CG(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL CGO(double *result, int32_t count, const Bar *bars, int32_t period);

/* Directional movement, parabolic and stop lines. */
ZENTRIK_API int32_t ZENTRIK_CALL AvgDirMov(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL DMI(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL ADX(double *result, int32_t count, const Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL PlusDM(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL MinusDM(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL Parabolic(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL SAR(double *result, int32_t count, const Bar *bars);

/* Adaptive averages, regression and forecast. */
ZENTRIK_API int32_t ZENTRIK_CALL KAMA(double *result, int32_t count, const Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL MAMA(double *result, int32_t count, const Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL Regress(double *result, int32_t count, const Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL TSF(double *result, int32_t count, const Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL Prognoz(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL UgolLog(double *result, int32_t count, const Bar *bars);

/* Candle patterns and trend lines. */
ZENTRIK_API int32_t ZENTRIK_CALL Svecha(double *result, int32_t count, const Bar *bars, int32_t pattern);
ZENTRIK_API int32_t ZENTRIK_CALL Trend(double *result, int32_t count, const Bar *bars, int32_t period);
ZENTRIK_API int32_t ZENTRIK_CALL TrendMode(double *result, int32_t count, const Bar *bars);

/* ------------------------------------------------------------------------
 * Quote files
 * ------------------------------------------------------------------------ */

/* Load a CSV (2009.01.02,08:00,o,h,l,c,v) or PRN (header line, then
 * 20090102,0800,o,h,l,c,v) quote history into bars[], prices rounded to
 * `digits` decimals (0 .. 5; any other value leaves them unrounded).
 * Stores at most ZENTRIK_HISTORY_CAPACITY bars. Returns 0 when the file is
 * missing or unreadable (also for a null fileName or bars), 1 after a
 * completed load, also when it stored no bar.
 * Records are whitespace-separated (LF or CR LF lines); a record keeps its
 * first 1175 characters, the text after each comma its first 255, and the
 * fields after the 30th are dropped. Loading ends at the first record whose
 * first character is not a digit. A record with a bad date or time (month,
 * day, hour, minute out of range, year outside 1 .. 9999, a part that is not
 * its two or four digits) is skipped, as is a record whose time equals that
 * of the bar stored just before. Missing fields read as empty, a price or
 * volume that is not a number as 0; the volume is cut to its integer part
 * and saturated to the int32_t range. fileName goes to fopen unchanged. */
ZENTRIK_API int32_t ZENTRIK_CALL HistoryKotCSV(const char *fileName, int32_t digits, Bar *bars);
ZENTRIK_API int32_t ZENTRIK_CALL HistoryKotPRN(const char *fileName, int32_t digits, Bar *bars);

/* As above with the caller's capacity: returns the number of bars stored
 * (loading stops when it reaches capacity; bars is not touched beyond it),
 * or -1 when the file cannot be read, fileName is null, capacity < 0, or
 * bars is null with capacity > 0 (nothing is written then). bars may be
 * null when capacity is 0. */
ZENTRIK_API int32_t ZENTRIK_CALL HistoryKotCSVEx(const char *fileName, int32_t digits, Bar *bars, int32_t capacity);
ZENTRIK_API int32_t ZENTRIK_CALL HistoryKotPRNEx(const char *fileName, int32_t digits, Bar *bars, int32_t capacity);

/* Round to `digits` decimals (0 .. 5), halves away from zero, computed in
 * 64-bit extended precision. 0, not-a-number and values beyond +-1e8 give
 * 0.0; any other digits returns the value unchanged. */
ZENTRIK_API double ZENTRIK_CALL Okrug(double value, int32_t digits);

/* Pair names: "USDJPY" <-> "USD/JPY". Write the zero-terminated result to
 * out (truncated to fit, always terminated when outSize > 0) and return its
 * full length, as snprintf does. A null name reads as empty; with a null out
 * or outSize <= 0 nothing is written. KotSlesh keeps a name that has a "/"
 * and otherwise gives characters 1-3, "/", 4-6; KotNoSlesh keeps a name
 * without "/" and otherwise gives characters 1-3 and 5-7. */
ZENTRIK_API int32_t ZENTRIK_CALL KotSlesh(const char *name, char *out, int32_t outSize);
ZENTRIK_API int32_t ZENTRIK_CALL KotNoSlesh(const char *name, char *out, int32_t outSize);

/* Append "text DD.MM.YY HH:MM:SS " to protokol.dat in the working directory
 * recorded last (the process's current directory before any recording).
 * Local time; a null text writes an empty text; a journal that cannot be
 * opened loses the line without failing the call. */
ZENTRIK_API void ZENTRIK_CALL Protokol(const char *text);

/* ------------------------------------------------------------------------
 * Trading-system evaluation and spreadsheet export
 * ------------------------------------------------------------------------ */

/* Statistics of the trades with closed != 0, results in tenths of a point
 * after costs. Writes tradeCount; with more than 5 counted trades also every
 * other field (unused44 and unused84 never): 0 where a quotient has nothing
 * to divide by, yearFactor 0 for a zero time span, tStatistic t rounded to
 * 2 decimals, tConfidence the two-sided Student probability of the unrounded
 * t. A null pointer or a negative count writes nothing; when the working
 * memory cannot be allocated only tradeCount = 0 is written. */
ZENTRIK_API void ZENTRIK_CALL KachestvoMTS(const Trade *trades, int32_t count, TradeStats *stats);

/* Writes table[i][j] to row i + 1, column j + 1 of the one worksheet
 * "Экспорт данных" (UTF-8) of a new .xlsx workbook at path, replacing a file
 * of that name. Each cell holds the value of its text with 15 significant
 * digits (0.1, 1E-6); not-a-number and the infinities are the texts "NAN",
 * "INF", "-INF" (as is "1.79769313486232E308", beyond the double range).
 * 0 rows or columns give a workbook without cells. Returns ZENTRIK_OK, or
 * one of these, leaving no file behind that the call created:
 *   a null path, a null table with rows > 0,
 *   a null row pointer                   -> ZENTRIK_EAccessViolation (3)
 *   negative rows or columns, more than
 *   1048576 rows or 16384 columns        -> ZENTRIK_ERangeError      (34)
 *   a path that cannot be created        -> ZENTRIK_EFCreateError    (10)
 *   a build without the workbook writer  -> ZENTRIK_EClassNotFound   (5)
 *   failed allocation                    -> ZENTRIK_EOutOfMemory     (27)
 *   any other failure while writing      -> ZENTRIK_EWriteError      (43) */
ZENTRIK_API int32_t ZENTRIK_CALL ToExcelFile(const double *const *table, int32_t rows, int32_t columns, const char *path);
/* Windows: hands the table to the spreadsheet application by automation.
 * Elsewhere: writes it as ToExcelFile does to a new file
 * "zentrik-YYYYMMDD-HHMMSS.xlsx" (local time; "-2", "-3" ... appended rather
 * than replacing a file) in the working directory recorded last (else the
 * current directory) and, when $DISPLAY or $WAYLAND_DISPLAY is set, starts
 * xdg-open on it without waiting. Never fails the caller: a table that
 * ToExcelFile refuses, or any failure, leaves no file and opens nothing. */
ZENTRIK_API void ZENTRIK_CALL ToExcel(const double *const *table, int32_t rows, int32_t columns);

#ifdef __cplusplus
}
#endif

#endif /* ZENTRIK_ZENTRIK_H */
