// Curve tables: published peaks, the design's sample figures, derivative and continuity properties, layout.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/app_state.h"
#include "curves/motion_tables.h"

static const double MATH_PI = 3.14159265358979323846;

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

// Dimensionless peaks from the cam literature, sampled finely: an outside check of every formula.
// The parabolic velocity peaks in a corner at T = 0.5, between two samples of the 799-step grid.
TEST(CurvePeaks, MatchPublishedValues)
{
    buildAll(799);
    struct Expected { int curve; double v; double a; double tolerance; };
    const Expected published[] = {
        {0, 2, 4, 3e-3},          {1, MATH_PI / 2, MATH_PI * MATH_PI / 2, 1e-4}, {2, 2, 2 * MATH_PI, 1e-3},
        {3, 2, 4.88812, 1e-3},    {4, 1.75960, 5.52796, 1e-3},                 {6, 1.27526, 8.01268, 1e-3},
    };
    for (const Expected& e : published) {
        EXPECT_NEAR(peak(curveSlot(e.curve) + V_ROW, 799), e.v, e.tolerance) << "curve " << e.curve;
        EXPECT_NEAR(peak(curveSlot(e.curve) + A_ROW, 799), e.a, e.tolerance) << "curve " << e.curve;
    }
}

// The sample figures at riseSteps = 100: ends, peaks and the samples on or beside a boundary.
TEST(StandardCurves, SampleFiguresAtHundredSteps)
{
    buildAll(100);
    for (int c = 0; c < STANDARD_CURVE_COUNT; c++) {
        EXPECT_EQ(S(c, 0), 0.0) << c;
        EXPECT_NEAR(S(c, 100), 1.0, 1e-12) << c;
        EXPECT_NEAR(V(c, 0), 0.0, 1e-12) << c;
        EXPECT_NEAR(V(c, 100), 0.0, 1e-12) << c;
        EXPECT_NEAR(S(c, 50), 0.5, 1e-12) << c;
        if (c >= 2) {
            EXPECT_NEAR(A(c, 0), 0.0, 1e-12) << c;
            EXPECT_NEAR(A(c, 100), 0.0, 1e-12) << c;
        }
    }
    // Parabolic: T = 0.5 exactly belongs to the first half.
    EXPECT_EQ(S(0, 50), 0.5);
    EXPECT_EQ(V(0, 50), 2.0);
    EXPECT_EQ(A(0, 50), 4.0);
    EXPECT_EQ(A(0, 51), -4.0);
    EXPECT_EQ(A(0, 0), 4.0);
    EXPECT_EQ(A(0, 100), -4.0);
    // Harmonic and cycloid.
    EXPECT_NEAR(A(1, 0), 4.934802, 1e-6);
    EXPECT_NEAR(A(1, 100), -4.934802, 1e-6);
    EXPECT_NEAR(V(1, 50), 1.570796, 1e-6);
    EXPECT_NEAR(V(2, 50), 2.0, 1e-12);
    EXPECT_NEAR(A(2, 25), 6.283185, 1e-6);
    // Modified trapezoid: acceleration held exactly on 13..37 and 63..87, not beyond.
    const double trapezoidAmax = 1 / (0.25 - (1 - 2 / PI) * 0.125);
    EXPECT_NEAR(trapezoidAmax, 4.888124, 1e-6);
    for (int i = 13; i <= 37; i++)
        EXPECT_EQ(A(3, i), trapezoidAmax) << i;
    for (int i = 63; i <= 87; i++)
        EXPECT_EQ(A(3, i), -trapezoidAmax) << i;
    EXPECT_LT(A(3, 12), trapezoidAmax);
    EXPECT_LT(A(3, 38), trapezoidAmax);
    EXPECT_NEAR(V(3, 50), 2.0, 1e-12);
    // Modified sine.
    EXPECT_NEAR(V(4, 50), 1.759603, 1e-6);
    EXPECT_NEAR(peak(curveSlot(4) + A_ROW, 100), 5.526745, 1e-6);
    EXPECT_NEAR(A(4, 13), 5.526745, 1e-6);
    // Gutman F-3.
    EXPECT_NEAR(V(5, 50), 2.0, 1e-12);
    EXPECT_NEAR(A(5, 25), 4.712389, 1e-6);
    EXPECT_NEAR(A(5, 15), 5.129556, 1e-6);
    EXPECT_NEAR(A(5, 35), 5.129556, 1e-6);
    EXPECT_NEAR(A(5, 65), -5.129556, 1e-6);
    EXPECT_NEAR(A(5, 85), -5.129556, 1e-6);
    // Modified constant velocity: T = 0.25 and T = 0.75 on boundaries, 26..75 straight.
    for (int i = 26; i <= 75; i++) {
        EXPECT_NEAR(V(6, i), 1.275258, 1e-6) << i;
        EXPECT_EQ(A(6, i), 0.0) << i;
    }
    EXPECT_NE(A(6, 25), 0.0);
    EXPECT_NEAR(S(6, 25), 0.181185, 1e-6);
    EXPECT_NEAR(S(6, 75), 0.818815, 1e-6);
    EXPECT_NE(A(6, 76), 0.0);
}

