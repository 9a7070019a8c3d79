// The basic laws: parabolic, harmonic, cycloid and the 3-4-5 and 4-5-6-7 polynomials, with their jerk.
#include <cmath>

#include "curves/law_formulas.h"
#include "curves/motion_tables.h"

// Constant acceleration +4, then -4: the jerk is 0 inside and infinite at T = 0, 0.5 and 1.
LawSample parabolicAt(double T, const TwoPoints&)
{
    if (T <= 0.5)
        return {2 * T * T, 4 * T, 4, 0};
    return {(4 - 2 * T) * T - 1, (1 - T) * 4, -4, 0};
}

int parabolicJoints(const TwoPoints&, double* joints)
{
    joints[0] = 0.5;
    return 1;
}

// A half cosine of acceleration: it starts at +pi^2/2 and ends at -pi^2/2, so the jerk is infinite at both ends.
LawSample harmonicAt(double T, const TwoPoints&)
{
    const double s = sin(PI * T);
    const double c = cos(PI * T);
    return {(1 - c) * 0.5, s * (PI / 2), c * (PI * PI / 2), s * (-PI * PI * PI / 2)};
}

LawSample cycloidAt(double T, const TwoPoints&)
{
    const double s = sin(TWO_PI * T);
    const double c = cos(TWO_PI * T);
    return {T - s / TWO_PI, 1 - c, s * TWO_PI, c * (TWO_PI * TWO_PI)};
}

int noJoints(const TwoPoints&, double*) { return 0; }

// S = 10T^3 - 15T^4 + 6T^5: V and A vanish at both ends, so the jerk is finite everywhere (60 at the ends).
LawSample polynomial345At(double T, const TwoPoints&)
{
    const double u = 1 - T;
    return {T * T * T * (10 - T * (15 - 6 * T)), 30 * T * T * u * u, 60 * T * u * (1 - 2 * T),
            60 - T * (360 - 360 * T)};
}

// S = 35T^4 - 84T^5 + 70T^6 - 20T^7: the jerk too starts and ends at 0.
LawSample polynomial4567At(double T, const TwoPoints&)
{
    const double u = 1 - T, T2 = T * T;
    return {T2 * T2 * (35 - T * (84 - T * (70 - 20 * T))), 140 * T2 * T * u * u * u, 420 * T2 * u * u * (1 - 2 * T),
            840 * T * u * (1 - T * (5 - 5 * T))};
}
