// The motion laws as functions of T: S, V, A and the jerk J of each law at one point, and their joints.
// T and S run 0..1 over the rise; V = dS/dT, A = dV/dT and J = dA/dT are dimensionless.
#pragma once

// Constants of every curve formula; PI has exactly these 15 significant digits.
constexpr double PI = 3.14159265358979;
constexpr double TWO_PI = 2 * PI;
constexpr double FOUR_PI = 4 * PI;

// Laws 0..7 are the window's curves (CurveId); 8 and 9 are the polynomials only camprofile offers.
constexpr int LAW_COUNT = 10;
constexpr int POLYNOMIAL_345 = 8;
constexpr int POLYNOMIAL_4567 = 9;

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

// The law `curve` (0..LAW_COUNT - 1) at T, with the tables' boundary rule: a T exactly on a joint belongs to the
// earlier segment. Law 7 needs 0 < Ta < Tb < 1 (see twoPointsInRange) and may still overflow for
// extreme points; callers check the results with lawSampleFinite.
LawSample evaluateLaw(int curve, double T, const TwoPoints& points);

// Segment boundaries strictly inside 0 < T < 1, ascending, written to joints; returns their count
// (at most MAX_LAW_JOINTS). For law 7 they are Ta and Tb.
int lawJoints(int curve, const TwoPoints& points, double* joints);

// The law's segments as bounds 0 = b[0] < b[1] < ... < b[n] = 1 (the joints between), written to bounds, which
// holds MAX_LAW_JOINTS + 2; returns the number of segments n.
int lawSegmentBounds(int curve, const TwoPoints& points, double* bounds);

// The console's rule for the points of law 7: 0 < Ta < Tb < 1 and Sa, Sb finite.
bool twoPointsInRange(const TwoPoints& points);

// A cam's stricter rule for points in range: V >= 0 over the whole law, hence S within 0..1 (the follower
// neither runs backwards nor leaves the base circle). Exact, from the closed form of V on each part.
bool twoPointsKeepRising(const TwoPoints& points);

bool lawSampleFinite(const LawSample& sample);
