// Digest of every library entry on built-in deterministic inputs.
//
// The same source is built twice: as a Windows console program that loads
// zentrik.dll with LoadLibrary and reaches each entry with GetProcAddress
// through a stdcall function pointer (ZENTRIK_DIGEST_LOADS_DLL), and as a
// native program linked against the shared library. Both print one line per
// call (run, entry, arguments, status, FNV-1a hash of the bit patterns of
// everything the call wrote) and a completion line, so the two outputs must
// be identical byte for byte.
//
// Every call is made five times, each time as another kind of caller: with
// the floating-point state the program started with, with the control word
// a Windows thread starts with (53-bit precision, all exceptions masked),
// with division by zero unmasked in the x87 unit and in SSE, with division
// by zero, invalid operation and overflow unmasked in both, and (32-bit
// Windows) with a stack aligned to 4 bytes only, as the Windows convention
// allows. The library must give the same results in every run, must not
// trap, and must hand the caller's state back unchanged (control word,
// status word, empty register stack, MXCSR); each difference is printed and
// counted. Nothing is written outside the caller's arrays (guard bytes
// behind every output) and the bars are never changed.
//
// The program writes its files (quote files, the journal) into the current
// directory and below it; run it in a scratch directory.

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "zentrik/zentrik.h"

#if defined(_WIN32)
// The full <windows.h> brings winioctl.h, whose media-type constant DMI
// clashes with the entry of that name.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <objbase.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#if defined(__i386__) || defined(__x86_64__)
#define DIGEST_X86 1
#endif

namespace {

// ---------------------------------------------------------------------------
// The entries, as the caller sees them: stdcall function pointers on 32-bit
// Windows (ZENTRIK_CALL), plain C function pointers elsewhere.
// ---------------------------------------------------------------------------

using CatalogueFn = int32_t(ZENTRIK_CALL*)(int32_t, double*, int32_t, const Bar*);
using IndicatorFn0 = int32_t(ZENTRIK_CALL*)(double*, int32_t, const Bar*);
using IndicatorFn1 = int32_t(ZENTRIK_CALL*)(double*, int32_t, const Bar*, int32_t);
using IndicatorFn2 = int32_t(ZENTRIK_CALL*)(double*, int32_t, const Bar*, int32_t, int32_t);
using LoadFn = int32_t(ZENTRIK_CALL*)(const char*, int32_t, Bar*);
using LoadExFn = int32_t(ZENTRIK_CALL*)(const char*, int32_t, Bar*, int32_t);
using RoundFn = double(ZENTRIK_CALL*)(double, int32_t);
using PairNameFn = int32_t(ZENTRIK_CALL*)(const char*, char*, int32_t);
using JournalFn = void(ZENTRIK_CALL*)(const char*);
using EvaluationFn = void(ZENTRIK_CALL*)(const Trade*, int32_t, TradeStats*);
using FileExportFn = int32_t(ZENTRIK_CALL*)(const double* const*, int32_t, int32_t, const char*);
using ExportFn = void(ZENTRIK_CALL*)(const double* const*, int32_t, int32_t);

// X(name, pointer type) for every entry of the public header.
#define DIGEST_INDICATORS_0(X)                                                                            \
    X(TypPrice, IndicatorFn0) X(Rasmax, IndicatorFn0) X(WILL, IndicatorFn0) X(Osnovn, IndicatorFn0)       \
    X(ADX, IndicatorFn0) X(SAR, IndicatorFn0) X(KAMA, IndicatorFn0) X(MAMA, IndicatorFn0)                 \
    X(Regress, IndicatorFn0) X(TSF, IndicatorFn0) X(UgolLog, IndicatorFn0) X(TrendMode, IndicatorFn0)
#define DIGEST_INDICATORS_1(X)                                                                            \
    X(Srednee, IndicatorFn1) X(SredneeX, IndicatorFn1) X(SredneeW, IndicatorFn1) X(PCR, IndicatorFn1)     \
    X(Momentum, IndicatorFn1) X(RSI, IndicatorFn1) X(CG, IndicatorFn1) X(CGO, IndicatorFn1)               \
    X(AvgDirMov, IndicatorFn1) X(DMI, IndicatorFn1) X(PlusDM, IndicatorFn1) X(MinusDM, IndicatorFn1)      \
    X(Parabolic, IndicatorFn1) X(Prognoz, IndicatorFn1) X(Trend, IndicatorFn1)
#define DIGEST_INDICATORS_2(X) X(StochOsc, IndicatorFn2) X(MACD, IndicatorFn2) X(CCI, IndicatorFn2)
#define DIGEST_OTHER_ENTRIES(X)                                                                           \
    X(Indikator, CatalogueFn) X(Svecha, IndicatorFn1) X(HistoryKotCSV, LoadFn) X(HistoryKotPRN, LoadFn)   \
    X(HistoryKotCSVEx, LoadExFn) X(HistoryKotPRNEx, LoadExFn) X(Okrug, RoundFn) X(KotSlesh, PairNameFn)   \
    X(KotNoSlesh, PairNameFn) X(Protokol, JournalFn) X(KachestvoMTS, EvaluationFn)                        \
    X(ToExcelFile, FileExportFn) X(ToExcel, ExportFn)
#define DIGEST_ALL_ENTRIES(X) \
    DIGEST_INDICATORS_0(X) DIGEST_INDICATORS_1(X) DIGEST_INDICATORS_2(X) DIGEST_OTHER_ENTRIES(X)

// The pointer types above are the header's declarations.
#define DIGEST_CHECK_TYPE(name, type) \
    static_assert(std::is_same_v<decltype(&::name), type>, #name " is declared as the digest calls it");
DIGEST_ALL_ENTRIES(DIGEST_CHECK_TYPE)
#undef DIGEST_CHECK_TYPE

struct Api {
#define DIGEST_FIELD(name, type) type name = nullptr;
    DIGEST_ALL_ENTRIES(DIGEST_FIELD)
#undef DIGEST_FIELD
};

#if defined(ZENTRIK_DIGEST_LOADS_DLL)
// Binds every entry of zentrik.dll by its undecorated name.
bool BindEntries(Api& api, const char* dllPath) {
    HMODULE dll = LoadLibraryA(dllPath);
    if (dll == nullptr) {
        std::fprintf(stderr, "cannot load %s (error %lu)\n", dllPath, static_cast<unsigned long>(GetLastError()));
        return false;
    }
    bool complete = true;
    auto bind = [&](auto& slot, const char* name) {
        FARPROC address = GetProcAddress(dll, name);
        if (address == nullptr) {
            std::fprintf(stderr, "entry %s not exported\n", name);
            complete = false;
            return;
        }
        static_assert(sizeof slot == sizeof address, "function pointers have one size");
        std::memcpy(&slot, &address, sizeof slot);
    };
#define DIGEST_BIND(name, type) bind(api.name, #name);
    DIGEST_ALL_ENTRIES(DIGEST_BIND)
#undef DIGEST_BIND
    return complete;  // the DLL stays loaded until the process ends
}
#else
bool BindEntries(Api& api, const char*) {
#define DIGEST_BIND(name, type) api.name = &::name;
    DIGEST_ALL_ENTRIES(DIGEST_BIND)
#undef DIGEST_BIND
    return true;
}
#endif

// ---------------------------------------------------------------------------
// Hashing and output
// ---------------------------------------------------------------------------

class Fnv {
public:
    void Add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ ^= bytes[i];
            hash_ *= 0x100000001B3ull;
        }
    }
    template <class T>
    void AddValue(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        Add(&value, sizeof value);
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

std::string Hex(std::uint64_t value, int digits) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return text;
}

std::string Int(long long value) { return std::to_string(value); }

// Printable form of an 8-bit text: ASCII as it is, other bytes as \xNN.
std::string Escaped(const char* text, std::size_t maxShown = 40) {
    if (text == nullptr) return "(null)";
    std::string shown = "\"";
    std::size_t length = std::strlen(text);
    for (std::size_t i = 0; i < length && i < maxShown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            shown += "\\x" + Hex(c, 2);
        }
    }
    shown += "\"";
    if (length > maxShown) shown += "+" + Int(static_cast<long long>(length - maxShown));
    return shown;
}

