#include "HilbertPipeline.h"

#include <cmath>

#include "Extended.h"

namespace zentrik {
namespace {

// The constants of the pipeline are doubles; held as Extended so that every
// product with them is formed in extended precision.
constexpr Extended kTapA = 0.0962;
constexpr Extended kTapB = 0.5769;
constexpr Extended kBandSlope = 0.075;
constexpr Extended kBandOffset = 0.54;
constexpr Extended kNew = 0.2;
constexpr Extended kOld = 0.8;
constexpr Extended kUpperLimit = 1.5;
constexpr Extended kLowerLimit = 0.67;
constexpr Extended kSmootherScale = 0.1;
constexpr double kShortestPeriod = 6.0;
constexpr double kLongestPeriod = 50.0;

}  // namespace

HilbertPipeline::HilbertPipeline(const double* source, std::int32_t last, std::int32_t base,
                                 std::int32_t warmUp, double degreesPerRadian)
    : source_(source),
      last_(last),
      firstBar_(std::int64_t{base} + 3 + warmUp),
      next_(std::int64_t{base} + 3 + warmUp),
      degreesPerRadian_(degreesPerRadian),
      trailingIndex_(base) {
    if (base < 0 || warmUp < 0 || last_ < firstBar_) {
        next_ = last_ + 1;  // nothing is read; Step() returns false
        return;
    }
    // Prime the running four-price sum and the weighted sum.
    sub_ = source_[base];
    sum_ = source_[base];
    sub_ = ToDouble(Extended(sub_) + source_[base + 1]);
    sum_ = ToDouble(Extended(sum_) + 2.0L * source_[base + 1]);
    sub_ = ToDouble(Extended(sub_) + source_[base + 2]);
    sum_ = ToDouble(Extended(sum_) + 3.0L * source_[base + 2]);
    // Warm-up steps: their smoothed values are dropped.
    for (std::int64_t i = std::int64_t{base} + 3; i < firstBar_; ++i) Smooth(source_[i]);
}

// One smoothing step with the new price x: the weighted sum gains 4x and
// gives the smoothed price, then loses the four-price sum (which already
// holds x), so it is ready for the next price.
double HilbertPipeline::Smooth(double x) {
    sub_ = ToDouble(Extended(sub_) + x - trailingValue_);
    sum_ = ToDouble(Extended(sum_) + 4.0L * x);
    trailingValue_ = source_[trailingIndex_];
    ++trailingIndex_;
    const double smoothed = ToDouble(Extended(sum_) * kSmootherScale);
    sum_ = ToDouble(Extended(sum_) - sub_);
    return smoothed;
}

// One transform of a quantity with the given input, using the set of the
// bar's parity: adj * (A x[n] + B x[n-2] - B x[n-4] - A x[n-6]), built from
// the ring (A x of six bars back) and prev/prev1 (B x of two and four back).
double HilbertPipeline::Transform(TransformSet& set, double input) const {
    const double h = ToDouble(kTapA * input);
    double v = -set.ring[ringPosition_];
    set.ring[ringPosition_] = h;
    v = ToDouble(Extended(v) + h);
    v = ToDouble(Extended(v) - set.prev);
    set.prev = ToDouble(kTapB * set.prev1);
    v = ToDouble(Extended(v) + set.prev);
    set.prev1 = input;
    return ToDouble(Extended(v) * state_.adj);
}

bool HilbertPipeline::Step() {
    if (next_ > last_) return false;
    const std::int64_t n = next_++;
    const bool odd = (n % 2) != 0;
    const int parity = odd ? 1 : 0;

    state_.bar = static_cast<std::int32_t>(n);
    state_.odd = odd;

    // 1. Band factor from the previous bar's period; smoothing step.
    state_.adj = ToDouble(kBandSlope * period_ + kBandOffset);
    const double s = Smooth(source_[n]);
    state_.smoothed = s;

    // 2./3. The four transforms with the set of this bar's parity.
    const double inPhase = odd ? x3_ : y3_;
    const double d = Transform(detrender_[parity], s);
    const double q1 = Transform(quadrature_[parity], d);
    const double ji = Transform(inPhaseJ_[parity], inPhase);
    const double jq = Transform(quadratureJ_[parity], q1);
    if (odd) ringPosition_ = (ringPosition_ + 1) % 3;
    const double q2 = ToDouble(kNew * (Extended(q1) + ji) + kOld * q2Prev_);
    const double i2 = ToDouble(kNew * (Extended(inPhase) - jq) + kOld * i2Prev_);
    if (odd) {
        y3_ = y2_;
        y2_ = d;
    } else {
        x3_ = x2_;
        x2_ = d;
    }

    // 4. Real and imaginary parts of the phase change.
    re_ = ToDouble(kNew * (Extended(i2) * i2Prev_ + Extended(q2) * q2Prev_) + kOld * re_);
    im_ = ToDouble(kNew * (Extended(i2) * q2Prev_ - Extended(q2) * i2Prev_) + kOld * im_);
    q2Prev_ = q2;
    i2Prev_ = i2;

    // 5. Period measurement, limits and damping.
    const double q = period_;
    if (im_ != 0.0 && re_ != 0.0) {
        period_ = ToDouble(360.0L / (std::atan(Extended(im_) / re_) * degreesPerRadian_));
    }
    if (period_ > kUpperLimit * q) period_ = ToDouble(kUpperLimit * q);
    if (period_ < kLowerLimit * q) period_ = ToDouble(kLowerLimit * q);
    if (period_ < kShortestPeriod) {
        period_ = kShortestPeriod;
    } else if (period_ > kLongestPeriod) {
        period_ = kLongestPeriod;
    }
    period_ = ToDouble(kNew * period_ + kOld * q);

    state_.detrended = d;
    state_.quadrature = q1;
    state_.inPhase = inPhase;
    state_.jI = ji;
    state_.jQ = jq;
    state_.i2 = i2;
    state_.q2 = q2;
    state_.re = re_;
    state_.im = im_;
    state_.period = period_;
    state_.previousPeriod = q;
    return true;
}

}  // namespace zentrik
