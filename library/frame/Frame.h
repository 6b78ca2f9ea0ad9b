// The calling frame shared by every indicator entry: argument checks, the
// floating-point scope, the recorded working directory, the point size, the
// price columns and the cleared result, and the mapping of failures to
// status codes.
#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <utility>

#include "Platform.h"
#include "kernels/Scratch.h"
#include "zentrik/zentrik.h"

namespace zentrik {

// The price step of the instrument of the latest indicator call: 0.01 when
// the sample close is at least 30, else 0.0001. Zero before the first call.
extern double PointSize;

// Records the process's current directory as the library's working
// directory (read later by the journal).
void RecordWorkingDirectory();

// The directory recorded last; empty before any call recorded one.
std::string RecordedDirectory();

// Sets PointSize from the close of bar count / 3. count >= 1.
void ApplyPointSizeRule(std::int32_t count, const Bar* bars);

// Which bar fields an entry copies into columns of count + 5 doubles.
enum ColumnMask : unsigned {
    kOpenColumn = 1u << 0,
    kHighColumn = 1u << 1,
    kLowColumn = 1u << 2,
    kCloseColumn = 1u << 3,
    kTimeColumn = 1u << 4,
    kWorkColumn = 1u << 5,  // allocated, not filled: a kernel's second output
};

// The columns of one call; a column that was not asked for is null.
struct PriceColumns {
    double* open = nullptr;
    double* high = nullptr;
    double* low = nullptr;
    double* close = nullptr;
    double* time = nullptr;
    double* work = nullptr;
    std::int32_t count = 0;
    std::int32_t last = -1;
};

// Owns the columns of one call.
class ColumnSet {
public:
    // Allocates the asked-for columns, then in one pass copies the bar fields
    // and clears result[0 .. count-1].
    ColumnSet(std::int32_t count, const Bar* bars, double* result, unsigned mask);
    const PriceColumns& columns() const { return columns_; }

private:
    Series open_, high_, low_, close_, time_, work_;
    PriceColumns columns_;
};

// ZENTRIK_OK when the pointers and the count can be used, else the status
// that the entry returns without touching anything.
std::int32_t CheckIndicatorCall(const double* result, std::int32_t count, const Bar* bars);

// The frame of an indicator entry. `parametersValid` is the entry's own
// check of its parameters: false returns ZENTRIK_ERangeError before any
// memory is touched. `kernel` receives the PriceColumns and fills result.
template <class Kernel>
std::int32_t RunIndicatorEntry(double* result, std::int32_t count, const Bar* bars, unsigned mask,
                               bool parametersValid, Kernel&& kernel) {
    if (const std::int32_t status = CheckIndicatorCall(result, count, bars); status != ZENTRIK_OK) {
        return status;
    }
    if (!parametersValid) return ZENTRIK_ERangeError;
    platform::FloatingPointScope floatingPoint;
    std::int32_t status = ZENTRIK_OK;
    try {
        RecordWorkingDirectory();
        ApplyPointSizeRule(count, bars);
        const ColumnSet set(count, bars, result, mask);
        std::forward<Kernel>(kernel)(set.columns());
    } catch (const std::bad_alloc&) {
        status = ZENTRIK_EOutOfMemory;
    } catch (...) {
        status = ZENTRIK_EOther;
    }
    if (status == ZENTRIK_OK) status = floatingPoint.RaisedStatus();
    return status;
}

// Parameter checks shared by the entries: a period (or length) that a
// kernel can use without reaching outside the arrays.
inline bool IsPeriodAtLeast(std::int32_t period, std::int32_t minimum) { return period >= minimum; }

}  // namespace zentrik
