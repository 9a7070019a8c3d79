// Curve tables: published peaks, the sample figures at 100 steps, derivative and continuity properties, layout.
// T, S, V and A are the normalized time, displacement, velocity and acceleration of the rise (all dimensionless).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/app_state.h"
#include "curves/motion_tables.h"

static const double MATH_PI = 3.14159265358979323846;
// Figures quoted to six decimals are checked to half a unit in their last place.
static const double SIX_DECIMALS = 5e-7;
// "Within the last bits": a few ulps of values around 1 to 10.
static const double LAST_BITS = 1e-12;

static void setRiseSteps(int steps)
{
    appState.riseSteps = steps;
    appState.timeStep = 1.0 / steps;
}

static void buildAll(int steps)
{
    memset(motionTables, 0, sizeof motionTables);
    setRiseSteps(steps);
    buildStandardCurves();
}

static double S(int curve, int i) { return curveSlot(curve)[i]; }
static double V(int curve, int i) { return curveSlot(curve)[V_ROW + i]; }
static double A(int curve, int i) { return curveSlot(curve)[A_ROW + i]; }

static double peak(const double* row, int last)
{
    double best = 0;
    for (int i = 0; i <= last; i++)
        best = std::fmax(best, std::fabs(row[i]));
    return best;
}

static void fillSlot(int curve, double value)
{
    for (int i = 0; i < CURVE_STRIDE; i++)
        curveSlot(curve)[i] = value;
}

static void expectSlotFilled(int curve, double value)
{
    for (int i = 0; i < CURVE_STRIDE; i++)
        ASSERT_EQ(curveSlot(curve)[i], value) << "slot " << curve << " value " << i;
}

// Dimensionless peaks from the cam literature, an outside check of every formula, sampled at 799 steps.
// The grid misses a smooth peak by at most half a step; 2e-5 covers that and the five-decimal rounding.
// The parabolic velocity peaks in a corner at T = 0.5, half a step from the nearest sample: 4 * h / 2 below 2.
TEST(CurvePeaks, MatchPublishedValues)
{
    buildAll(799);
    struct Expected { int curve; double v; double vTolerance; double a; };
    const Expected published[] = {
        {0, 2, 2.0 / 799 + 1e-6, 4},
        {1, MATH_PI / 2, 2e-5, MATH_PI * MATH_PI / 2},
        {2, 2, 2e-5, 2 * MATH_PI},
        {3, 2, 2e-5, 4.88812},
        {4, 1.75960, 2e-5, 5.52796},
        {6, 1.27526, 2e-5, 8.01268},
    };
    for (const Expected& e : published) {
        EXPECT_NEAR(peak(curveSlot(e.curve) + V_ROW, 799), e.v, e.vTolerance) << "curve " << e.curve;
        EXPECT_NEAR(peak(curveSlot(e.curve) + A_ROW, 799), e.a, 2e-5) << "curve " << e.curve;
    }
}

// At 400 steps the joints T = 1/16, 1/8 and 1/4 fall on samples 25, 50 and 100, so the constants of the
// modified sine and modified constant velocity curves appear in the tables themselves.
TEST(CurvePeaks, JointConstantsOnAGridThatHitsTheJoints)
{
    buildAll(400);
    EXPECT_NEAR(A(4, 50), 5.527957, SIX_DECIMALS);  // Amax
    EXPECT_NEAR(V(4, 50), 0.439901, SIX_DECIMALS);  // v1
    EXPECT_NEAR(S(4, 50), 0.019981, SIX_DECIMALS);  // s1
    EXPECT_NEAR(A(6, 25), 8.012683, SIX_DECIMALS);  // Amax
    EXPECT_NEAR(V(6, 25), 0.318815, SIX_DECIMALS);  // v1
    EXPECT_NEAR(S(6, 25), 0.007241, SIX_DECIMALS);  // s1
    EXPECT_NEAR(V(6, 100), 1.275258, SIX_DECIMALS); // vc
    EXPECT_NEAR(S(6, 100), 0.181185, SIX_DECIMALS); // s2
    EXPECT_NEAR(peak(curveSlot(3) + A_ROW, 400), 4.888124, SIX_DECIMALS);
}

