// The composite laws: modified trapezoid, modified sine, Gutman F-3 and modified constant velocity, with their jerk.
// Segments are tested in order; a T exactly on a boundary belongs to the earlier segment.
#include <cmath>

#include "app/app_state.h"
#include "curves/law_formulas.h"
#include "curves/motion_tables.h"

// Modified trapezoid: sine ramps of acceleration around constant +Amax and -Amax; boundaries a, 3a, 5a, 7a.
namespace trapezoid {
constexpr double a = 0.125;
constexpr double Amax = 1 / (0.25 - (1 - 2 / PI) * a);
constexpr double c1 = Amax / FOUR_PI;
constexpr double c2 = 1 / FOUR_PI;
constexpr double c3 = (1 - 2 / PI) / (32 * PI);
constexpr double c4 = 0.5 - (2 - 2 / PI) / 8;
constexpr double c5 = (0.125 - (1 - 1 / PI) / 8) + (2 - 2 / PI) / 64;
}  // namespace trapezoid

LawSample modifiedTrapezoidAt(double T, const TwoPoints&)
{
    using namespace trapezoid;
    if (T <= a) {
        const double s = sin(FOUR_PI * T);
        const double c = cos(FOUR_PI * T);
        return {(T - s / FOUR_PI) * c1, (1 - c) * c1, s * Amax, c * (FOUR_PI * Amax)};
    }
    if (T <= 3 * a)
        return {((T - a) * (T - a) / 2 + (T - a) * c2 + c3) * Amax, ((T - a) + c2) * Amax, Amax, 0};
    if (T <= 5 * a) {
        const double s = sin((T - 0.5) * FOUR_PI);
        const double c = cos((T - 0.5) * FOUR_PI);
        return {(s / (FOUR_PI * FOUR_PI) + (T - 0.5 + a) * c4 + c5) * Amax, (c / FOUR_PI + c4) * Amax, s * (-Amax),
                c * (-FOUR_PI * Amax)};
    }
    // The last two segments mirror the first two about T = 0.5, with u running back from the end.
    const double u = 1 - T;
    if (T <= 7 * a)
        return {1 - ((u - a) * (u - a) / 2 + (u - a) * c2 + c3) * Amax, ((u - a) + c2) * Amax, -Amax, 0};
    const double s = sin(FOUR_PI * u);
    const double c = cos(FOUR_PI * u);
    return {1 - (u - s / FOUR_PI) * c1, (1 - c) * c1, s * (-Amax), c * (FOUR_PI * Amax)};
}

int modifiedTrapezoidJoints(const TwoPoints&, double* joints)
{
    using namespace trapezoid;
    joints[0] = a;
    joints[1] = 3 * a;
    joints[2] = 5 * a;
    joints[3] = 7 * a;
    return 4;
}

void storeModifiedTrapezoidJointPoints() { appState.Ta = trapezoid::a; }

// The opening quarter sine of acceleration that the modified sine and modified constant velocity share:
// from rest at T = 0 to V = v1 and A = Amax at T = a.
static LawSample quarterSineStart(double T, double a, double v1, double Amax)
{
    const double s = sin(PI * T / (2 * a));
    const double c = cos(PI * T / (2 * a));
    return {v1 * T - s * (2 * a * v1 / PI), (1 - c) * v1, s * Amax, c * (Amax * PI / (2 * a))};
}

// Modified sine: a quarter sine of acceleration, a long cosine, a closing quarter; boundaries a and 1 - a.
namespace modsine {
constexpr double a = 0.125;
constexpr double Amax = 1 / (2 * a / PI + (2 - 8 * a) / (PI * PI));
constexpr double v1 = 2 * a * Amax / PI;
constexpr double s1 = (2 * a * a * Amax / PI) * (1 - 2 / PI);
}  // namespace modsine

