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
