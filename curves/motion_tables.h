// Sampled cam curves: S, V and A of eight normalized motion laws, and the builders that fill them.
// Normalized time T and displacement S run 0..1 over the rise; V = dS/dT and A = d2S/dT2 are dimensionless.
#pragma once

#include "curves/motion_laws.h"

// Curve numbers (CurveId): 0 parabolic, 1 harmonic, 2 cycloid, 3 modified trapezoid,
// 4 modified sine, 5 Gutman F-3, 6 modified constant velocity, 7 through two typed points.
constexpr int CURVE_COUNT = 8;
constexpr int STANDARD_CURVE_COUNT = 7;
constexpr int TWO_POINT_CURVE = 7;

// Layout: slot k = rows S, V, A of curve k, each ROW_LENGTH samples; sample i of curve k's S row
// is at k * CURVE_STRIDE + i, its V at + V_ROW, its A at + A_ROW.
constexpr int ROW_LENGTH = 800;
constexpr int V_ROW = ROW_LENGTH;
constexpr int A_ROW = 2 * ROW_LENGTH;
constexpr int CURVE_STRIDE = 3 * ROW_LENGTH;
constexpr int TABLE_LENGTH = CURVE_COUNT * CURVE_STRIDE;

// The tables, one flat block in static storage; zero at load. Samples past riseSteps stay 0.
typedef double MotionTables[TABLE_LENGTH];
extern MotionTables motionTables;

// Start of the S row of a curve's slot.
inline double* curveSlot(int curve) { return motionTables + curve * CURVE_STRIDE; }

// Index of the last sample a builder writes: riseSteps, held to the last sample a row can take.
int lastSampleIndex();

// Normalized time of sample i: i times the stored timeStep, not i / riseSteps.
double sampleTime(int i);

// Writes S, V and A of one law sample into sample i of the three rows of a slot.
struct LawSample;
void storeLawSample(double* slot, int i, const LawSample& sample);

// Fills slots 0..6 from appState.riseSteps and timeStep; leaves the composite curves' joint points
// in appState.Ta, Sa, Tb, Sb (0.0625, 0.007241, 0.25, 0.181185) and slot 7 untouched.
void buildStandardCurves();

// Fills the slot whose S row starts at slot with the curve through A(Ta, Sa) and B(Tb, Sb).
// Checks nothing: only 0 < Ta < Tb < 1 is sure to give finite samples.
void buildTwoPointCurve(double Ta, double Sa, double Tb, double Sb, double* slot);

// True when the points lie in 0 < Ta < Tb < 1 and give curve 7 finite samples everywhere.
bool twoPointCurveAccepts(double Ta, double Sa, double Tb, double Sb);
