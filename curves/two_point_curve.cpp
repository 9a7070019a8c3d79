// Law 7: rest at (0, 0), through A(Ta, Sa), straight to B(Tb, Sb), rest at (1, 1).
// Lead-in and lead-out are each a half-period and a full-period sine term, so S, V and A are continuous.
#include <cmath>

#include "curves/law_formulas.h"
#include "curves/motion_tables.h"

// Be careful: divides by Ta, Tb - Ta and 1 - Tb; the caller makes sure 0 < Ta < Tb < 1.
LawSample twoPointAt(double T, const TwoPoints& points)
{
    const double Ta = points.Ta, Sa = points.Sa, Tb = points.Tb, Sb = points.Sb;
    // m: slope of the straight segment; p, q: weights of the full-period terms of lead-in and lead-out.
    const double m = (Sb - Sa) / (Tb - Ta);
    if (T <= Ta) {
        const double p = Sa / Ta - m / 2;
        const double full = (TWO_PI * T) / Ta;
        const double half = (PI * T) / Ta;
        const double sf = sin(full), cf = cos(full), sh = sin(half), ch = cos(half);
        return {(T - sf * Ta / TWO_PI) * p + (T - sh * Ta / PI) * (m / 2), (1 - cf) * p + (1 - ch) * (m / 2),
                sf * (p * TWO_PI / Ta) + sh * (PI * m / (2 * Ta)),
                cf * (p * TWO_PI / Ta * (TWO_PI / Ta)) + ch * (PI * m / (2 * Ta) * (PI / Ta))};
    }
    if (T <= Tb)
        return {(T - Ta) * m + Sa, m, 0, 0};
    // The lead-out mirrors the lead-in in u = 1 - T, which runs from d at B to 0 at the end.
    const double d = 1 - Tb;
    const double q = (1 - Sb) / (1 - Tb) - m / 2;
    const double u = 1 - T;
    const double half = (PI * u) / d;
    const double full = (TWO_PI * u) / d;
    const double sf = sin(full), cf = cos(full), sh = sin(half), ch = cos(half);
    return {(1 - (u - sh * d / PI) * (m / 2)) - (u - sf * d / TWO_PI) * q, (1 - cf) * q + (1 - ch) * (m / 2),
            sh * (-PI * m / (d + d)) - sf * (q * TWO_PI / d),
            ch * (PI * m / (d + d) * (PI / d)) + cf * (q * TWO_PI / d * (TWO_PI / d))};
}

int twoPointJoints(const TwoPoints& points, double* joints)
{
    joints[0] = points.Ta;
    joints[1] = points.Tb;
    return 2;
}

bool twoPointsInRange(const TwoPoints& points)
{
    return 0 < points.Ta && points.Ta < points.Tb && points.Tb < 1 && std::isfinite(points.Sa) &&
           std::isfinite(points.Sb);
}

void buildTwoPointCurve(double Ta, double Sa, double Tb, double Sb, double* slot)
{
    const TwoPoints points = {Ta, Sa, Tb, Sb};
    for (int i = 0; i <= lastSampleIndex(); i++)
        storeLawSample(slot, i, evaluateLaw(TWO_POINT_CURVE, sampleTime(i), points));
}

bool twoPointCurveAccepts(double Ta, double Sa, double Tb, double Sb)
{
    const TwoPoints points = {Ta, Sa, Tb, Sb};
    if (!twoPointsInRange(points))
        return false;
    // Points in range can still overflow (huge Sa, or Ta and Tb a rounding apart): try every sample of the table.
    for (int i = 0; i <= lastSampleIndex(); i++) {
        const LawSample sample = evaluateLaw(TWO_POINT_CURVE, sampleTime(i), points);
        if (!std::isfinite(sample.S) || !std::isfinite(sample.V) || !std::isfinite(sample.A))
            return false;
    }
    return true;
}

// With x = pi T / Ta the lead-in's V is 2 sin^2(x/2) (4 p cos^2(x/2) + m/2), p = Sa/Ta - m/2: it stays >= 0 exactly
// when m >= 0 and 4p + m/2 >= 0, i.e. 8 Sa (Tb - Ta) >= 3 Ta (Sb - Sa). The lead-out mirrors it in 1 - T with
// 1 - Sb and 1 - Tb. V >= 0 with S(0) = 0 and S(1) = 1 keeps S within 0..1.
bool twoPointsKeepRising(const TwoPoints& points)
{
    if (!twoPointsInRange(points))
        return false;
    const double Ta = points.Ta, Sa = points.Sa, Tb = points.Tb, Sb = points.Sb;
    const double rise = Sb - Sa, span = Tb - Ta;
    return rise >= 0 && 8 * Sa * span >= 3 * Ta * rise && 8 * (1 - Sb) * span >= 3 * (1 - Tb) * rise;
}