// ---------------------------------------------------------------------------
// The caller's floating-point state
// ---------------------------------------------------------------------------

struct FpState {
    std::uint16_t control = 0;
    std::uint16_t status = 0;
    std::uint16_t tags = 0;
    std::uint32_t mxcsr = 0;
    bool operator==(const FpState&) const = default;
};

struct FpMode {
    const char* name;
    bool set;  // false: keep the state the program started with
    std::uint16_t control;
    std::uint32_t mxcsr;
    // 32-bit Windows: the stack pointer at the call is this many bytes past
    // a 16-byte boundary (hosts that keep only the 4-byte alignment the
    // Windows convention guarantees); 0 calls directly.
    std::int32_t stackOffset = 0;
};

// 0x027F: 53-bit precision, round to nearest, all exceptions masked.
// 0x027B: as 0x027F with division by zero unmasked (MXCSR 0x1D80 likewise).
// 0x1372: 64-bit precision with invalid operation, division by zero and
//         overflow unmasked (MXCSR 0x1900 likewise).
constexpr FpMode kModes[] = {
    {"host", false, 0, 0},
    {"cw027F", true, 0x027F, 0x1F80},
    {"trapZ", true, 0x027B, 0x1D80},
    {"trapZIO", true, 0x1372, 0x1900},
    {"stack4", true, 0x027F, 0x1F80, 4},
};

#if defined(DIGEST_X86)
void LoadFp(std::uint16_t control, std::uint32_t mxcsr) {
    __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(control) : "memory");
    __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr) : "memory");
}

FpState ReadFp() {
    struct {
        std::uint32_t control, status, tags, rest[4];
    } env{};
    static_assert(sizeof env == 28, "32-bit protected-mode x87 environment");
    FpState state;
    // fnstenv masks every x87 exception; fldcw puts the control word back
    // after the flags are cleared, so that nothing left behind can trap here.
    __asm__ __volatile__("fnstenv %0" : "=m"(env) : : "memory");
    __asm__ __volatile__("stmxcsr %0" : "=m"(state.mxcsr) : : "memory");
    state.control = static_cast<std::uint16_t>(env.control);
    state.status = static_cast<std::uint16_t>(env.status);
    state.tags = static_cast<std::uint16_t>(env.tags);
    __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(state.control) : "memory");
    return state;
}
#else
void LoadFp(std::uint16_t, std::uint32_t) {}
FpState ReadFp() { return FpState{}; }
#endif

FpState g_hostState;

// ---------------------------------------------------------------------------
// Calls with a misaligned stack (32-bit Windows)
// ---------------------------------------------------------------------------

#if defined(ZENTRIK_DIGEST_LOADS_DLL) && defined(__i386__)
#define DIGEST_SHIFTED_CALLS 1
// DigestCallShifted(function, arguments, bytes, offset) copies `bytes` of
// stdcall arguments to a stack whose pointer is `offset` bytes past a
// 16-byte boundary at the call, calls `function` (which removes them) and
// returns what it returned: eax, or st(0) through the second name.
extern "C" std::int32_t DigestCallShifted(const void* function, const void* arguments, std::int32_t bytes,
                                          std::int32_t offset);
extern "C" double DigestCallShiftedDouble(const void* function, const void* arguments, std::int32_t bytes,
                                          std::int32_t offset);
__asm__(
    ".text\n"
    ".globl _DigestCallShifted\n"
    ".globl _DigestCallShiftedDouble\n"
    "_DigestCallShifted:\n"
    "_DigestCallShiftedDouble:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    movl 16(%ebp), %ecx\n"      // bytes
    "    movl %esp, %eax\n"
    "    subl %ecx, %eax\n"
    "    subl $32, %eax\n"
    "    andl $-16, %eax\n"
    "    addl 20(%ebp), %eax\n"      // + offset
    "    movl %eax, %esp\n"
    "    movl 12(%ebp), %esi\n"      // arguments
    "    movl %esp, %edi\n"
    "    cld\n"
    "    rep movsb\n"
    "    call *8(%ebp)\n"            // stdcall: the callee pops the arguments
    "    leal -8(%ebp), %esp\n"
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebp\n"
    "    ret\n");

// The arguments of a stdcall call as they lie on the stack.
class ArgumentBlock {
public:
    template <class T>
    void Add(const T& value) {
        static_assert(std::is_trivially_copyable_v<T> && sizeof(T) % 4 == 0, "stack slots of 4 bytes");
        std::memcpy(bytes_ + size_, &value, sizeof value);
        size_ += static_cast<std::int32_t>(sizeof value);
    }
    const void* data() const { return bytes_; }
    std::int32_t size() const { return size_; }

private:
    alignas(4) unsigned char bytes_[64] = {};
    std::int32_t size_ = 0;
};
#endif

