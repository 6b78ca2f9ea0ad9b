// The Hilbert pipeline: a per-bar state machine over one price series that
// smooths the price, removes its trend, forms the in-phase and quadrature
// components of a Hilbert transform and measures a smoothed dominant cycle
// period. It is the shared front end of the MESA adaptive average, the
// Hilbert trend line and the three Hilbert cycle kernels; every one of them
// runs this one implementation.
//
// What it computes, in plain terms, at bar n:
//   s   = (4 x[n] + 3 x[n-1] + 2 x[n-2] + x[n-3]) * 0.1   (four-bar smoother)
//   H(y)[n] = adj * (A y[n] + B y[n-2] - B y[n-4] - A y[n-6]),
//             adj = 0.075 * period(previous bar) + 0.54,
//             only bars of n's parity combined, inputs before the first
//             main-loop bar counting as 0
//   D = H(s), Q1 = H(D), I1 = D[n-3], jI = H(I1), jQ = H(Q1)
//   I2 = 0.2 (I1 - jQ) + 0.8 I2', Q2 = 0.2 (Q1 + jI) + 0.8 Q2'
//   Re = 0.2 (I2 I2' + Q2 Q2') + 0.8 Re', Im = 0.2 (I2 Q2' - Q2 I2') + 0.8 Im'
//   period: 360 / (atan(Im / Re) * R) when Im and Re are both non-zero,
//           else the previous period; limited to 0.67 .. 1.5 times the
//           previous period and to 6 .. 50, then damped
//           0.2 * period + 0.8 * previous.
// (' = the previous bar's value.) The arithmetic is carried out state
// variable by state variable: every assignment of a state value (sub, sum,
// the trailing value, s, each ring slot, prev, prev1, D, Q1, jI, jQ, the
// in-phase holders, I2, Q2, Re, Im, adj, period) is rounded to double, and
// the intermediate steps of one assignment are extended. The constants
// A = 0.0962, B = 0.5769, 0.075, 0.54, 0.2, 0.8, 1.5, 0.67, the smoother's
// 0.1, 6 and 50 are doubles.
//
// Use:
//   HilbertPipeline pipeline(source, last, base, warmUp, degreesPerRadian);
//   while (pipeline.Step()) {
//       const HilbertState& h = pipeline.State();   // values of bar h.bar
//       ...
//   }
// The smoother is primed from source[base], source[base + 1],
// source[base + 2]; the next `warmUp` smoothing steps (source[base + 3] ..
// source[base + 2 + warmUp]) only warm the sums up and their results are
// dropped; the main loop then runs bar by bar from FirstBar() =
// base + 3 + warmUp through `last`, one Step() per bar.
// Callers: MESA adaptive average base 50, warm-up 9 (first bar 62); Hilbert
// trend line base 0, warm-up 34 (first bar 37); cycle kernels base 0 with
// warm-up 9 or 34 (first bar 12 or 37).
//
// Safety: when last < FirstBar() (or base < 0 / warmUp < 0) the pipeline
// reads nothing at all and the first Step() returns false. Otherwise it reads
// only source[base .. last].
#pragma once

#include <cstdint>

namespace zentrik {

// The values of one bar of the main loop, as left by Step().
struct HilbertState {
    std::int32_t bar = -1;      // n, the bar these values belong to
    bool odd = false;           // n is odd (odd-bar delay lines were used)
    double adj = 0.0;           // band factor 0.075 * previousPeriod + 0.54
    double smoothed = 0.0;      // s, the four-bar smoothed price of bar n
    double detrended = 0.0;     // D
    double quadrature = 0.0;    // Q1
    double inPhase = 0.0;       // I1: X3 on odd bars, Y3 on even bars (= D of bar n - 3)
    double jI = 0.0;            // transform of the in-phase component
    double jQ = 0.0;            // transform of the quadrature component
    double i2 = 0.0;            // smoothed in-phase I2
    double q2 = 0.0;            // smoothed quadrature Q2
    double re = 0.0;            // Re
    double im = 0.0;            // Im
    double period = 0.0;        // the new smoothed period of bar n
    double previousPeriod = 0.0;  // the smoothed period of bar n - 1 (q)
};

class HilbertPipeline {
public:
    // `degreesPerRadian` is the factor R of the period measurement; each
    // caller computes it its own way (45 / atan(1), 180 / (4 atan(1)), ...)
    // and passes the double.
    HilbertPipeline(const double* source, std::int32_t last, std::int32_t base,
                    std::int32_t warmUp, double degreesPerRadian);

    // base + 3 + warmUp: the first bar of the main loop.
    std::int64_t FirstBar() const { return firstBar_; }

    // Runs the next bar of the main loop; false (and nothing changed) once
    // the bar would lie beyond `last`.
    bool Step();

    const HilbertState& State() const { return state_; }

private:
    // One of the two parity sets of a transformed quantity.
    struct TransformSet {
        double ring[3] = {0.0, 0.0, 0.0};
        double prev = 0.0;
        double prev1 = 0.0;
    };
    double Transform(TransformSet& set, double input) const;
    double Smooth(double x);

    const double* source_;
    std::int64_t last_;
    std::int64_t firstBar_;
    std::int64_t next_;        // the bar that the next Step() computes
    double degreesPerRadian_;

    // Smoother.
    double sub_ = 0.0;
    double sum_ = 0.0;
    double trailingValue_ = 0.0;
    std::int64_t trailingIndex_ = 0;

    // Transform state: [0] even bars, [1] odd bars.
    TransformSet detrender_[2];
    TransformSet quadrature_[2];
    TransformSet inPhaseJ_[2];
    TransformSet quadratureJ_[2];
    int ringPosition_ = 0;

    // In-phase holders: X read on odd bars, Y on even bars.
    double x3_ = 0.0, x2_ = 0.0, y3_ = 0.0, y2_ = 0.0;

    double i2Prev_ = 0.0;
    double q2Prev_ = 0.0;
    double re_ = 0.0;
    double im_ = 0.0;
    double period_ = 0.0;

    HilbertState state_;
};

}  // namespace zentrik
