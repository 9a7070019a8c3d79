// The tables and their sampling grid: slots 0..6 filled from the laws' formulas.
#include "curves/motion_tables.h"

#include "app/app_state.h"
#include "curves/law_formulas.h"

MotionTables motionTables;

// The composite laws leave their joint points in appState as their tables are built; indexed by CurveId.
static void (*const STORE_JOINT_POINTS[STANDARD_CURVE_COUNT])() = {
    nullptr, nullptr, nullptr, storeModifiedTrapezoidJointPoints, storeModifiedSineJointPoints,
    nullptr, storeModifiedConstantVelocityJointPoints,
};

int lastSampleIndex()
{
    // A riseSteps beyond the row would write into the next row or past the block.
    return appState.riseSteps < ROW_LENGTH - 1 ? appState.riseSteps : ROW_LENGTH - 1;
}

double sampleTime(int i) { return static_cast<double>(i) * appState.timeStep; }

void storeLawSample(double* slot, int i, const LawSample& sample)
{
    slot[i] = sample.S;
    slot[V_ROW + i] = sample.V;
    slot[A_ROW + i] = sample.A;
}

void buildStandardCurves()
{
    // The standard laws read no points.
    const TwoPoints none = {0, 0, 0, 0};
    for (int curve = 0; curve < STANDARD_CURVE_COUNT; curve++) {
        if (STORE_JOINT_POINTS[curve])
            STORE_JOINT_POINTS[curve]();
        double* slot = curveSlot(curve);
        for (int i = 0; i <= lastSampleIndex(); i++)
            storeLawSample(slot, i, evaluateLaw(curve, sampleTime(i), none));
    }
}