// The sample figures at riseSteps = 100: ends, peaks and the samples on or beside a boundary.
TEST(StandardCurves, SampleFiguresAtHundredSteps)
{
    buildAll(100);
    for (int c = 0; c < STANDARD_CURVE_COUNT; c++) {
        EXPECT_EQ(S(c, 0), 0.0) << c;
        EXPECT_NEAR(S(c, 100), 1.0, LAST_BITS) << c;
        EXPECT_NEAR(V(c, 0), 0.0, LAST_BITS) << c;
        EXPECT_NEAR(V(c, 100), 0.0, LAST_BITS) << c;
        EXPECT_NEAR(S(c, 50), 0.5, LAST_BITS) << c;
        // Every curve but the parabolic and the harmonic starts and ends at zero acceleration.
        if (c >= 2) {
            EXPECT_NEAR(A(c, 0), 0.0, LAST_BITS) << c;
            EXPECT_NEAR(A(c, 100), 0.0, LAST_BITS) << c;
        }
    }
    // Parabolic: T = 0.5 exactly belongs to the first half; the ends keep their acceleration.
    EXPECT_EQ(S(0, 50), 0.5);
    EXPECT_EQ(V(0, 50), 2.0);
    EXPECT_EQ(A(0, 50), 4.0);
    EXPECT_EQ(A(0, 51), -4.0);
    EXPECT_EQ(A(0, 0), 4.0);
    EXPECT_EQ(A(0, 100), -4.0);
    // Harmonic and cycloid.
    EXPECT_NEAR(A(1, 0), 4.934802, SIX_DECIMALS);
    EXPECT_NEAR(A(1, 100), -4.934802, SIX_DECIMALS);
    EXPECT_NEAR(V(1, 50), 1.570796, SIX_DECIMALS);
    EXPECT_NEAR(V(2, 50), 2.0, LAST_BITS);
    EXPECT_NEAR(A(2, 25), 6.283185, SIX_DECIMALS);
    // Modified trapezoid: acceleration held exactly on 13..37 and 63..87; the samples beside the
    // boundaries (12, 38, 62, 88) lie on the sine ramps, below the peak.
    const double trapezoidAmax = A(3, 25);
    EXPECT_NEAR(trapezoidAmax, 4.888124, SIX_DECIMALS);
    for (int i = 13; i <= 37; i++)
        EXPECT_EQ(A(3, i), trapezoidAmax) << i;
    for (int i = 63; i <= 87; i++)
        EXPECT_EQ(A(3, i), -trapezoidAmax) << i;
    for (int i : {12, 38, 62, 88})
        EXPECT_LT(std::fabs(A(3, i)), trapezoidAmax - 1e-3) << i;
    EXPECT_NEAR(V(3, 50), 2.0, LAST_BITS);
    // Modified sine: the grid's largest A is at sample 13, just past Amax at T = 0.125.
    EXPECT_NEAR(V(4, 50), 1.759603, SIX_DECIMALS);
    EXPECT_NEAR(peak(curveSlot(4) + A_ROW, 100), 5.526745, SIX_DECIMALS);
    EXPECT_NEAR(A(4, 13), 5.526745, SIX_DECIMALS);
    // Gutman F-3.
    EXPECT_NEAR(V(5, 50), 2.0, LAST_BITS);
    EXPECT_NEAR(A(5, 25), 1.5 * MATH_PI, SIX_DECIMALS);
    EXPECT_NEAR(A(5, 15), 5.129556, SIX_DECIMALS);
    EXPECT_NEAR(A(5, 35), 5.129556, SIX_DECIMALS);
    EXPECT_NEAR(A(5, 65), -5.129556, SIX_DECIMALS);
    EXPECT_NEAR(A(5, 85), -5.129556, SIX_DECIMALS);
    // Modified constant velocity: T = 0.25 still on the cosine segment (A rounds to a few ulps, not 0),
    // T = 0.75 already straight, so 26..75 hold vc and A = 0 exactly.
    for (int i = 26; i <= 75; i++) {
        EXPECT_NEAR(V(6, i), 1.275258, SIX_DECIMALS) << i;
        EXPECT_EQ(V(6, i), V(6, 26)) << i;
        EXPECT_EQ(A(6, i), 0.0) << i;
    }
    EXPECT_NE(A(6, 25), 0.0);
    EXPECT_NEAR(A(6, 25), 0.0, LAST_BITS);
    EXPECT_NE(A(6, 76), 0.0);
    EXPECT_NEAR(S(6, 25), 0.181185, SIX_DECIMALS);
    EXPECT_NEAR(S(6, 75), 0.818815, SIX_DECIMALS);
}