// Calls an entry as the current run's caller would: directly, or with the
// stack misaligned by the run's offset.
template <class Result, class... Parameters, class... Arguments>
Result CallEntry(std::int32_t stackOffset, Result(ZENTRIK_CALL* entry)(Parameters...), Arguments... arguments) {
#if defined(DIGEST_SHIFTED_CALLS)
    if (stackOffset != 0) {
        ArgumentBlock block;
        (block.Add(static_cast<Parameters>(arguments)), ...);
        const void* function = nullptr;
        static_assert(sizeof function == sizeof entry, "function pointers have one size");
        std::memcpy(&function, &entry, sizeof function);
        if constexpr (std::is_same_v<Result, double>) {
            return DigestCallShiftedDouble(function, block.data(), block.size(), stackOffset);
        } else if constexpr (std::is_void_v<Result>) {
            DigestCallShifted(function, block.data(), block.size(), stackOffset);
            return;
        } else {
            return static_cast<Result>(DigestCallShifted(function, block.data(), block.size(), stackOffset));
        }
    }
#else
    (void)stackOffset;
#endif
    return entry(static_cast<Parameters>(arguments)...);
}

// ---------------------------------------------------------------------------
// Deterministic inputs, made with integer arithmetic only, so that both
// builds start from bit-identical bars.
// ---------------------------------------------------------------------------

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    std::int32_t Below(std::int32_t bound) { return static_cast<std::int32_t>(Next() % static_cast<std::uint32_t>(bound)); }

private:
    std::uint64_t state_;
};

constexpr std::int32_t kFirstHour = 39815 * 24;  // 2009-01-02 00:00

double HourTime(std::int32_t hour) { return static_cast<double>(hour) / 24.0; }

// Hourly bars in ticks of 1 / scale, with volatility regimes.
std::vector<Bar> MakeHistory(std::int32_t count, std::int32_t startTicks, std::int32_t scale,
                             std::int32_t volatility, std::uint64_t seed) {
    Random random(seed);
    std::vector<Bar> bars(static_cast<std::size_t>(count));
    std::int32_t close = startTicks;
    std::int32_t regime = volatility;
    for (std::int32_t i = 0; i < count; ++i) {
        if (i % 50 == 0) regime = volatility / 2 + random.Below(volatility * 2);
        const std::int32_t open = close;
        close = open + random.Below(2 * regime + 1) - regime;
        if (close < scale / 10) close = scale / 10;
        const std::int32_t high = (open > close ? open : close) + random.Below(regime / 2 + 2);
        std::int32_t low = (open < close ? open : close) - random.Below(regime / 2 + 2);
        if (low < 1) low = 1;
        const double s = static_cast<double>(scale);
        Bar& bar = bars[static_cast<std::size_t>(i)];
        bar.time = HourTime(kFirstHour + i);
        bar.open = static_cast<double>(open) / s;
        bar.low = static_cast<double>(low) / s;
        bar.high = static_cast<double>(high) / s;
        bar.close = static_cast<double>(close) / s;
        bar.volume = 50 + random.Below(400);
        bar.reserved = 0;
    }
    return bars;
}

// Bars with one price: every range is zero, so many indicators divide by
// zero and report it through their status.
std::vector<Bar> FlatHistory(std::int32_t count) {
    std::vector<Bar> bars(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        bars[static_cast<std::size_t>(i)] = Bar{HourTime(kFirstHour + i), 1.25, 1.25, 1.25, 1.25, 100, 0};
    }
    return bars;
}

struct History {
    const char* name;
    std::vector<Bar> bars;
};

std::vector<History> MakeHistories() {
    std::vector<History> histories;
    histories.push_back({"yen1001", MakeHistory(1001, 11000, 100, 9, 0x9E3779B97F4A7C15ull)});
    histories.push_back({"euro1001", MakeHistory(1001, 11000, 10000, 9, 0xD1B54A32D192ED03ull)});
    histories.push_back({"yen40", MakeHistory(40, 11250, 100, 12, 0x2545F4914F6CDD1Dull)});
    histories.push_back({"euro40", MakeHistory(40, 10850, 10000, 12, 0x5851F42D4C957F2Dull)});
    histories.push_back({"flat60", FlatHistory(60)});
    // Tiny histories, and one just past the 51-bar lead-in of the
    // exponential averages: kernels must stay inside the arrays.
    histories.push_back({"yen1", MakeHistory(1, 11000, 100, 9, 0x94D049BB133111EBull)});
    histories.push_back({"euro2", MakeHistory(2, 11000, 10000, 9, 0xBF58476D1CE4E5B9ull)});
    histories.push_back({"yen51", MakeHistory(51, 11000, 100, 9, 0x27BB2EE687B0B0FDull)});
    return histories;
}

