// Curve 7: rest at (0, 0), through A(Ta, Sa), straight to B(Tb, Sb), rest at (1, 1).
// Lead-in and lead-out are each a half-period and a full-period sine term, so S, V and A are continuous.
#include <cmath>

#include "curves/curve_builders.h"
#include "curves/motion_tables.h"

// Be careful: divides by Ta, Tb - Ta and 1 - Tb; the caller makes sure 0 < Ta < Tb < 1.
void buildTwoPointCurve(double Ta, double Sa, double Tb, double Sb, double* slot)
{
    const double m = (Sb - Sa) / (Tb - Ta);
    const double p = Sa / Ta - m / 2;
    const double d = 1 - Tb;
    const double q = (1 - Sb) / (1 - Tb) - m / 2;

    for (int i = 0; i <= lastSampleIndex(); i++) {
        double T = sampleTime(i);
        if (T <= Ta) {
            double full = (TWO_PI * T) / Ta;
            double half = (PI * T) / Ta;
            storeSample(slot, i, (T - sin(full) * Ta / TWO_PI) * p + (T - sin(half) * Ta / PI) * (m / 2),
                        (1 - cos(full)) * p + (1 - cos(half)) * (m / 2),
                        sin(full) * (p * TWO_PI / Ta) + sin(half) * (PI * m / (2 * Ta)));
        }
        if (Ta < T && T <= Tb)
            storeSample(slot, i, (T - Ta) * m + Sa, m, 0);
        // The lead-out mirrors the lead-in in u = 1 - T, which runs from d at B to 0 at the end.
        if (T > Tb) {
            double u = 1 - T;
            double half = (PI * u) / d;
            double full = (TWO_PI * u) / d;
            storeSample(slot, i, (1 - (u - sin(half) * d / PI) * (m / 2)) - (u - sin(full) * d / TWO_PI) * q,
                        (1 - cos(full)) * q + (1 - cos(half)) * (m / 2),
                        sin(half) * (-PI * m / (d + d)) - sin(full) * (q * TWO_PI / d));
        }
    }
}

bool twoPointCurveAccepts(double Ta, double Sa, double Tb, double Sb)
{
    if (!(0 < Ta && Ta < Tb && Tb < 1) || !std::isfinite(Sa) || !std::isfinite(Sb))
        return false;
    // Points in range can still overflow (huge Sa, or Ta and Tb a rounding apart): try them on a scratch slot.
    static double trialSlot[CURVE_STRIDE];
    buildTwoPointCurve(Ta, Sa, Tb, Sb, trialSlot);
    for (int i = 0; i <= lastSampleIndex(); i++)
        if (!std::isfinite(trialSlot[i]) || !std::isfinite(trialSlot[V_ROW + i]) ||
            !std::isfinite(trialSlot[A_ROW + i]))
            return false;
    return true;
}
