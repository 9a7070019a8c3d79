// The motion laws as functions of T: S, V, A and the jerk J of each CurveId at one point, and their joints.
// T and S run 0..1 over the rise; V = dS/dT, A = dV/dT and J = dA/dT are dimensionless.
#pragma once

// The typed points of law 7, A(Ta, Sa) and B(Tb, Sb); the other laws ignore them.
struct TwoPoints {
    double Ta, Sa, Tb, Sb;
};

// One point of a law. J is the owning segment's dA/dT, finite wherever S, V and A are; where A jumps
// (a joint, or an end against the dwell at rest) the true jerk is infinite and J is the one-sided value.
struct LawSample {
    double S, V, A, J;
};

// Most segment boundaries of any law: the modified trapezoid and modified constant velocity have four.
constexpr int MAX_LAW_JOINTS = 4;

// The law `curve` (0..7) at T, with the tables' boundary rule: a T exactly on a joint belongs to the
// earlier segment. Law 7 needs 0 < Ta < Tb < 1 (see twoPointsInRange) and may still overflow for
// extreme points; callers check the results with lawSampleFinite.
LawSample evaluateLaw(int curve, double T, const TwoPoints& points);

// Segment boundaries strictly inside 0 < T < 1, ascending, written to joints; returns their count
// (at most MAX_LAW_JOINTS). For law 7 they are Ta and Tb.
int lawJoints(int curve, const TwoPoints& points, double* joints);

// The console's rule for the points of law 7: 0 < Ta < Tb < 1 and Sa, Sb finite.
bool twoPointsInRange(const TwoPoints& points);

bool lawSampleFinite(const LawSample& sample);