// The two worked examples of curve 7.
TEST(TwoPointCurve, WorkedExamples)
{
    buildAll(100);
    double* slot = curveSlot(TWO_POINT_CURVE);
    buildTwoPointCurve(0.3, 0.2, 0.7, 0.8, slot);
    EXPECT_NEAR(S(7, 30), 0.2, 1e-12);
    EXPECT_NEAR(V(7, 30), 1.5, 1e-12);
    EXPECT_NEAR(A(7, 30), 0.0, 1e-9);
    for (int i = 31; i <= 69; i++) {
        EXPECT_EQ(V(7, i), (0.8 - 0.2) / (0.7 - 0.3)) << i;
        EXPECT_EQ(A(7, i), 0.0) << i;
    }
    // T of sample 70 lies just above 0.7: the lead-out.
    EXPECT_NE(A(7, 70), 0.0);
    EXPECT_NEAR(S(7, 50), 0.5, 1e-12);
    EXPECT_NEAR(S(7, 15), 0.028380, 1e-6);
    EXPECT_NEAR(V(7, 15), 0.583333, 1e-6);
    EXPECT_NEAR(A(7, 15), 2.5 * MATH_PI, 1e-6);
    EXPECT_NEAR(A(7, 18), 8.495459, 1e-6);
    EXPECT_NEAR(A(7, 82), -8.495459, 1e-6);
    EXPECT_NEAR(peak(slot + A_ROW, 100), 8.495459, 1e-6);
    EXPECT_NEAR(S(7, 100), 1.0, 1e-12);
    EXPECT_NEAR(V(7, 100), 0.0, 1e-12);
    EXPECT_NEAR(A(7, 100), 0.0, 1e-9);

    buildTwoPointCurve(0.25, 0.25, 0.75, 0.75, slot);
    for (int i = 26; i <= 75; i++)
        EXPECT_NEAR(S(7, i), i * 0.01, 1e-15) << i;
    EXPECT_EQ(A(7, 75), 0.0);
    EXPECT_NEAR(S(7, 25), 0.25, 1e-12);
    EXPECT_NEAR(V(7, 25), 1.0, 1e-12);
    EXPECT_NEAR(V(7, 10), 1.25, 1e-12);
    EXPECT_NEAR(A(7, 10), 13.361992, 1e-6);
}

// Where A may jump: the joints of the parabolic and modified trapezoid curves (T values).
static bool nearJoint(int curve, double T, double h)
{
    const double parabolic[] = {0.0, 0.5, 1.0};
    const double trapezoid[] = {0.125, 0.375, 0.625, 0.875};
    if (curve == 0)
        for (double j : parabolic)
            if (std::fabs(T - j) < 2 * h)
                return true;
    if (curve == 3)
        for (double j : trapezoid)
            if (std::fabs(T - j) < 2 * h)
                return true;
    return false;
}

