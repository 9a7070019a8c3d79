// The basic laws: parabolic, harmonic and cycloid, with their jerk.
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