// The two worked examples of curve 7; sample 70 has T = 0.7000000000000001, just past Tb = 0.7.
TEST(TwoPointCurve, WorkedExamples)
{
    buildAll(100);
    double* slot = curveSlot(TWO_POINT_CURVE);
    buildTwoPointCurve(0.3, 0.2, 0.7, 0.8, slot);
    EXPECT_NEAR(S(7, 30), 0.2, LAST_BITS);
    EXPECT_NEAR(V(7, 30), 1.5, LAST_BITS);
    EXPECT_NEAR(A(7, 30), 0.0, 1e-9);
    // T = Ta belongs to the lead-in, whose sine terms leave a few ulps where the straight part gives exactly 0.
    EXPECT_NE(A(7, 30), 0.0);
    // Straight on 31..69: one velocity m = 1.5 (as rounded from 0.6 / 0.4) and no acceleration.
    for (int i = 31; i <= 69; i++) {
        EXPECT_NEAR(V(7, i), 1.5, LAST_BITS) << i;
        EXPECT_EQ(V(7, i), V(7, 31)) << i;
        EXPECT_EQ(A(7, i), 0.0) << i;
    }
    EXPECT_NE(A(7, 70), 0.0);
    EXPECT_NEAR(S(7, 50), 0.5, LAST_BITS);
    EXPECT_NEAR(S(7, 15), 0.028380, SIX_DECIMALS);
    EXPECT_NEAR(V(7, 15), 0.583333, SIX_DECIMALS);
    EXPECT_NEAR(A(7, 15), 2.5 * MATH_PI, SIX_DECIMALS);
    EXPECT_NEAR(A(7, 18), 8.495459, SIX_DECIMALS);
    EXPECT_NEAR(A(7, 82), -8.495459, SIX_DECIMALS);
    EXPECT_NEAR(peak(slot + A_ROW, 100), 8.495459, SIX_DECIMALS);
    EXPECT_EQ(S(7, 0), 0.0);
    EXPECT_NEAR(S(7, 100), 1.0, LAST_BITS);
    EXPECT_NEAR(V(7, 100), 0.0, LAST_BITS);
    EXPECT_NEAR(A(7, 100), 0.0, 1e-9);

    // m = 1: S = T on the straight part, which still takes sample 75 (T = 0.75 exactly).
    buildTwoPointCurve(0.25, 0.25, 0.75, 0.75, slot);
    for (int i = 26; i <= 75; i++) {
        EXPECT_NEAR(S(7, i), i * 0.01, 1e-15) << i;
        EXPECT_EQ(A(7, i), 0.0) << i;
    }
    EXPECT_NEAR(S(7, 25), 0.25, LAST_BITS);
    EXPECT_NEAR(V(7, 25), 1.0, LAST_BITS);
    EXPECT_NE(A(7, 25), 0.0);
    EXPECT_NEAR(V(7, 10), 1.25, LAST_BITS);
    EXPECT_NEAR(A(7, 10), 13.361992, SIX_DECIMALS);
}

// A new set of points replaces all of slot 7 (nothing of the old curve is left) and touches no other slot.
TEST(TwoPointCurve, RebuildReplacesSlotSevenOnly)
{
    buildAll(100);
    static double standard[STANDARD_CURVE_COUNT * CURVE_STRIDE];
    memcpy(standard, motionTables, sizeof standard);

    buildTwoPointCurve(0.25, 0.25, 0.75, 0.75, curveSlot(7));
    static double fresh[CURVE_STRIDE];
    memcpy(fresh, curveSlot(7), sizeof fresh);
    buildTwoPointCurve(0.3, 0.2, 0.7, 0.8, curveSlot(7));
    buildTwoPointCurve(0.25, 0.25, 0.75, 0.75, curveSlot(7));

    EXPECT_EQ(memcmp(fresh, curveSlot(7), sizeof fresh), 0);
    EXPECT_EQ(memcmp(standard, motionTables, sizeof standard), 0);
    for (int row = 0; row < 3; row++)
        for (int i = 101; i < ROW_LENGTH; i++)
            ASSERT_EQ(curveSlot(7)[row * ROW_LENGTH + i], 0.0) << row << " " << i;
}

