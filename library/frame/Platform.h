// The few operating-system and processor services the library needs, kept in
// one place so that the rest of the code is portable.
#pragma once

#include <cstdint>
#include <string>

namespace zentrik::platform {

// The process's current working directory, or an empty text when it cannot
// be read.
std::string CurrentDirectory();

// Separator between a directory and a file name ("/" or "\\").
const char* PathSeparator();

// Line end written to text files opened in text mode is the platform's own;
// this is what a caller sees in the file.
const char* LineEnd();

// Local date and time of the moment of the call.
struct LocalTime {
    int year, month, day, hour, minute, second;
};
LocalTime Now();

// Protects the caller's floating-point state for the lifetime of the object.
//
// On construction it saves the caller's x87 environment and SSE control and
// status register, then sets 64-bit x87 precision, round-to-nearest and all
// exceptions masked in both units, with the exception flags cleared. On
// destruction it restores exactly what the caller had. RaisedStatus() maps
// the flags raised in between to an indicator status.
//
// Every entry that computes with floating point holds one for the whole
// call: callers run with other settings (a Windows thread starts with 53-bit
// precision, control word 0x027F; some hosts unmask division by zero,
// invalid operation and overflow), and the results must not depend on them
// nor may a trap fire. Create it while no floating-point value is live (at
// the start of the entry) and let it end after the result is computed; a
// double returned on the x87 stack (32-bit x86) is loaded there after the
// caller's state is back.
class FloatingPointScope {
public:
    FloatingPointScope();
    ~FloatingPointScope();
    FloatingPointScope(const FloatingPointScope&) = delete;
    FloatingPointScope& operator=(const FloatingPointScope&) = delete;

    // ZENTRIK_EZeroDivide, ZENTRIK_EInvalidOp or ZENTRIK_EOverflow for a
    // division by zero, an invalid operation or an overflow raised since
    // construction (checked in that order), else ZENTRIK_OK.
    std::int32_t RaisedStatus() const;

private:
    alignas(16) unsigned char saved_[64];
};

}  // namespace zentrik::platform
