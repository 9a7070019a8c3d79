// Characteristic values by sampling each segment densely and refining the best sample by golden-section search.
#include "camdesign/law_characteristics.h"

#include <cmath>

#include "camdesign/angle_search.h"

// Samples per segment: the grid alone lands within (2 pi h)^2 / 8, about 1e-7 relative, of a smooth peak.
constexpr int SEGMENT_SAMPLES = 2000;
// An acceleration jump smaller than this share of the peak acceleration is rounding, not a jump.
constexpr double JUMP_TOLERANCE = 1e-9;

namespace {

// One segment (lo, hi] of a law, evaluated with its own formula up to and including its left end.
struct Segment {
    int curve;
    const TwoPoints* points;
    double lo, hi;
    bool finite;

    LawSample at(double T)
    {
        // T = lo belongs to the previous segment; the next double above it is this segment's limit there.
        if (T <= lo && lo > 0)
            T = std::nextafter(lo, hi);
        const LawSample sample = evaluateLaw(curve, T, *points);
        finite = finite && lawSampleFinite(sample);
        return sample;
    }
};

// The quantities whose maxima are wanted, in the order of QUANTITY_COUNT.
constexpr int QUANTITY_COUNT = 4;
double quantity(int which, const LawSample& s)
{
    const double values[QUANTITY_COUNT] = {std::fabs(s.V), std::fabs(s.A), std::fabs(s.J), s.A * s.V};
    return values[which];
}

// Largest value of one quantity in [left, right], which brackets its best grid sample: refined until the bracket
// no longer shrinks, far below the rounding of T.
double refine(Segment& segment, int which, double left, double right, double best)
{
    const RealFunction value = [&](double T) { return quantity(which, segment.at(T)); };
    return std::fmax(best, goldenSectionMax(value, left, right, 0).value);
}

}  // namespace

bool lawCharacteristics(int curve, const TwoPoints& points, LawCharacteristics& values)
{
    double bounds[MAX_LAW_JOINTS + 2];
    const int joints = lawSegmentBounds(curve, points, bounds) - 1;

    double best[QUANTITY_COUNT] = {0, 0, 0, -INFINITY};
    bool finite = true;
    for (int k = 0; k <= joints; k++) {
        Segment segment = {curve, &points, bounds[k], bounds[k + 1], true};
        const double h = (segment.hi - segment.lo) / SEGMENT_SAMPLES;
        double gridBest[QUANTITY_COUNT] = {-INFINITY, -INFINITY, -INFINITY, -INFINITY};
        int gridIndex[QUANTITY_COUNT] = {0, 0, 0, 0};
        for (int i = 0; i <= SEGMENT_SAMPLES; i++) {
            const LawSample sample = segment.at(i == SEGMENT_SAMPLES ? segment.hi : segment.lo + i * h);
            for (int q = 0; q < QUANTITY_COUNT; q++)
                if (quantity(q, sample) > gridBest[q]) {
                    gridBest[q] = quantity(q, sample);
                    gridIndex[q] = i;
                }
        }
        for (int q = 0; q < QUANTITY_COUNT; q++) {
            const double left = segment.lo + std::fmax(gridIndex[q] - 1, 0) * h;
            const double right = std::fmin(segment.lo + (gridIndex[q] + 1) * h, segment.hi);
            best[q] = std::fmax(best[q], refine(segment, q, left, right, gridBest[q]));
        }
        finite = finite && segment.finite;
    }
    values.Vm = best[0];
    values.Am = best[1];
    values.Jm = best[2];
    values.AVm = best[3];

    // The jerk is infinite where A jumps: at a joint, or at an end where the law meets the dwell at rest (A = 0).
    values.infiniteJerks.clear();
    for (int k = 0; k <= joints + 1; k++) {
        const double T = bounds[k];
        const double before = k == 0 ? 0 : evaluateLaw(curve, T, points).A;
        const double after = k == joints + 1 ? 0 : evaluateLaw(curve, k == 0 ? T : std::nextafter(T, 2.0), points).A;
        if (std::fabs(after - before) > JUMP_TOLERANCE * values.Am)
            values.infiniteJerks.push_back({T, after - before});
    }
    return finite && std::isfinite(values.AVm);
}