// A mistyped term shows as V not matching dS/dT or A not matching dV/dT somewhere along the rise, or as
// a step of S that the velocity does not account for (a jump at a join). Tolerances at h = 1/799:
// dS/dT by central differences is off by at most 2h where A jumps (the parabolic corner), far less elsewhere;
// dV/dT is off by up to |jerk jump| * h / 4 ≈ 0.04 at the joins where the jerk jumps (curves 6 and 7);
// the trapezoid rule misses a step of S by at most h² |A jump| / 8 ≈ 1.6e-6 (parabolic corner).
static void expectConsistent(int curve, int N, const char* name)
{
    const double h = 1.0 / N;
    const double* slot = curveSlot(curve);
    double worstV = 0;
    double worstA = 0;
    double worstStep = 0;
    for (int i = 1; i < N; i++) {
        double dS = (slot[i + 1] - slot[i - 1]) / (2 * h);
        worstV = std::fmax(worstV, std::fabs(dS - slot[V_ROW + i]));
        // The parabolic acceleration jumps from +4 to -4 at T = 0.5.
        bool besideJump = curve == 0 && std::fabs(i * h - 0.5) < 2 * h;
        if (!besideJump) {
            double dV = (slot[V_ROW + i + 1] - slot[V_ROW + i - 1]) / (2 * h);
            worstA = std::fmax(worstA, std::fabs(dV - slot[A_ROW + i]));
        }
        double integratedV = h * (slot[V_ROW + i] + slot[V_ROW + i + 1]) / 2;
        worstStep = std::fmax(worstStep, std::fabs(slot[i + 1] - slot[i] - integratedV));
    }
    EXPECT_LT(worstV, 1e-3) << name;
    EXPECT_LT(worstA, 5e-2) << name;
    EXPECT_LT(worstStep, 2e-6) << name;
    EXPECT_EQ(slot[0], 0.0) << name;
    EXPECT_NEAR(slot[N], 1.0, LAST_BITS) << name;
}

TEST(CurveProperties, DerivativesAndContinuityAtFineSampling)
{
    buildAll(799);
    const char* names[] = {"parabolic", "harmonic", "cycloid", "modified trapezoid", "modified sine",
                           "Gutman F-3", "modified constant velocity"};
    for (int c = 0; c < STANDARD_CURVE_COUNT; c++)
        expectConsistent(c, 799, names[c]);
    buildTwoPointCurve(0.3, 0.2, 0.7, 0.8, curveSlot(7));
    expectConsistent(7, 799, "two points 0.3 0.2 0.7 0.8");
    buildTwoPointCurve(0.25, 0.25, 0.75, 0.75, curveSlot(7));
    expectConsistent(7, 799, "two points 0.25 0.25 0.75 0.75");
}

// The joint points left behind, slot 7 untouched, repeatable, nothing past riseSteps.
TEST(StandardCurves, StateLeftBehindAndLayout)
{
    memset(motionTables, 0, sizeof motionTables);
    setRiseSteps(100);
    appState.Ta = appState.Sa = appState.Tb = appState.Sb = -3;
    fillSlot(7, 7.5);
    buildStandardCurves();
    EXPECT_EQ(appState.Ta, 0.0625);
    EXPECT_NEAR(appState.Sa, 0.007241, SIX_DECIMALS);
    EXPECT_EQ(appState.Tb, 0.25);
    EXPECT_NEAR(appState.Sb, 0.181185, SIX_DECIMALS);
    expectSlotFilled(7, 7.5);

    static double first[TABLE_LENGTH];
    memcpy(first, motionTables, sizeof first);
    buildStandardCurves();
    EXPECT_EQ(memcmp(first, motionTables, sizeof first), 0);

    for (int c = 0; c < STANDARD_CURVE_COUNT; c++)
        for (int row = 0; row < 3; row++)
            for (int i = 101; i < ROW_LENGTH; i++)
                ASSERT_EQ(curveSlot(c)[row * ROW_LENGTH + i], 0.0) << c << " " << row << " " << i;
}