double FromBits(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint64_t Bits(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// ---------------------------------------------------------------------------
// The digest run
// ---------------------------------------------------------------------------

constexpr std::int32_t kGuard = 8;            // elements after a result array
constexpr unsigned char kFill = 0xA5;         // what the caller leaves in its arrays
constexpr std::int32_t kMin = INT32_MIN;
constexpr std::int32_t kMax = INT32_MAX;

constexpr std::int32_t kPeriods[] = {1, 2, 3, 5, 14, 55, 0, -1, 1500, kMax, kMin};
constexpr std::array<std::int32_t, 2> kPeriodPairs[] = {{5, 14}, {12, 26}, {3, 3},   {26, 12}, {1, 1},     {0, 5},
                                                       {5, 0},  {-1, 9},  {9, -1}, {1500, 3}, {kMax, kMax}, {kMin, 3}};

class Digest {
public:
    Digest(const Api& api, std::vector<History> histories) : api_(api), histories_(std::move(histories)) {}

    void Run() {
        PrepareFiles();
        for (const FpMode& mode : kModes) {
            mode_ = &mode;
            runLines_.clear();
            RunAll();
            if (&mode == &kModes[0]) {
                firstRun_ = runLines_;
            } else if (runLines_ != firstRun_) {
                ++runMismatches_;
                Print(std::string("RUN-MISMATCH ") + mode.name + " differs from " + kModes[0].name);
            }
        }
        Print("digest complete: calls=" + Int(calls_) + " fp-state-changes=" + Int(fpChanges_) +
              " guard-violations=" + Int(guardViolations_) + " run-mismatches=" + Int(runMismatches_));
    }

    bool Clean() const { return fpChanges_ == 0 && guardViolations_ == 0 && runMismatches_ == 0; }

private:
    template <class Entry, class... Arguments>
    auto Call(Entry entry, Arguments... arguments) {
        return CallEntry(mode_->stackOffset, entry, arguments...);
    }

    // Calls `call` with the caller's floating-point state of the current run
    // and checks that the entry hands that state back.
    template <class Body>
    auto Guarded(const std::string& what, Body&& call) {
        current_ = what;
        if (mode_->set) {
            LoadFp(mode_->control, mode_->mxcsr);
        } else {
            LoadFp(g_hostState.control, g_hostState.mxcsr);
        }
        const FpState before = ReadFp();
        auto result = call();
        FpState after = ReadFp();
        ++calls_;
        if (doubleResult_) {
            constexpr std::uint16_t kDenormalFlag = 0x0002;
            if ((before.status & kDenormalFlag) == 0) after.status &= static_cast<std::uint16_t>(~kDenormalFlag);
            doubleResult_ = false;
        }
        if (!(after == before)) {
            ++fpChanges_;
            Print("FP-STATE " + std::string(mode_->name) + " " + what + ": control " + Hex(before.control, 4) +
                  "->" + Hex(after.control, 4) + " status " + Hex(before.status, 4) + "->" + Hex(after.status, 4) +
                  " tags " + Hex(before.tags, 4) + "->" + Hex(after.tags, 4) + " mxcsr " + Hex(before.mxcsr, 8) +
                  "->" + Hex(after.mxcsr, 8));
        }
        return result;
    }

    void Line(const std::string& text) {
        runLines_.push_back(text);
        Print(std::string(mode_->name) + " " + text);
    }

    static void Print(const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }

    void GuardViolation(const std::string& what) {
        ++guardViolations_;
        Print("GUARD " + std::string(mode_->name) + " " + what);
    }

    // A result array as a caller leaves it: count doubles of junk and a
    // guard behind them.
    static std::vector<double> CallerArray(std::size_t count) {
        std::vector<double> values(count + kGuard);
        std::memset(values.data(), kFill, values.size() * sizeof(double));
        return values;
    }

    bool GuardIntact(const std::vector<double>& values, std::size_t from) const {
        const auto* bytes = reinterpret_cast<const unsigned char*>(values.data());
        for (std::size_t i = from * sizeof(double); i < values.size() * sizeof(double); ++i) {
            if (bytes[i] != kFill) return false;
        }
        return true;
    }

    // One indicator call on one history; `invoke` receives result, count
    // and bars.
    template <class Invoke>
    void Indicator(const std::string& what, const History& history, Invoke&& invoke) {
        const auto count = static_cast<std::int32_t>(history.bars.size());
        std::vector<double> result = CallerArray(history.bars.size());
        const std::vector<Bar> before = history.bars;
        const std::string label = what + " " + history.name;
        const std::int32_t status = Guarded(label, [&] { return invoke(result.data(), count, history.bars.data()); });
        if (!GuardIntact(result, history.bars.size())) GuardViolation(label + ": wrote past the result array");
        if (std::memcmp(before.data(), history.bars.data(), before.size() * sizeof(Bar)) != 0) {
            GuardViolation(label + ": changed the bars");
        }
        Fnv fnv;
        fnv.Add(result.data(), history.bars.size() * sizeof(double));
        Line(label + " -> " + Int(status) + " " + Hex(fnv.value(), 16));
    }

    // The calls that every indicator entry refuses before touching memory.
    template <class Invoke>
    void RefusedCalls(const std::string& what, Invoke&& invoke) {
        const History& history = histories_[0];
        struct Case {
            const char* name;
            bool nullResult, nullBars;
            std::int32_t count;
        };
        constexpr Case kCases[] = {
            {"null-result", true, false, 10}, {"null-bars", false, true, 10}, {"count=0", false, false, 0},
            {"count=-1", false, false, -1},   {"count=min", false, false, kMin}};
        for (const Case& c : kCases) {
            std::vector<double> result = CallerArray(16);
            const std::string label = what + " " + c.name;
            const std::int32_t status = Guarded(label, [&] {
                return invoke(c.nullResult ? nullptr : result.data(), c.count, c.nullBars ? nullptr : history.bars.data());
            });
            if (!GuardIntact(result, 0)) GuardViolation(label + ": wrote to the result array");
            Line(label + " -> " + Int(status));
        }
    }

    void RunAll() {
        RunCatalogue();
        RunNamedIndicators();
        RunRounding();
        RunQuoteFiles();
        RunPairNames();
        RunEvaluation();
        RunExport();
        RunJournal();
    }

    void RunCatalogue() {
        for (const History& history : histories_) {
            for (std::int32_t number = -1; number <= ZENTRIK_CATALOGUE_SIZE; ++number) {
                Indicator("Indikator n=" + Int(number), history, [&](double* r, std::int32_t n, const Bar* b) {
                    return Call(api_.Indikator, number, r, n, b);
                });
            }
            Indicator("Indikator n=min", history,
                      [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.Indikator, kMin, r, n, b); });
        }
        RefusedCalls("Indikator n=0", [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.Indikator, 0, r, n, b); });
    }

    void RunNamedIndicators() {
#define DIGEST_RUN_0(name, type)                                                                     \
    for (const History& history : histories_) {                                                     \
        Indicator(#name, history, [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.name, r, n, b); }); \
    }                                                                                                \
    RefusedCalls(#name, [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.name, r, n, b); });
        DIGEST_INDICATORS_0(DIGEST_RUN_0)
#undef DIGEST_RUN_0

#define DIGEST_RUN_1(name, type)                                                                          \
    for (const History& history : histories_) {                                                          \
        for (const std::int32_t p : kPeriods) {                                                           \
            Indicator(#name " p=" + Int(p), history,                                                      \
                      [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.name, r, n, b, p); });    \
        }                                                                                                 \
    }                                                                                                     \
    RefusedCalls(#name " p=5", [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.name, r, n, b, 5); });
        DIGEST_INDICATORS_1(DIGEST_RUN_1)
#undef DIGEST_RUN_1

#define DIGEST_RUN_2(name, type)                                                                            \
    for (const History& history : histories_) {                                                            \
        for (const auto& pq : kPeriodPairs) {                                                               \
            Indicator(#name " p=" + Int(pq[0]) + "," + Int(pq[1]), history,                                 \
                      [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.name, r, n, b, pq[0], pq[1]); }); \
        }                                                                                                   \
    }                                                                                                       \
    RefusedCalls(#name " p=5,14",                                                                           \
                 [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.name, r, n, b, 5, 14); });
        DIGEST_INDICATORS_2(DIGEST_RUN_2)
#undef DIGEST_RUN_2

        // Every candle pattern, and choices outside the list.
        for (const History& history : histories_) {
            for (std::int32_t pattern = -1; pattern <= 25; ++pattern) {
                Indicator("Svecha pattern=" + Int(pattern), history,
                          [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.Svecha, r, n, b, pattern); });
            }
            Indicator("Svecha pattern=max", history,
                      [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.Svecha, r, n, b, kMax); });
        }
        RefusedCalls("Svecha pattern=1", [&](double* r, std::int32_t n, const Bar* b) { return Call(api_.Svecha, r, n, b, 1); });
    }

    double Round(const std::string& what, double value, std::int32_t digits) {
        // On 32-bit x86 a double comes back on the x87 stack, loaded there
        // after the entry has restored the caller's state: a denormal result
        // then sets the denormal-operand flag in the caller, by the calling
        // convention and not by the library.
        doubleResult_ = true;
        return Guarded(what, [&] {
            volatile double rounded = Call(api_.Okrug, value, digits);
            return static_cast<double>(rounded);
        });
    }

    void RunRounding() {
        // A grid of thousandths and of half-thousandths, for every number of
        // decimals and two outside the range.
        for (std::int32_t digits = -1; digits <= 6; ++digits) {
            Fnv thousandths;
            Fnv halves;
            const std::string label = "Okrug grid digits=" + Int(digits);
            for (std::int32_t k = -3000; k <= 3000; ++k) {
                thousandths.AddValue(Bits(Round(label, static_cast<double>(k) / 1000.0, digits)));
                halves.AddValue(Bits(Round(label, static_cast<double>(2 * k + 1) / 2000.0, digits)));
            }
            for (std::int32_t k = 0; k <= 2000; ++k) {  // prices of both kinds of pair
                thousandths.AddValue(Bits(Round(label, static_cast<double>(10000 + 7 * k) / 100.0, digits)));
                halves.AddValue(Bits(Round(label, static_cast<double>(100000 + 13 * k) / 100000.0, digits)));
            }
            Line("Okrug k/1000,k=-3000..3000 and (10000+7k)/100 digits=" + Int(digits) + " -> " + Hex(thousandths.value(), 16));
            Line("Okrug (2k+1)/2000 and (100000+13k)/100000 digits=" + Int(digits) + " -> " + Hex(halves.value(), 16));
        }
        // Values on the edges of the rule, as bit patterns.
        constexpr std::uint64_t kValues[] = {
            0x3FC0000000000000ull,  // 0.125
            0xBFC0000000000000ull,  // -0.125
            0x4004000000000000ull,  // 2.5
            0xC004000000000000ull,  // -2.5
            0xBFFB333333333333ull,  // -1.7
            0x3FF0147AE147AE14ull,  // 1.005
            0x3EE4F8B588E368F1ull,  // 0.00001
            0x41A1E1A300000000ull,  // 150000000
            0x4197D78400000000ull,  // 100000000
            0xC197D78400000000ull,  // -100000000
            0x3FF3C0C1FC8F3238ull,  // 1.23456
            0x405C080000000000ull,  // 112.125
            0x0000000000000001ull,  // smallest denormal
            0x8000000000000000ull,  // -0
            0x7FF0000000000000ull,  // +inf
            0xFFF0000000000000ull,  // -inf
            0x7FF8000000000000ull,  // quiet NaN
            0x7FEFFFFFFFFFFFFFull,  // largest double
            0x3FF199999999999Aull,  // 1.1
        };
        for (const std::uint64_t bits : kValues) {
            for (std::int32_t digits : {-1, 0, 1, 2, 4, 5, 6, 7, kMax}) {
                const std::string label = "Okrug value=" + Hex(bits, 16) + " digits=" + Int(digits);
                Line(label + " -> " + Hex(Bits(Round(label, FromBits(bits), digits)), 16));
            }
        }
    }

    // Quote files written here in binary, so that both builds read the same
    // bytes; one file has CR LF line ends, one an 8-bit name.
    static std::string QuoteRecords(bool prn, const char* lineEnd) {
        std::string text;
        auto record = [&](const std::string& line) { text += line + lineEnd; };
        if (prn) record("<DATE>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>");
        Random random(prn ? 77 : 78);
        std::int32_t price = 110125;  // thousandths
        for (std::int32_t i = 0; i < 30; ++i) {
            const std::int32_t hour = i % 24;
            const std::int32_t day = 2 + i / 24;
            const std::int32_t open = price;
            price += random.Below(301) - 150;
            const std::int32_t high = (open > price ? open : price) + random.Below(60);
            const std::int32_t low = (open < price ? open : price) - random.Below(60);
            auto decimal = [](std::int32_t thousandths) {
                char buffer[32];
                std::snprintf(buffer, sizeof buffer, "%d.%03d", thousandths / 1000, thousandths % 1000);
                return std::string(buffer);
            };
            char date[32];
            if (prn) {
                std::snprintf(date, sizeof date, "2009%02d%02d,%02d%02d", 1, day, hour, 0);
            } else {
                std::snprintf(date, sizeof date, "2009.%02d.%02d,%02d:%02d", 1, day, hour, 0);
            }
            std::string line = std::string(date) + "," + decimal(open) + "," + decimal(high) + "," + decimal(low) + "," +
                               decimal(price) + "," + Int(100 + random.Below(900)) + (i % 7 == 3 ? ".75" : "");
            record(line);
            if (i == 4) record(line);                       // a twin directly after: dropped
            if (i == 9) record(prn ? "20091301,0000,1,1,1,1,1" : "2009.13.01,00:00,1,1,1,1,1");  // month 13
            if (i == 12) record(prn ? "20090230,0100,1,1,1,1,1" : "2009.02.30,01:00,1,1,1,1,1");  // 30 February
            if (i == 15) record(prn ? "20090105,2500,1,1,1,1,1" : "2009.01.05,25:00,1,1,1,1,1");  // hour 25
            if (i == 18) record(prn ? "20090105,0300,x,1.5,,2,y" : "2009.01.05,03:00,x,1.5,,2,y");  // no numbers
        }
        record("end-of-quotes");
        record(prn ? "20090301,0000,1,1,1,1,1" : "2009.03.01,00:00,1,1,1,1,1");  // after the end
        return text;
    }

    static bool WriteFile(const char* name, const std::string& text) {
        std::FILE* file = std::fopen(name, "wb");
        if (file == nullptr) return false;
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        return std::fclose(file) == 0 && written;
    }

    static constexpr const char* kCsvLf = "digest-lf.csv";
    static constexpr const char* kCsvCrLf = "digest-crlf.csv";
    static constexpr const char* kPrn8Bit = "digest-\xE9t\xE9.prn";  // "été" in an 8-bit code page
    static constexpr const char* kMissing = "digest-missing.csv";
    static constexpr const char* kJournalDir = "digest-journal";

    void PrepareFiles() {
        bool ok = WriteFile(kCsvLf, QuoteRecords(false, "\n")) && WriteFile(kCsvCrLf, QuoteRecords(false, "\r\n")) &&
                  WriteFile(kPrn8Bit, QuoteRecords(true, "\r\n"));
        std::remove(kMissing);
        std::remove("protokol.dat");
#if defined(_WIN32)
        _mkdir(kJournalDir);
#else
        mkdir(kJournalDir, 0777);
#endif
        std::remove((std::string(kJournalDir) + "/protokol.dat").c_str());
        Print(std::string("quote files ") + (ok ? "written" : "NOT WRITTEN"));
        if (!ok) ++guardViolations_;
    }

    void LoadLine(const std::string& label, std::int32_t returned, const std::vector<Bar>& bars, std::size_t capacity) {
        Fnv fnv;
        fnv.Add(bars.data(), bars.size() * sizeof(Bar));
        const auto* bytes = reinterpret_cast<const unsigned char*>(bars.data());
        std::size_t stored = 0;  // bars touched, counted from the front
        for (std::size_t i = 0; i < bars.size(); ++i) {
            for (std::size_t k = 0; k < 40; ++k) {  // the reserved field is not looked at
                if (bytes[i * sizeof(Bar) + k] != kFill) {
                    stored = i + 1;
                    break;
                }
            }
        }
        if (stored > capacity) GuardViolation(label + ": wrote past the capacity");
        Line(label + " -> " + Int(returned) + " bars=" + Int(static_cast<long long>(stored)) + " " + Hex(fnv.value(), 16));
    }

    static std::vector<Bar> CallerBars(std::size_t count) {
        std::vector<Bar> bars(count);
        std::memset(bars.data(), kFill, count * sizeof(Bar));
        return bars;
    }

    void RunQuoteFiles() {
        const char* const kFiles[] = {kCsvLf, kCsvCrLf, kPrn8Bit, kMissing, nullptr};
        for (const char* file : kFiles) {
            for (std::int32_t digits : {2, 3, 4, -1}) {
                const std::string args = " file=" + Escaped(file) + " digits=" + Int(digits);
                {
                    std::vector<Bar> bars = CallerBars(ZENTRIK_HISTORY_CAPACITY + 4);
                    const std::string label = "HistoryKotCSV" + args;
                    const std::int32_t r = Guarded(label, [&] { return Call(api_.HistoryKotCSV, file, digits, bars.data()); });
                    LoadLine(label, r, bars, ZENTRIK_HISTORY_CAPACITY);
                }
                {
                    std::vector<Bar> bars = CallerBars(ZENTRIK_HISTORY_CAPACITY + 4);
                    const std::string label = "HistoryKotPRN" + args;
                    const std::int32_t r = Guarded(label, [&] { return Call(api_.HistoryKotPRN, file, digits, bars.data()); });
                    LoadLine(label, r, bars, ZENTRIK_HISTORY_CAPACITY);
                }
            }
            for (std::int32_t capacity : {1101, 30, 5, 1, 0, -1}) {
                const std::string args = " file=" + Escaped(file) + " digits=2 capacity=" + Int(capacity);
                const std::size_t size = capacity > 0 ? static_cast<std::size_t>(capacity) : 0;
                {
                    std::vector<Bar> bars = CallerBars(size + 4);
                    const std::string label = "HistoryKotCSVEx" + args;
                    const std::int32_t r =
                        Guarded(label, [&] { return Call(api_.HistoryKotCSVEx, file, 2, bars.data(), capacity); });
                    LoadLine(label, r, bars, size);
                }
                {
                    std::vector<Bar> bars = CallerBars(size + 4);
                    const std::string label = "HistoryKotPRNEx" + args;
                    const std::int32_t r =
                        Guarded(label, [&] { return Call(api_.HistoryKotPRNEx, file, 2, bars.data(), capacity); });
                    LoadLine(label, r, bars, size);
                }
            }
            const std::string label = " file=" + Escaped(file) + " bars=null capacity=0";
            Line("HistoryKotCSVEx" + label + " -> " +
                 Int(Guarded("HistoryKotCSVEx" + label, [&] { return Call(api_.HistoryKotCSVEx, file, 2, nullptr, 0); })));
            Line("HistoryKotPRNEx" + label + " -> " +
                 Int(Guarded("HistoryKotPRNEx" + label, [&] { return Call(api_.HistoryKotPRNEx, file, 2, nullptr, 0); })));
        }
    }

    void RunPairNames() {
        const std::string longName(300, 'Q');
        const char* const kNames[] = {"USDJPY", "USD/JPY", "EURUSDm", "USD",      "",
                                      "A/B",    "/",       "EUR/USD/X", "GBPJPY60", "\xC4\xD6\xDC/XYZ",
                                      longName.c_str(), nullptr};
        constexpr std::int32_t kSizes[] = {400, 8, 7, 4, 1, 0, -1};
        for (const char* name : kNames) {
            for (std::int32_t size : kSizes) {
                for (int which = 0; which < 2; ++which) {
                    std::vector<char> out(416, static_cast<char>(kFill));
                    const std::string label = std::string(which == 0 ? "KotSlesh" : "KotNoSlesh") + " name=" +
                                              Escaped(name) + " outSize=" + Int(size);
                    const PairNameFn entry = which == 0 ? api_.KotSlesh : api_.KotNoSlesh;
                    const std::int32_t length = Guarded(label, [&] { return Call(entry, name, out.data(), size); });
                    const std::size_t allowed = size > 0 ? static_cast<std::size_t>(size) : 0;
                    for (std::size_t i = allowed; i < out.size(); ++i) {
                        if (out[i] != static_cast<char>(kFill)) {
                            GuardViolation(label + ": wrote past outSize");
                            break;
                        }
                    }
                    std::string text = "(untouched)";
                    if (allowed > 0 && std::memchr(out.data(), '\0', allowed) != nullptr) text = Escaped(out.data());
                    Line(label + " -> " + Int(length) + " " + text);
                }
            }
            const std::string label = "KotSlesh name=" + Escaped(name) + " out=null outSize=0";
            Line(label + " -> " + Int(Guarded(label, [&] { return Call(api_.KotSlesh, name, nullptr, 0); })));
        }
    }

    static Trade MakeTrade(Random& random, std::int32_t index, std::int32_t scale, std::int32_t basePrice) {
        Trade trade;
        std::memset(&trade, 0, sizeof trade);
        const std::int32_t openHour = kFirstHour + index * 7;
        trade.openTime = HourTime(openHour);
        trade.closeTime = HourTime(openHour + 1 + random.Below(30));
        trade.closed = random.Below(10) == 0 ? 0 : 1;
        const std::int32_t open = basePrice + random.Below(400) - 200;
        const std::int32_t close = open + random.Below(121) - 55;
        trade.openPrice = static_cast<double>(open) / static_cast<double>(scale);
        trade.closePrice = static_cast<double>(close) / static_cast<double>(scale);
        trade.direction = random.Below(2) == 0 ? 1 : 2;
        trade.spread = 2 + random.Below(3);
        trade.point = scale == 100 ? 0.01 : 0.0001;
        return trade;
    }

    void Evaluate(const std::string& label, const Trade* trades, std::int32_t count) {
        TradeStats stats;
        std::memset(&stats, kFill, sizeof stats);
        Guarded(label, [&] {
            Call(api_.KachestvoMTS, trades, count, &stats);
            return 0;
        });
        Fnv fnv;
        fnv.AddValue(stats);
        Line(label + " -> trades=" + Int(stats.tradeCount) + " " + Hex(fnv.value(), 16));
    }

    void RunEvaluation() {
        Random random(4242);
        std::vector<Trade> yen, euro, winners, one;
        for (std::int32_t i = 0; i < 60; ++i) yen.push_back(MakeTrade(random, i, 100, 11000));
        for (std::int32_t i = 0; i < 45; ++i) euro.push_back(MakeTrade(random, i, 10000, 11000));
        for (std::int32_t i = 0; i < 12; ++i) {  // only profits: no loss to divide by
            Trade trade = MakeTrade(random, i, 10000, 11000);
            trade.closed = 1;
            trade.direction = 1;
            trade.spread = 0;
            trade.closePrice = trade.openPrice + 0.0050;
            winners.push_back(trade);
        }
        one.push_back(MakeTrade(random, 0, 100, 11000));
        one[0].closed = 1;
        std::vector<Trade> same = winners;  // identical results: no deviation
        for (Trade& trade : same) trade = winners[0];
        Evaluate("KachestvoMTS list=yen60", yen.data(), 60);
        Evaluate("KachestvoMTS list=euro45", euro.data(), 45);
        Evaluate("KachestvoMTS list=winners12", winners.data(), 12);
        Evaluate("KachestvoMTS list=same12", same.data(), 12);
        Evaluate("KachestvoMTS list=one", one.data(), 1);
        Evaluate("KachestvoMTS list=yen60 count=0", yen.data(), 0);
        Evaluate("KachestvoMTS list=yen60 count=-1", yen.data(), -1);
        Evaluate("KachestvoMTS list=null count=5", nullptr, 5);
        // Many small lists: the statistics pass through square roots,
        // arctangents, sines and cosines of varied arguments.
        for (std::int32_t seed = 1; seed <= 60; ++seed) {
            Random listRandom(0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(seed) + 0x632BE59BD9B4E019ull);
            for (int warm = 0; warm < 4; ++warm) listRandom.Next();
            std::vector<Trade> list;
            const std::int32_t size = 6 + seed % 31;  // five or fewer counted trades leave the statistics alone
            for (std::int32_t i = 0; i < size; ++i) {
                list.push_back(MakeTrade(listRandom, i, seed % 2 == 0 ? 100 : 10000, 11000));
            }
            Evaluate("KachestvoMTS list=random" + Int(seed) + "x" + Int(size), list.data(), size);
        }
    }

    void RunExport() {
        // ToExcelFile into a file of the scratch directory: the status only
        // (a workbook carries its creation time).
        const double row0[] = {90.125, 0.1, 0.00001};
        const double row1[] = {0.000001, 0.0, -2.5};
        const double* const table[] = {row0, row1};
        // A build without a workbook writer (the Windows DLL) refuses every
        // table with ZENTRIK_EClassNotFound and creates nothing; a build with
        // one writes a zip file, or fails with ZENTRIK_EFCreateError where
        // the directory does not exist. The status itself goes to stderr, the
        // digest line only says whether it is one of these outcomes.
        for (const char* path : {"digest-export.xlsx", "digest-no-such-dir/x.xlsx"}) {
            const bool creatable = std::strchr(path, '/') == nullptr;
            const std::string label = std::string("ToExcelFile rows=2 columns=3 path=") + Escaped(path);
            std::remove(path);
            const std::int32_t status = Guarded(label, [&] { return Call(api_.ToExcelFile, table, 2, 3, path); });
            const std::string start = FileStart(path, 2);
            const bool expected = (status == ZENTRIK_EClassNotFound && start.empty()) ||
                                  (creatable && status == ZENTRIK_OK && start == "PK") ||
                                  (!creatable && status == ZENTRIK_EFCreateError && start.empty());
            std::fprintf(stderr, "%s %s -> %d\n", mode_->name, label.c_str(), static_cast<int>(status));
            Line(label + " -> " + (expected ? "written, or no writer in this build" : "UNEXPECTED " + Int(status)));
            if (!expected) ++guardViolations_;
        }
        const std::string label = "ToExcelFile rows=2 columns=3 path=null";
        Line(label + " -> " + Int(Guarded(label, [&] { return Call(api_.ToExcelFile, table, 2, 3, nullptr); })));
        const std::string negative = "ToExcelFile rows=-1 columns=3";
        Line(negative + " -> " + Int(Guarded(negative, [&] { return Call(api_.ToExcelFile, table, -1, 3, "digest-negative.xlsx"); })));
        const std::string nullTable = "ToExcelFile table=null rows=2 columns=3";
        Line(nullTable + " -> " + Int(Guarded(nullTable, [&] { return Call(api_.ToExcelFile, nullptr, 2, 3, "digest-null.xlsx"); })));
        // ToExcel hands the table to the spreadsheet application. It is called
        // only where none is registered (it then must do nothing harmful):
        // on a desktop with one it would open a window.
        if (!SpreadsheetApplicationRegistered()) {
            const std::string call = "ToExcel rows=2 columns=3";
            Guarded(call, [&] {
                Call(api_.ToExcel, table, 2, 3);
                return 0;
            });
            RemoveExportedWorkbooks();
            Line(call + " -> returned");
            Line("ToExcel leaves the thread's COM initialisation as it was -> " +
                 std::string(ComInitialisationKept(table) ? "yes" : "NO"));
        } else {
            Line("ToExcel rows=2 columns=3 -> not called (a spreadsheet application is registered)");
        }
    }

    // ToExcel on a thread without COM and on one in a multithreaded
    // apartment: afterwards the first is still without COM (a new
    // initialisation succeeds with S_OK) and the second still in its
    // apartment with the count it had (S_FALSE).
    // Both builds make the same calls.
    bool ComInitialisationKept(const double* const* table) {
        auto call = [&] {
            Guarded("ToExcel rows=2 columns=3", [&] {
                Call(api_.ToExcel, table, 2, 3);
                return 0;
            });
            RemoveExportedWorkbooks();
        };
#if defined(_WIN32)
        call();
        const HRESULT fresh = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(fresh)) CoUninitialize();
        const HRESULT multi = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (FAILED(multi)) return false;
        call();
        const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(again)) CoUninitialize();
        CoUninitialize();
        return fresh == S_OK && again == S_FALSE;
