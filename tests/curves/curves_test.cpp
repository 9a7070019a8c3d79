// Curve tables on their own, no GL: published peaks, figures at chosen samples, derivatives, joins and ends.
// T, S, V and A are the normalized time, displacement, velocity and acceleration of the rise (dimensionless).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/app_state.h"
#include "curves/motion_tables.h"

namespace {

const double MATH_PI = 3.14159265358979323846;
// Figures quoted to six decimals are checked to half a unit in their last place; "1e-12": the last bits.
const double SIX = 5e-7;
// The two worked examples of curve 7, numbered 7 and 8 below: A(0.3, 0.2) B(0.7, 0.8) and A(.25, .25) B(.75, .75).
const double EXAMPLES[2][4] = {{0.3, 0.2, 0.7, 0.8}, {0.25, 0.25, 0.75, 0.75}};

// The tables as start-up fills them for riseSteps = steps, and curve 7 (or 8) built into slot 7.
const double* build(int steps, int curve)
{
    memset(motionTables, 0, sizeof motionTables);
    appState.riseSteps = steps;
    appState.timeStep = 1.0 / steps;
    buildStandardCurves();
    if (curve >= TWO_POINT_CURVE) {
        const double* p = EXAMPLES[curve - TWO_POINT_CURVE];
        buildTwoPointCurve(p[0], p[1], p[2], p[3], curveSlot(TWO_POINT_CURVE));
    }
    return curveSlot(curve < TWO_POINT_CURVE ? curve : TWO_POINT_CURVE);
}

enum Row { S = 0, V = ROW_LENGTH, A = 2 * ROW_LENGTH };

// Samples first..last of a row all hold value; first = -1: the row's largest magnitude is value.
TEST(CurveTables, FiguresAtChosenSamples)
{
    struct Case {
        int steps, curve;
        Row row;
        int first, last;
        double value, tolerance;
    } const cases[] = {
        // Peaks from the cam literature at 799 steps; the grid misses a smooth peak by at most half a step.
        // The parabolic velocity peaks in a corner at T = 0.5, half a step from the nearest sample.
        {799, 0, V, -1, 0, 2, 2.0 / 799 + 1e-6}, {799, 0, A, -1, 0, 4, 0}, {799, 1, V, -1, 0, MATH_PI / 2, 2e-5},
        {799, 1, A, -1, 0, MATH_PI * MATH_PI / 2, 2e-5}, {799, 2, V, -1, 0, 2, 2e-5},
        {799, 2, A, -1, 0, 2 * MATH_PI, 2e-5}, {799, 3, V, -1, 0, 2, 2e-5}, {799, 3, A, -1, 0, 4.88812, 2e-5},
        {799, 4, V, -1, 0, 1.75960, 2e-5}, {799, 4, A, -1, 0, 5.52796, 2e-5}, {799, 6, V, -1, 0, 1.27526, 2e-5},
        {799, 6, A, -1, 0, 8.01268, 2e-5},
        // At 100 steps a sample on a boundary belongs to the earlier segment, and flat stretches are exactly flat;
        // curves 7 and 8 run straight through their points, and their sine terms peak as worked out.
        {100, 0, A, 0, 50, 4, 0}, {100, 0, A, 51, 100, -4, 0}, {100, 3, A, 13, 37, 4.888124, SIX},
        {100, 6, V, 26, 75, 1.275258, SIX}, {100, 6, A, 26, 75, 0, 0}, {100, 6, S, 25, 25, 0.181185, SIX},
        {100, 7, S, 30, 30, 0.2, 1e-12}, {100, 7, V, 30, 69, 1.5, 1e-12}, {100, 7, A, 31, 69, 0, 0},
        {100, 7, A, 15, 15, 2.5 * MATH_PI, SIX}, {100, 7, A, -1, 0, 8.495459, SIX}, {100, 8, A, 26, 75, 0, 0},
        {100, 8, V, 25, 75, 1, 1e-12}, {100, 8, A, 10, 10, 13.361992, SIX}};
    for (const Case& c : cases) {
        const double* row = build(c.steps, c.curve) + c.row;
        double peak = 0;
        for (int i = 0; c.first < 0 && i <= c.steps; i++)
            peak = std::fmax(peak, std::fabs(row[i]));
        for (int i = std::max(c.first, 0); i <= c.last; i++)
            EXPECT_NEAR(c.first < 0 ? peak : row[i], c.value, c.tolerance)
                << "curve " << c.curve << " row " << c.row / ROW_LENGTH << " sample " << i << " of " << c.steps;
    }
}

// A mistyped term shows as V not matching dS/dT or A not matching dV/dT somewhere, or as a step of S that V does
// not account for (a jump at a join). At h = 1/799: dS/dT by central differences is off by at most 2h at the
// parabolic corner; dV/dT by up to 0.04 where the jerk jumps (curves 6 to 8); the trapezoid rule misses a step of
// S by at most h^2 |A jump| / 8 = 1.6e-6. Every curve rests at both ends; all but 0 and 1 without acceleration.
TEST(CurveTables, DerivativesJoinsAndEnds)
{
    const int N = 799;
    const double h = 1.0 / N;
    for (int curve = 0; curve <= 8; curve++) {
        const double* s = build(N, curve);
        double worst[3] = {0, 0, 0};
        for (int i = 1; i < N; i++) {
            worst[0] = std::fmax(worst[0], std::fabs((s[i + 1] - s[i - 1]) / (2 * h) - s[V + i]));
            // The parabolic acceleration jumps from +4 to -4 at T = 0.5.
            if (curve != 0 || std::fabs(i * h - 0.5) > 2 * h)
                worst[1] = std::fmax(worst[1], std::fabs((s[V + i + 1] - s[V + i - 1]) / (2 * h) - s[A + i]));
            worst[2] = std::fmax(worst[2], std::fabs(s[i + 1] - s[i] - h * (s[V + i] + s[V + i + 1]) / 2));
        }
        EXPECT_TRUE(worst[0] < 1e-3 && worst[1] < 5e-2 && worst[2] < 2e-6 && s[0] == 0 &&
                    std::fabs(s[N] - 1) < 1e-12 && std::fabs(s[V]) + std::fabs(s[V + N]) < 1e-12 &&
                    (curve < 2 || std::fabs(s[A]) + std::fabs(s[A + N]) < 1e-9))
            << "curve " << curve << ": " << worst[0] << " " << worst[1] << " " << worst[2] << ", S " << s[0] << " to "
            << s[N] << ", V " << s[V] << " to " << s[V + N] << ", A " << s[A] << " to " << s[A + N];
    }
}

}  // namespace
