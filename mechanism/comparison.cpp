// Comparison view: cams at step 0 and chart markers at the end of the rise; later curves cover earlier ones.
#include "mechanism/comparison.h"

#include "app/app_state.h"
#include "mechanism/cam.h"
#include "mechanism/follower.h"
#include "render/charts.h"

static const Rgba* const COMPARISON_COLOURS[3] = {&RED, &BLUE, &GREEN};

void drawComparison(const int* curves, double z)
{
    for (int i = 0; i < 3; i++) {
        drawMotionCharts(curves[i], z, appState.riseSteps, *COMPARISON_COLOURS[i]);
        drawCam(curves[i], z, &appState.contactOrigin, appState.baseRadius, 0, COMPARISON_COLOURS[i]);
    }
    drawFollower(curves[0], z, &appState.contactOrigin, 0, &RED);
}