#else
        call();
        call();
        return true;
#endif
    }

    // Where ToExcel writes a workbook file instead (zentrik-*.xlsx in the
    // directory recorded last, here the current one), it is removed again.
    static void RemoveExportedWorkbooks() {
#if !defined(_WIN32)
        std::vector<std::string> names;
        if (DIR* directory = opendir(".")) {
            while (const dirent* entry = readdir(directory)) {
                const std::string name = entry->d_name;
                if (name.rfind("zentrik-", 0) == 0 && name.size() > 5 && name.compare(name.size() - 5, 5, ".xlsx") == 0) {
                    names.push_back(name);
                }
            }
            closedir(directory);
        }
        for (const std::string& name : names) std::remove(name.c_str());
#endif
    }

    // The first bytes of a file, empty when it cannot be read.
    static std::string FileStart(const char* path, std::size_t size) {
        std::string start;
        if (std::FILE* file = std::fopen(path, "rb")) {
            for (int c = std::fgetc(file); c != EOF && start.size() < size; c = std::fgetc(file)) {
                start += static_cast<char>(c);
            }
            std::fclose(file);
        }
        return start;
    }

    static bool SpreadsheetApplicationRegistered() {
#if defined(_WIN32)
        CLSID clsid;
        return SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &clsid));
#else
        return false;
