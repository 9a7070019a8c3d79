// The characteristic values of a motion law (peak velocity, acceleration, jerk and A·V) and where its jerk is infinite.
// Everything is dimensionless: normalized time T and displacement S over the rise, V = dS/dT, A = dV/dT, J = dA/dT.
#pragma once

#include <vector>

#include "curves/motion_laws.h"

// A jump of the acceleration: the jerk there is an impulse of this size, infinite, up when jump > 0.
struct JerkImpulse {
    double T;
    double jump;  // A just after T minus A just before; the dwells at rest before 0 and after 1 have A = 0
};

struct LawCharacteristics {
    double Vm;   // max |V|
    double Am;   // max |A|
    double Jm;   // max |J| inside the segments, one-sided limits at joints and ends included
    double AVm;  // max of A·V, which sets the peak drive power
    std::vector<JerkImpulse> infiniteJerks;  // ascending T; empty when the jerk is finite everywhere
};

// Found from the law's formulas, segment by segment: dense sampling, then a golden-section refinement of each
// maximum, to about 1e-12 relative. Returns false when the law gives a non-finite value anywhere it was
// evaluated (law 7 with extreme points).
bool lawCharacteristics(int curve, const TwoPoints& points, LawCharacteristics& values);