// A mistyped term shows as V not matching dS/dT or A not matching dV/dT somewhere along the rise.
static void expectConsistent(int curve, int N, const char* name)
{
    const double h = 1.0 / N;
    const double* slot = curveSlot(curve);
    double worstV = 0;
    double worstA = 0;
    double worstJump = 0;
    for (int i = 1; i < N; i++) {
        double dS = (slot[i + 1] - slot[i - 1]) / (2 * h);
        worstV = std::fmax(worstV, std::fabs(dS - slot[V_ROW + i]));
        if (!nearJoint(curve, i * h, h)) {
            double dV = (slot[V_ROW + i + 1] - slot[V_ROW + i - 1]) / (2 * h);
            worstA = std::fmax(worstA, std::fabs(dV - slot[A_ROW + i]));
        }
        // S continuous: each step of S is what the velocity integrates to (trapezoid rule).
        worstJump = std::fmax(worstJump, std::fabs(slot[i + 1] - slot[i] - h * (slot[V_ROW + i] + slot[V_ROW + i + 1]) / 2));
    }
    EXPECT_LT(worstV, 1e-3) << name;
    EXPECT_LT(worstA, 5e-2) << name;
    EXPECT_LT(worstJump, 1e-5) << name;
    EXPECT_EQ(slot[0], 0.0) << name;
    EXPECT_NEAR(slot[N], 1.0, 1e-12) << name;
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
    double* seven = curveSlot(7);
    for (int i = 0; i < CURVE_STRIDE; i++)
        seven[i] = 7.5;
    buildStandardCurves();
    EXPECT_EQ(appState.Ta, 0.0625);
    EXPECT_NEAR(appState.Sa, 0.007241, 1e-6);
    EXPECT_EQ(appState.Tb, 0.25);
    EXPECT_NEAR(appState.Sb, 0.181185, 1e-6);
    for (int i = 0; i < CURVE_STRIDE; i++)
        ASSERT_EQ(seven[i], 7.5) << i;

    static double first[7 * CURVE_STRIDE];
    memcpy(first, motionTables, sizeof first);
    buildStandardCurves();
    EXPECT_EQ(memcmp(first, motionTables, sizeof first), 0);

    for (int c = 0; c < STANDARD_CURVE_COUNT; c++)
        for (int row = 0; row < 3; row++)
            for (int i = 101; i < ROW_LENGTH; i++)
                ASSERT_EQ(curveSlot(c)[row * ROW_LENGTH + i], 0.0) << c << " " << row << " " << i;
}

// A riseSteps the rows cannot hold is held to the last sample; nothing spills into the next row.
TEST(StandardCurves, OversizedRiseStepsStaysInsideRows)
{
    memset(motionTables, 0, sizeof motionTables);
    setRiseSteps(5000);
    EXPECT_EQ(lastSampleIndex(), ROW_LENGTH - 1);
    double* seven = curveSlot(7);
    for (int i = 0; i < CURVE_STRIDE; i++)
        seven[i] = 7.5;
    buildStandardCurves();
    for (int i = 0; i < CURVE_STRIDE; i++)
        ASSERT_EQ(seven[i], 7.5) << i;
    // T = 799 / 5000: the S row must still start at 0 and the V row at 0 (not S values spilled over).
    EXPECT_EQ(S(1, 0), 0.0);
    EXPECT_EQ(V(1, 0), 0.0);
    EXPECT_NEAR(S(1, 799), (1 - cos(PI * 799 / 5000.0)) * 0.5, 1e-12);
}

// Points are accepted only where every sample comes out finite.
TEST(TwoPointCurve, AcceptsOnlyPointsThatGiveFiniteSamples)
{
    setRiseSteps(100);
    EXPECT_TRUE(twoPointCurveAccepts(0.3, 0.2, 0.7, 0.8));
    EXPECT_TRUE(twoPointCurveAccepts(0.25, 0.25, 0.75, 0.75));
    EXPECT_TRUE(twoPointCurveAccepts(0.3, -0.5, 0.7, 1.5));
    const double rejected[][4] = {
        {0, 0.2, 0.7, 0.8},   {-0.1, 0.2, 0.7, 0.8}, {0.3, 0.2, 0.3, 0.8},  {0.7, 0.2, 0.3, 0.8},
        {0.3, 0.2, 1.0, 0.8}, {0.3, NAN, 0.7, 0.8},  {0.3, 0.2, 0.7, INFINITY}, {NAN, 0.2, 0.7, 0.8},
        {0.3, 1e308, 0.7, -1e308},
    };
    for (const auto& p : rejected)
        EXPECT_FALSE(twoPointCurveAccepts(p[0], p[1], p[2], p[3])) << p[0] << " " << p[1] << " " << p[2] << " " << p[3];
}
