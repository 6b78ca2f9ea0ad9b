#include "Frame.h"

namespace zentrik {

double PointSize = 0.0;

namespace {
std::string& WorkingDirectory() {
    static std::string directory;
    return directory;
}
}  // namespace

void RecordWorkingDirectory() { WorkingDirectory() = platform::CurrentDirectory(); }

std::string RecordedDirectory() { return WorkingDirectory(); }

void ApplyPointSizeRule(std::int32_t count, const Bar* bars) {
    PointSize = bars[count / 3].close >= 30.0 ? 0.01 : 0.0001;
}

std::int32_t CheckIndicatorCall(const double* result, std::int32_t count, const Bar* bars) {
    if (result == nullptr || bars == nullptr) return ZENTRIK_EAccessViolation;
    if (count < 1) return ZENTRIK_ERangeError;
    return ZENTRIK_OK;
}

ColumnSet::ColumnSet(std::int32_t count, const Bar* bars, double* result, unsigned mask) {
    const std::int64_t size = std::int64_t{count} + 5;
    auto allocate = [&](unsigned bit, Series& series) -> double* {
        if ((mask & bit) == 0) return nullptr;
        series = MakeSeries(size);
        return series.data();
    };
    columns_.open = allocate(kOpenColumn, open_);
    columns_.high = allocate(kHighColumn, high_);
    columns_.low = allocate(kLowColumn, low_);
    columns_.close = allocate(kCloseColumn, close_);
    columns_.time = allocate(kTimeColumn, time_);
    columns_.work = allocate(kWorkColumn, work_);
    columns_.count = count;
    columns_.last = count - 1;
    for (std::int32_t i = 0; i < count; ++i) {
        const Bar& bar = bars[i];
        if (columns_.open) columns_.open[i] = bar.open;
        if (columns_.high) columns_.high[i] = bar.high;
        if (columns_.low) columns_.low[i] = bar.low;
        if (columns_.close) columns_.close[i] = bar.close;
        if (columns_.time) columns_.time[i] = bar.time;
        result[i] = 0.0;
    }
}

}  // namespace zentrik
