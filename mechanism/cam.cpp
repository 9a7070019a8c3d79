// Cam contour: rise from the S table, dwell on the outer circle, return from the table read backwards.
// At step d the contour turns clockwise by d * angleStep, so rise sample d stands straight above the centre.
#include "mechanism/cam.h"

#include <cmath>

#include "curves/motion_tables.h"

// The point at cam angle phi and radius r about O, in window coordinates.
static Point2 polarPoint(double z, const Point2& O, double phi, double r)
{
    return {z * (sin(phi) * r + O.x), z * (cos(phi) * r + O.y)};
}

void drawBaseCircle(double z, const Point2* O, double r0, double theta, const Rgba* colour)
{
    const double beta = appState.setupAngle;
    Point2 centre = {z * O->x, z * O->y};
    double R = z * r0;
    drawCircle(centre, R, *colour);
    drawDisk(centre, 5 * z, *colour);
    Point2 riseStart = {centre.x + R * sin(theta), centre.y + R * cos(theta)};
    drawDisk(riseStart, 0.01, *colour);
    drawThickLine(centre, riseStart, 0.01, *colour);
    // With equal rise and dwell steps these lie on the rise/dwell and dwell/return boundaries.
    double R2 = z * (r0 + appState.lift);
    drawLine(centre, {centre.x + R2 * sin(theta - beta), centre.y + R2 * cos(theta - beta)}, *colour);
    drawLine(centre, {centre.x + R2 * sin(theta + beta), centre.y + R2 * cos(theta + beta)}, *colour);
}

void drawCam(int curve, double z, const Point2* P, double r0, int d, const Rgba* colour)
{
    const int N = appState.riseSteps;
    const int M = appState.dwellSteps;
    const double h = appState.lift;
    const double delta = appState.angleStep;
    const double* S = curveSlot(curve);
    const Point2 O = {P->x, P->y - r0};
    const double theta = d * delta;

    drawBaseCircle(z, &O, r0, theta, &BLUE);

    Point2 pen = polarPoint(z, O, theta, r0 + h * S[0]);
    for (int i = 1; i <= N; i++) {
        Point2 next = polarPoint(z, O, static_cast<double>(d - i) * delta, r0 + h * S[i]);
        drawLine(pen, next, *colour);
        pen = next;
    }
    // The dwell starts on the outer radius itself, so a last rise sample short of 1 shows as a step.
    pen = polarPoint(z, O, static_cast<double>(d - N) * delta, r0 + h);
    for (int j = 0; j <= M; j++) {
        Point2 next = polarPoint(z, O, static_cast<double>(d - N - j) * delta, r0 + h);
        drawLine(pen, next, *colour);
        pen = next;
    }
    pen = polarPoint(z, O, static_cast<double>(d - N - M) * delta, r0 + h);
    for (int k = 1; k <= N; k++) {
        Point2 next = polarPoint(z, O, static_cast<double>(d - N - M - k) * delta, r0 + h * S[N - k]);
        drawLine(pen, next, *colour);
        pen = next;
    }

    drawDisk({z * O.x, z * (O.y + r0 + h * S[d])}, 0.01, RED);
}