// A riseSteps the rows cannot hold is cut at the last sample: no row spills into the next one
// (every row still starts with its own value at T = 0) and nothing reaches past slot 6 or the block.
TEST(StandardCurves, OversizedRiseStepsStaysInsideRows)
{
    setRiseSteps(100);
    EXPECT_EQ(lastSampleIndex(), 100);
    setRiseSteps(799);
    EXPECT_EQ(lastSampleIndex(), 799);

    memset(motionTables, 0, sizeof motionTables);
    setRiseSteps(5000);
    EXPECT_EQ(lastSampleIndex(), ROW_LENGTH - 1);
    fillSlot(7, 7.5);
    buildStandardCurves();
    expectSlotFilled(7, 7.5);
    const double accelerationAtStart[STANDARD_CURVE_COUNT] = {4, MATH_PI * MATH_PI / 2, 0, 0, 0, 0, 0};
    for (int c = 0; c < STANDARD_CURVE_COUNT; c++) {
        EXPECT_EQ(S(c, 0), 0.0) << c;
        EXPECT_EQ(V(c, 0), 0.0) << c;
        EXPECT_NEAR(A(c, 0), accelerationAtStart[c], LAST_BITS) << c;
    }
    // Sample 799 is still the curve at T = 799 / 5000.
    const double T = 799 * appState.timeStep;
    EXPECT_NEAR(S(1, 799), (1 - cos(MATH_PI * T)) / 2, LAST_BITS);
    EXPECT_NEAR(V(1, 799), sin(MATH_PI * T) * MATH_PI / 2, LAST_BITS);

    // The two-point builder keeps to its slot as well: built into slot 6, slot 7 stays as it was.
    buildTwoPointCurve(0.3, 0.2, 0.7, 0.8, curveSlot(6));
    expectSlotFilled(7, 7.5);
    EXPECT_EQ(V(6, 0), 0.0);
    // Its trial build runs on a scratch slot of one curve's size (an overrun shows under AddressSanitizer).
    EXPECT_TRUE(twoPointCurveAccepts(0.3, 0.2, 0.7, 0.8));
}

// Points are accepted only inside 0 < Ta < Tb < 1 and where every sample comes out finite.
TEST(TwoPointCurve, AcceptsOnlyPointsThatGiveFiniteSamples)
{
    setRiseSteps(100);
    EXPECT_TRUE(twoPointCurveAccepts(0.3, 0.2, 0.7, 0.8));
    EXPECT_TRUE(twoPointCurveAccepts(0.25, 0.25, 0.75, 0.75));
    EXPECT_TRUE(twoPointCurveAccepts(0.3, -0.5, 0.7, 1.5));
    const double rejected[][4] = {
        {0, 0.2, 0.7, 0.8},         {-0.1, 0.2, 0.7, 0.8},       {0.3, 0.2, 0.3, 0.8},
        {0.7, 0.2, 0.3, 0.8},       {0.3, 0.2, 1.0, 0.8},        {0.3, 0.2, 1.5, 0.8},
        {NAN, 0.2, 0.7, 0.8},       {0.3, NAN, 0.7, 0.8},        {0.3, 0.2, NAN, 0.8},
        {0.3, 0.2, 0.7, NAN},       {INFINITY, 0.2, 0.7, 0.8},   {0.3, -INFINITY, 0.7, 0.8},
        {0.3, 0.2, 0.7, INFINITY},  {0.3, 1e308, 0.7, -1e308},
    };
    for (const auto& p : rejected)
        EXPECT_FALSE(twoPointCurveAccepts(p[0], p[1], p[2], p[3]))
            << p[0] << " " << p[1] << " " << p[2] << " " << p[3];
}
