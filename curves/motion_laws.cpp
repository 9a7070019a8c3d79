// One table of every law's formulas, indexed by law number, and the procedures that look a law up in it.
#include "curves/motion_laws.h"

#include <cmath>

#include "curves/law_formulas.h"

struct LawFormulas {
    LawSample (*at)(double T, const TwoPoints& points);
    int (*joints)(const TwoPoints& points, double* joints);
};

static const LawFormulas LAWS[LAW_COUNT] = {
    {parabolicAt, parabolicJoints},
    {harmonicAt, noJoints},
    {cycloidAt, noJoints},
    {modifiedTrapezoidAt, modifiedTrapezoidJoints},
    {modifiedSineAt, modifiedSineJoints},
    {gutmanF3At, noJoints},
    {modifiedConstantVelocityAt, modifiedConstantVelocityJoints},
    {twoPointAt, twoPointJoints},
    {polynomial345At, noJoints},
    {polynomial4567At, noJoints},
};

LawSample evaluateLaw(int curve, double T, const TwoPoints& points) { return LAWS[curve].at(T, points); }

int lawJoints(int curve, const TwoPoints& points, double* joints) { return LAWS[curve].joints(points, joints); }

int lawSegmentBounds(int curve, const TwoPoints& points, double* bounds)
{
    const int joints = lawJoints(curve, points, bounds + 1);
    bounds[0] = 0;
    bounds[joints + 1] = 1;
    return joints + 1;
}

bool lawSampleFinite(const LawSample& sample)
{
    return std::isfinite(sample.S) && std::isfinite(sample.V) && std::isfinite(sample.A) && std::isfinite(sample.J);
}
