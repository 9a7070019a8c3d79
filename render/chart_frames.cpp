// Chart frames, drawn from one table per chart; positions in model units relative to the chart origin.
// A position is origin + widths * chartWidth + heights * lift + offset; the labels are fixed strings.
#include "render/chart_frames.h"

#include "app/app_state.h"
#include "render/primitives.h"

constexpr int CHART_COUNT = 3;
constexpr int FRAME_LABELS_MAX = 7;
constexpr int FRAME_LINES_MAX = 7;

struct FrameLabel {
    const char* text;
    double xWidths, xOffset;
    double yHeights, yOffset;
};

struct FrameLine {
    const Rgba* colour;
    double x1Widths, y1Heights, y1Offset;
    double x2Widths, y2Heights, y2Offset;
};

struct ChartFrame {
    Point2 AppState::*origin;
    int labelCount;
    FrameLabel labels[FRAME_LABELS_MAX];
    int lineCount;
    FrameLine lines[FRAME_LINES_MAX];
};

// Labels first, then lines, in this order; the value axes of V and A overshoot by 5 units.
static const ChartFrame CHART_FRAMES[CHART_COUNT] = {
    {&AppState::sChartOrigin,
     3,
     {{"cam curve", 0, 50, 0, -20}, {"1.0", 0, -20, 1, -5}, {"1.0", 1, -10, 0, -10}},
     4,
     {{&RED, 0, 0, 0, 1, 0, 0}, {&RED, 0, 0, 0, 0, 1, 0}, {&BLUE, 0, 1, 0, 1, 1, 0}, {&RED, 1, 0, 0, 1, 1, 0}}},
    {&AppState::vChartOrigin,
     4,
     {{"velocity curve", 0, 40, 0, -20}, {"1.0", 0, -20, 0.5, -5}, {"2.0", 0, -20, 1, -5}, {"1.0", 1, -10, 0, -10}},
     5,
     {{&RED, 0, 0, 0, 1, 0, 0},
      {&BLUE, 0, 0.5, 0, 1, 0.5, 0},
      {&BLUE, 0, 1, 0, 1, 1, 0},
      {&RED, 0, 0, 0, 0, 1, 5},
      {&RED, 1, 0, 0, 1, 1, 0}}},
    {&AppState::aChartOrigin,
     7,
     {{"acceleration curve", 0, 30, 0, -20},
      {"3.0", 0, -20, 0.5, -5},
      {"6.0", 0, -20, 1, -5},
      {"0", 0, -10, 0, -5},
      {"-3.0", 0, -25, -0.5, -5},
      {"-6.0", 0, -25, -1, -5},
      {"1.0", 1, -10, 0, -10}},
     7,
     {{&RED, 0, 0, 0, 1, 0, 0},
      {&BLUE, 0, 0.5, 0, 1, 0.5, 0},
      {&BLUE, 0, -0.5, 0, 1, -0.5, 0},
      {&BLUE, 0, 1, 0, 1, 1, 0},
      {&BLUE, 0, -1, 0, 1, -1, 0},
      {&RED, 0, 1, 5, 0, -1, -5},
      {&RED, 1, 1, 0, 1, -1, 0}}},
};

void drawChartFrames()
{
    const double z = appState.drawScale;
    const double W = appState.chartWidth;
    const double H = appState.lift;
    for (const ChartFrame& chart : CHART_FRAMES) {
        const Point2 origin = appState.*chart.origin;
        for (int i = 0; i < chart.labelCount; i++) {
            const FrameLabel& label = chart.labels[i];
            double x = origin.x + label.xWidths * W + label.xOffset;
            double y = origin.y + label.yHeights * H + label.yOffset;
            drawText(static_cast<float>(x * z), static_cast<float>(y * z), TEXT_FONT, label.text);
        }
        for (int i = 0; i < chart.lineCount; i++) {
            const FrameLine& line = chart.lines[i];
            Point2 from = {(origin.x + line.x1Widths * W) * z, (origin.y + line.y1Heights * H + line.y1Offset) * z};
            Point2 to = {(origin.x + line.x2Widths * W) * z, (origin.y + line.y2Heights * H + line.y2Offset) * z};
            drawLine(from, to, *line.colour);
        }
    }
}