#endif
    }

    // Lines of a journal file, each with its line end.
    static std::vector<std::string> JournalLines(const std::string& path) {
        std::vector<std::string> lines;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) return lines;
        std::string line;
        for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
            line += static_cast<char>(c);
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            }
        }
        if (!line.empty()) lines.push_back(line);
        std::fclose(file);
        return lines;
    }

    // "text DD.MM.YY HH:MM:SS " and the platform's line end.
    static bool JournalLineMatches(const std::string& line, const char* text) {
#if defined(_WIN32)
        const std::string lineEnd = "\r\n";
#else
        const std::string lineEnd = "\n";
#endif
        const std::string expectedText = std::string(text != nullptr ? text : "") + " ";
        constexpr const char* kStamp = "99.99.99 99:99:99";
        const std::size_t stampLength = std::strlen(kStamp);
        if (line.size() != expectedText.size() + stampLength + 1 + lineEnd.size()) return false;
        if (line.compare(0, expectedText.size(), expectedText) != 0) return false;
        for (std::size_t i = 0; i < stampLength; ++i) {
            const char c = line[expectedText.size() + i];
            const bool digit = c >= '0' && c <= '9';
            if (kStamp[i] == '9' ? !digit : c != kStamp[i]) return false;
        }
        return line.compare(expectedText.size() + stampLength, std::string::npos, " " + lineEnd) == 0;
    }

    static int ChangeDirectory(const char* path) {
#if defined(_WIN32)
        return _chdir(path);
#else
        return chdir(path);
#endif
    }

    void Journal(const std::string& label, const std::string& path, const char* text) {
        const std::size_t before = JournalLines(path).size();
        Guarded(label, [&] {
            Call(api_.Protokol, text);
            return 0;
        });
        const std::vector<std::string> lines = JournalLines(path);
        const bool ok = lines.size() == before + 1 && JournalLineMatches(lines.back(), text);
        Line(label + " -> " + (ok ? "one line appended, text, stamp and line end as expected" : "UNEXPECTED JOURNAL"));
        if (!ok) {
            ++guardViolations_;
            if (!lines.empty()) Print("  last line: " + Escaped(lines.back().c_str(), 200));
        }
    }

    void RunJournal() {
        // An indicator call records the current directory; the journal goes
        // there.
        const History& history = histories_[3];
        std::vector<double> result(history.bars.size());
        const std::string longText(1000, 'L');
        Guarded("Srednee (records the directory)", [&] {
            return Call(api_.Srednee, result.data(), static_cast<std::int32_t>(history.bars.size()), history.bars.data(), 3);
        });
        for (const char* text : {"Buy USDJPY", "", "\xCF\xF0\xEE\xE4\xE0\xE6\xE0 EURUSD", longText.c_str(),
                                 static_cast<const char*>(nullptr)}) {
            Journal("Protokol text=" + Escaped(text), "protokol.dat", text);
        }
        // The directory recorded last counts, not the current one.
        if (ChangeDirectory(kJournalDir) == 0) {
            Guarded("Srednee in a subdirectory", [&] {
                return Call(api_.Srednee, result.data(), static_cast<std::int32_t>(history.bars.size()), history.bars.data(), 3);
            });
            const int back = ChangeDirectory("..");
            Journal("Protokol after a call in a subdirectory", std::string(kJournalDir) + "/protokol.dat", "Sell");
            if (back != 0) ++guardViolations_;
            // The next import records the current directory again.
            std::vector<Bar> bars = CallerBars(8);
            Guarded("HistoryKotCSVEx (records the directory)",
                    [&] { return Call(api_.HistoryKotCSVEx, kCsvLf, 2, bars.data(), 8); });
            Journal("Protokol after an import here", "protokol.dat", "Close");
        } else {
            Line("cannot enter " + std::string(kJournalDir));
            ++guardViolations_;
        }
#if defined(_WIN32)
        // A host whose default file mode is binary still gets CR LF.
        int& defaultMode = *__p__fmode();  // the C runtime's _fmode, shared with the DLL
        const int mode = defaultMode;
        defaultMode = _O_BINARY;
        Journal("Protokol with the host's default file mode binary", "protokol.dat", "Binary");
        defaultMode = mode;
#else
        Journal("Protokol with the host's default file mode binary", "protokol.dat", "Binary");
#endif
    }

    const Api& api_;
    std::vector<History> histories_;
    const FpMode* mode_ = &kModes[0];
    bool doubleResult_ = false;
    std::vector<std::string> runLines_, firstRun_;
    long long calls_ = 0, fpChanges_ = 0, guardViolations_ = 0, runMismatches_ = 0;

