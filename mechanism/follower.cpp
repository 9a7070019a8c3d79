// Follower: a tip triangle under a body outline on the vertical line through the cam centre.
// The two guide blocks stand beside the body 0.01 window units away, whatever the zoom.
#include "mechanism/follower.h"

#include "curves/motion_tables.h"

double followerLift(int curve, int d)
{
    const int N = appState.riseSteps;
    const int M = appState.dwellSteps;
    const double* S = curveSlot(curve);
    double s = 0;
    if (0 <= d && d <= N)
        s = appState.lift * S[d];
    if (N < d && d <= N + M)
        s = appState.lift;
    if (N + M < d && d <= appState.cycleSteps)
        s = appState.lift * S[appState.cycleSteps - d];
    return s;
}

void drawFollower(int curve, double z, const Point2* P, int d, const Rgba* colour)
{
    const double X = z * P->x;
    const double Y = z * P->y;
    const double w = z * appState.followerHalfWidth;
    const double l = z * appState.followerHalfLength;
    const double guideBottom = Y + z * (appState.lift + 10);
    drawFilledRect({X - 2 * w - 0.01, guideBottom}, w, l, 0, BLUE);
    drawFilledRect({X + w + 0.01, guideBottom}, w, l, 0, BLUE);

    const Point2 tip = {X, Y + z * followerLift(curve, d)};
    const Point2 tipLeft = {X - w, tip.y + w};
    const Point2 tipRight = {X + w, tip.y + w};
    drawLine(tip, tipLeft, *colour);
    drawLine(tip, tipRight, *colour);
    drawLine(tipLeft, tipRight, *colour);
    drawRectOutline(tipLeft, 2 * w, 2 * l, 0, *colour);
}