LawSample modifiedSineAt(double T, const TwoPoints&)
{
    using namespace modsine;
    if (T <= a)
        return quarterSineStart(T, a, v1, Amax);
    if (T <= 1 - a) {
        const double x = (T - a) * PI / (1 - 2 * a);
        const double s = sin(x);
        const double c = cos(x);
        return {(1 - c) * ((1 - 2 * a) * (1 - 2 * a) * Amax / (PI * PI)) + (T - a) * v1 + s1,
                s * ((1 - 2 * a) * Amax / PI) + v1, c * Amax, s * (-Amax * PI / (1 - 2 * a))};
    }
    // u is measured from the start of the last segment (0..a).
    const double u = (T - 1) + a;
    const double y = u * PI / (2 * a);
    const double s = sin(y);
    const double c = cos(y);
    return {(c - 1) * (2 * a * v1 / PI) + u * v1 + (1 - s1), (1 - s) * v1, c * (-Amax), s * (Amax * PI / (2 * a))};
}

int modifiedSineJoints(const TwoPoints&, double* joints)
{
    joints[0] = modsine::a;
    joints[1] = 1 - modsine::a;
    return 2;
}

void storeModifiedSineJointPoints()
{
    appState.Ta = modsine::a;
    appState.Sa = modsine::s1;
}

// Gutman F-3, one formula: a full and a third-harmonic sine of acceleration.
LawSample gutmanF3At(double T, const TwoPoints&)
{
    const double s2 = sin((2 * PI) * T);
    const double c2 = cos((2 * PI) * T);
    const double s6 = sin((6 * PI) * T);
    const double c6 = cos((6 * PI) * T);
    return {T - s2 * (15 / (32 * PI)) - s6 * (1 / (96 * PI)), 1 - c2 * 0.9375 - c6 * 0.0625,
            s6 * (3 * PI / 8) + s2 * (15 * PI / 8), c6 * (3 * PI / 8 * (6 * PI)) + c2 * (15 * PI / 8 * (2 * PI))};
}

// Modified constant velocity: sine ramps up to a constant velocity vc over the middle half and back down;
// boundaries a, b, 1 - b, 1 - a.
namespace constvel {
constexpr double a = 0.0625;
constexpr double b = 0.25;
constexpr double Amax = ((1 / (2 / PI)) / b) / ((2 - 8 / PI) * a + (4 / PI - 2) * b + 1);
constexpr double v1 = 2 * a * Amax / PI;
constexpr double s1 = a * v1 - 2 * a * v1 / PI;
constexpr double vc = 2 * b * Amax / PI;
constexpr double s2 = (b - a) * 4 * (b - a) * Amax / (PI * PI) + (b - a) * v1 + s1;
constexpr double d = (b - a) + (b - a);
constexpr double K = (b - a) * 4 * (b - a) * Amax / (PI * PI);
}  // namespace constvel

LawSample modifiedConstantVelocityAt(double T, const TwoPoints&)
{
    using namespace constvel;
    if (T <= a)
        return quarterSineStart(T, a, v1, Amax);
    if (T <= b) {
        const double x = (T - a) * PI / d;
        const double s = sin(x);
        const double c = cos(x);
        return {(1 - c) * K + (T - a) * v1 + s1, s * (d * Amax / PI) + v1, c * Amax, s * (-Amax * PI / d)};
    }
    if (T <= 1 - b)
        return {(T - b) * vc + s2, vc, 0, 0};
    // u and w are measured from the start of their segments.
    if (T <= 1 - a) {
        const double u = (T - 1) + b;
        const double x = PI * u / d;
        const double s = sin(x);
        const double c = cos(x);
        return {s * K - (d * Amax / PI) * u + vc * u + 1 - s2, c * (d * Amax / PI) - d * Amax / PI + vc, s * (-Amax),
                c * (-Amax * PI / d)};
    }
    const double w = (T - 1) + a;
    const double y = w * PI / (2 * a);
    const double s = sin(y);
    const double c = cos(y);
    return {(c - 1) * (2 * a * v1 / PI) + w * v1 + 1 - s1, s * (-v1) + v1, c * (-Amax), s * (Amax * PI / (2 * a))};
}

int modifiedConstantVelocityJoints(const TwoPoints&, double* joints)
{
    using namespace constvel;
    joints[0] = a;
    joints[1] = b;
    joints[2] = 1 - b;
    joints[3] = 1 - a;
    return 4;
}

void storeModifiedConstantVelocityJointPoints()
{
    appState.Ta = constvel::a;
    appState.Tb = constvel::b;
    appState.Sa = constvel::s1;
    appState.Sb = constvel::s2;
}
