// The composite curves: modified trapezoid, modified sine, Gutman F-3, modified constant velocity.
// Each segment is tested on its own; a sample exactly on a boundary belongs to the earlier segment.
#include <cmath>

#include "app/app_state.h"
#include "curves/curve_builders.h"
#include "curves/motion_tables.h"

// Sine ramps of acceleration around constant +Amax and -Amax; boundaries a, 3a, 5a, 7a with a = 1/8.
void buildModifiedTrapezoid(double* slot)
{
    appState.Ta = 0.125;
    const double a = appState.Ta;
    const double Amax = 1 / (0.25 - (1 - 2 / PI) * a);
    const double c1 = Amax / FOUR_PI;
    const double c2 = 1 / FOUR_PI;
    const double c3 = (1 - 2 / PI) / (32 * PI);
    const double c4 = 0.5 - (2 - 2 / PI) / 8;
    const double c5 = (0.125 - (1 - 1 / PI) / 8) + (2 - 2 / PI) / 64;

    for (int i = 0; i <= lastSampleIndex(); i++) {
        double T = sampleTime(i);
        if (T <= a)
            storeSample(slot, i, (T - sin(FOUR_PI * T) / FOUR_PI) * c1, (1 - cos(FOUR_PI * T)) * c1,
                        sin(FOUR_PI * T) * Amax);
        if (a < T && T <= 3 * a)
            storeSample(slot, i, ((T - a) * (T - a) / 2 + (T - a) * c2 + c3) * Amax, ((T - a) + c2) * Amax, Amax);
        if (3 * a < T && T <= 5 * a)
            storeSample(slot, i,
                        (sin((T - 0.5) * FOUR_PI) / (FOUR_PI * FOUR_PI) + (T - 0.5 + a) * c4 + c5) * Amax,
                        (cos((T - 0.5) * FOUR_PI) / FOUR_PI + c4) * Amax, sin((T - 0.5) * FOUR_PI) * (-Amax));
        // The last two segments mirror the first two about T = 0.5, with u running back from the end.
        if (5 * a < T && T <= 7 * a) {
            double u = 1 - T;
            storeSample(slot, i, 1 - ((u - a) * (u - a) / 2 + (u - a) * c2 + c3) * Amax, ((u - a) + c2) * Amax,
                        -Amax);
        }
        if (T > 7 * a) {
            double u = 1 - T;
            storeSample(slot, i, 1 - (u - sin(FOUR_PI * u) / FOUR_PI) * c1, (1 - cos(FOUR_PI * u)) * c1,
                        sin(FOUR_PI * u) * (-Amax));
        }
    }
}

// Quarter sine of acceleration, a long cosine, a closing quarter; boundaries a and 1 - a with a = 1/8.
void buildModifiedSine(double* slot)
{
    appState.Ta = 0.125;
    const double a = appState.Ta;
    const double Amax = 1 / (2 * a / PI + (2 - 8 * a) / (PI * PI));
    const double v1 = 2 * a * Amax / PI;
    const double s1 = (2 * a * a * Amax / PI) * (1 - 2 / PI);
    appState.Sa = s1;

    for (int i = 0; i <= lastSampleIndex(); i++) {
        double T = sampleTime(i);
        if (T <= a)
            storeSample(slot, i, v1 * T - sin(PI * T / (2 * a)) * (2 * a * v1 / PI),
                        (1 - cos(PI * T / (2 * a))) * v1, sin(PI * T / (2 * a)) * Amax);
        if (a < T && T <= 1 - a) {
            double x = (T - a) * PI / (1 - 2 * a);
            storeSample(slot, i, (1 - cos(x)) * ((1 - 2 * a) * (1 - 2 * a) * Amax / (PI * PI)) + (T - a) * v1 + s1,
                        sin(x) * ((1 - 2 * a) * Amax / PI) + v1, cos(x) * Amax);
        }
        // u is measured from the start of the last segment (0..a).
        if (T > 1 - a) {
            double u = (T - 1) + a;
            double y = u * PI / (2 * a);
            storeSample(slot, i, (cos(y) - 1) * (2 * a * v1 / PI) + u * v1 + (1 - s1), (1 - sin(y)) * v1,
                        cos(y) * (-Amax));
        }
    }
}

// One formula: a full and a third-harmonic sine of acceleration.
void buildGutmanF3(double* slot)
{
    for (int i = 0; i <= lastSampleIndex(); i++) {
        double T = sampleTime(i);
        storeSample(slot, i, T - sin((2 * PI) * T) * (15 / (32 * PI)) - sin((6 * PI) * T) * (1 / (96 * PI)),
                    1 - cos((2 * PI) * T) * 0.9375 - cos((6 * PI) * T) * 0.0625,
                    sin((6 * PI) * T) * (3 * PI / 8) + sin((2 * PI) * T) * (15 * PI / 8));
    }
}

// Sine ramps up to a constant velocity vc over the middle half and back down;
// boundaries a, b, 1 - b, 1 - a with a = 1/16 and b = 1/4.
void buildModifiedConstantVelocity(double* slot)
{
    appState.Ta = 0.0625;
    appState.Tb = 0.25;
    const double a = appState.Ta;
    const double b = appState.Tb;
    const double Amax = ((1 / (2 / PI)) / b) / ((2 - 8 / PI) * a + (4 / PI - 2) * b + 1);
    const double v1 = 2 * a * Amax / PI;
    const double s1 = a * v1 - 2 * a * v1 / PI;
    const double vc = 2 * b * Amax / PI;
    const double s2 = (b - a) * 4 * (b - a) * Amax / (PI * PI) + (b - a) * v1 + s1;
    appState.Sa = s1;
    appState.Sb = s2;

    for (int i = 0; i <= lastSampleIndex(); i++) {
        double T = sampleTime(i);
        double d = (b - a) + (b - a);
        double K = (b - a) * 4 * (b - a) * Amax / (PI * PI);
        if (T <= a)
            storeSample(slot, i, v1 * T - sin(PI * T / (2 * a)) * (2 * a * v1 / PI),
                        (1 - cos(PI * T / (2 * a))) * v1, sin(PI * T / (2 * a)) * Amax);
        if (a < T && T <= b) {
            double x = (T - a) * PI / d;
            storeSample(slot, i, (1 - cos(x)) * K + (T - a) * v1 + s1, sin(x) * (d * Amax / PI) + v1, cos(x) * Amax);
        }
        if (b < T && T <= 1 - b)
            storeSample(slot, i, (T - b) * vc + s2, vc, 0);
        // u and w are measured from the start of their segments.
        if (1 - b < T && T <= 1 - a) {
            double u = (T - 1) + b;
            double x = PI * u / d;
            storeSample(slot, i, sin(x) * K - (d * Amax / PI) * u + vc * u + 1 - s2,
                        cos(x) * (d * Amax / PI) - d * Amax / PI + vc, sin(x) * (-Amax));
        }
        if (T > 1 - a) {
            double w = (T - 1) + a;
            double y = w * PI / (2 * a);
            storeSample(slot, i, (cos(y) - 1) * (2 * a * v1 / PI) + w * v1 + 1 - s1, sin(y) * (-v1) + v1,
                        cos(y) * (-Amax));
        }
    }
}
