// Motion charts: S at lift per unit, V at lift / 2 per unit, A at lift / 6 per unit above the time axis.
// Values are not clipped: an acceleration beyond +-6 runs past the outer grid lines.
#include "render/charts.h"

#include "app/app_state.h"
#include "curves/motion_tables.h"

// One chart: N thick segments from first, x advancing by zoom * dx a sample, then the marker at step.
static void drawChart(const double* row, const Point2& origin, double yFactor, Point2 first, double zoom, int step,
                      const Rgba& colour)
{
    const int N = appState.riseSteps;
    const double dx = appState.chartWidth / N;
    Point2 p = first;
    for (int i = 1; i <= N; i++) {
        Point2 q = {p.x + zoom * dx, yFactor * row[i] + zoom * origin.y};
        drawThickLine(p, q, CURVE_LINE_WIDTH, colour);
        p = q;
    }
    Point2 marker = {step * zoom * dx + zoom * origin.x, yFactor * row[step] + zoom * origin.y};
    drawDisk(marker, MARKER_RADIUS, RED);
}

void drawMotionCharts(int curve, double zoom, int step, const Rgba& colour)
{
    const double* slot = curveSlot(curve);
    const double H = appState.lift;
    const Point2& s = appState.sChartOrigin;
    const Point2& v = appState.vChartOrigin;
    const Point2& a = appState.aChartOrigin;

    drawChart(slot, s, zoom * H, {zoom * s.x, zoom * s.y}, zoom, step, colour);
    drawChart(slot + V_ROW, v, zoom * H / 2, {zoom * v.x, zoom * v.y}, zoom, step, colour);
    // The acceleration polyline starts at the first sample, not at the chart origin.
    drawChart(slot + A_ROW, a, zoom * H / 6, {zoom * a.x, zoom * H / 6 * slot[A_ROW] + zoom * a.y}, zoom, step,
              colour);
}
