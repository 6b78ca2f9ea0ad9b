#include "Platform.h"

#include <cfenv>
#include <cstring>
#include <ctime>
#include <vector>

#include "zentrik/zentrik.h"

#if defined(_WIN32)
#include <direct.h>
#else
#include <unistd.h>
#endif

#if defined(__i386__) || defined(__x86_64__)
#define ZENTRIK_X86 1
#endif

namespace zentrik::platform {

std::string CurrentDirectory() {
    std::vector<char> buffer(512);
    for (int attempt = 0; attempt < 8; ++attempt) {
#if defined(_WIN32)
        if (_getcwd(buffer.data(), static_cast<int>(buffer.size())) != nullptr) return buffer.data();
#else
        if (getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.data();
#endif
        buffer.resize(buffer.size() * 4);
    }
    return std::string();
}

const char* PathSeparator() {
#if defined(_WIN32)
    return "\\";
#else
    return "/";
#endif
}

const char* LineEnd() {
#if defined(_WIN32)
    return "\r\n";
#else
    return "\n";
#endif
}

LocalTime Now() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
#if defined(_WIN32)
    localtime_s(&parts, &now);
#else
    localtime_r(&now, &parts);
#endif
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

namespace {

constexpr unsigned kInvalidFlag = 0x01;
constexpr unsigned kZeroDivideFlag = 0x04;
constexpr unsigned kOverflowFlag = 0x08;

#if defined(ZENTRIK_X86)
// x87 environment (28 bytes in 32-bit protected mode) plus MXCSR.
struct SavedState {
    unsigned char x87[28];
    std::uint32_t mxcsr;
};
static_assert(sizeof(SavedState) <= 64, "saved floating-point state fits");

// 64-bit precision, round to nearest, all six exceptions masked.
constexpr std::uint16_t kComputeControlWord = 0x037F;
// All exceptions masked, flags clear, round to nearest, no flush to zero.
constexpr std::uint32_t kComputeMxcsr = 0x1F80;
#else
struct SavedState {
    std::fenv_t env;
};
#endif

}  // namespace

// The x87 environment holds the register tags and the stack top: saving and
// restoring it is only sound while no value lives on the register stack, so
// these statements declare every x87 register clobbered and the compiler
// keeps nothing there across them, wherever they are inlined.
#define ZENTRIK_X87_REGISTERS "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)"

FloatingPointScope::FloatingPointScope() {
    auto* state = reinterpret_cast<SavedState*>(saved_);
#if defined(ZENTRIK_X86)
    std::uint16_t controlWord = kComputeControlWord;
    std::uint32_t mxcsr = kComputeMxcsr;
    // fnstenv saves control word, status word (flags, condition codes, stack
    // top) and tags without waiting for a pending exception, then masks all
    // x87 exceptions; fnclex clears the caller's flags before our control
    // word is loaded, so that none of them can trap while we compute.
    __asm__ __volatile__("fnstenv %0" : "=m"(state->x87) : : "memory", ZENTRIK_X87_REGISTERS);
    __asm__ __volatile__("stmxcsr %0" : "=m"(state->mxcsr) : : "memory");
    __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(controlWord) : "memory", ZENTRIK_X87_REGISTERS);
    __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr) : "memory");
#else
    std::feholdexcept(&state->env);
    std::fesetround(FE_TONEAREST);
#endif
}

FloatingPointScope::~FloatingPointScope() {
    auto* state = reinterpret_cast<SavedState*>(saved_);
#if defined(ZENTRIK_X86)
    // The caller's control word and status word come back as they were: the
    // flags raised while computing are gone with ours, and a caller whose
    // traps are unmasked finds no flag that could fault after the return.
    __asm__ __volatile__("fldenv %0" : : "m"(state->x87) : "memory", ZENTRIK_X87_REGISTERS);
    __asm__ __volatile__("ldmxcsr %0" : : "m"(state->mxcsr) : "memory");
#else
    std::fesetenv(&state->env);
#endif
}

std::int32_t FloatingPointScope::RaisedStatus() const {
    unsigned flags = 0;
#if defined(ZENTRIK_X86)
    std::uint16_t statusWord = 0;
    std::uint32_t mxcsr = 0;
    __asm__ __volatile__("fnstsw %0" : "=m"(statusWord) : : "memory");
    __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr) : : "memory");
    flags = (statusWord | mxcsr) & 0x3Fu;
#else
    const int raised = std::fetestexcept(FE_ALL_EXCEPT);
    if (raised & FE_INVALID) flags |= kInvalidFlag;
    if (raised & FE_DIVBYZERO) flags |= kZeroDivideFlag;
    if (raised & FE_OVERFLOW) flags |= kOverflowFlag;
#endif
    if (flags & kZeroDivideFlag) return ZENTRIK_EZeroDivide;
    if (flags & kInvalidFlag) return ZENTRIK_EInvalidOp;
    if (flags & kOverflowFlag) return ZENTRIK_EOverflow;
    return ZENTRIK_OK;
}

}  // namespace zentrik::platform