public:
    std::string current_;
};

Digest* g_digest = nullptr;

// A trap or a crash inside an entry ends the run with the call that caused it.
void ReportFault(const char* kind) {
    const char* what = g_digest != nullptr ? g_digest->current_.c_str() : "?";
    std::fprintf(stdout, "FAULT %s in %s\n", kind, what);
    std::fflush(stdout);
}

#if defined(_WIN32)
LONG WINAPI UnhandledException(EXCEPTION_POINTERS* info) {
    char kind[64];
    std::snprintf(kind, sizeof kind, "exception 0x%08lx",
                  static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
    ReportFault(kind);
    ExitProcess(3);
}
#else
extern "C" void FatalSignal(int signal) {
    ReportFault(signal == SIGFPE ? "SIGFPE" : signal == SIGSEGV ? "SIGSEGV" : "signal");
    std::_Exit(3);
}
#endif

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as the native build
    SetUnhandledExceptionFilter(UnhandledException);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
#else
    // ToExcel opens the workbook it writes on a desktop; not from here.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::signal(SIGFPE, FatalSignal);
    std::signal(SIGSEGV, FatalSignal);
    std::signal(SIGBUS, FatalSignal);
#endif
    g_hostState = ReadFp();
    const char* dllPath = argc > 1 ? argv[1] : "zentrik.dll";
    Api api;
    if (!BindEntries(api, dllPath)) return 2;
    Digest digest(api, MakeHistories());
    g_digest = &digest;
    digest.Run();
    return digest.Clean() ? 0 : 1;
}
