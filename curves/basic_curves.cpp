// The tables, the sampling grid and the basic curves: parabolic, harmonic, cycloid.
#include <cmath>

#include "app/app_state.h"
#include "curves/curve_builders.h"
#include "curves/motion_tables.h"

MotionTables motionTables;

// Indexed by CurveId; buildStandardCurves runs them in this order.
static void (*const STANDARD_BUILDERS[STANDARD_CURVE_COUNT])(double*) = {
    buildParabolic, buildHarmonic, buildCycloid, buildModifiedTrapezoid,
    buildModifiedSine, buildGutmanF3, buildModifiedConstantVelocity,
};

int lastSampleIndex()
{
    // A riseSteps beyond the row would write into the next row or past the block.
    return appState.riseSteps < ROW_LENGTH - 1 ? appState.riseSteps : ROW_LENGTH - 1;
}

double sampleTime(int i) { return static_cast<double>(i) * appState.timeStep; }

void storeSample(double* slot, int i, double s, double v, double a)
{
    slot[i] = s;
    slot[V_ROW + i] = v;
    slot[A_ROW + i] = a;
}

void buildStandardCurves()
{
    for (int curve = 0; curve < STANDARD_CURVE_COUNT; curve++)
        STANDARD_BUILDERS[curve](curveSlot(curve));
}

// Constant acceleration +4, then -4; a sample on T = 0.5 belongs to the first half.
void buildParabolic(double* slot)
{
    for (int i = 0; i <= lastSampleIndex(); i++) {
        double T = sampleTime(i);
        if (T <= 0.5)
            storeSample(slot, i, 2 * T * T, 4 * T, 4);
        if (T > 0.5)
            storeSample(slot, i, (4 - 2 * T) * T - 1, (1 - T) * 4, -4);
    }
}

void buildHarmonic(double* slot)
{
    for (int i = 0; i <= lastSampleIndex(); i++) {
        double T = sampleTime(i);
        storeSample(slot, i, (1 - cos(PI * T)) * 0.5, sin(PI * T) * (PI / 2), cos(PI * T) * (PI * PI / 2));
    }
}

void buildCycloid(double* slot)
{
    for (int i = 0; i <= lastSampleIndex(); i++) {
        double T = sampleTime(i);
        storeSample(slot, i, T - sin(TWO_PI * T) / TWO_PI, 1 - cos(TWO_PI * T), sin(TWO_PI * T) * TWO_PI);
    }
}
