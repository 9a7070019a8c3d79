// Text panel and legend: the curve's title and the cam's three numbers, or the comparison's colours.
#include "render/text_panel.h"

#include <cstring>

#include "app/app_state.h"
#include "curves/law_names.h"
#include "curves/motion_tables.h"
#include "render/primitives.h"

static const char* const LEGEND_LABELS[3] = {"red   curve :", "blue  curve :", "green curve :"};
static const float LEGEND_LABEL_Y[3] = {0.95f, 0.9f, 0.85f};

static const char DIGITS[10] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};

// Label and digits together must fit: the longest label is 12 characters.
constexpr int PANEL_LINE_MAX = 32;

void formatThreeDigits(double v, char* digits)
{
    // Be careful: outside 0..999 (or NaN) a digit would index outside DIGITS.
    if (!(v >= 0))
        v = 0;
    if (v > 999)
        v = 999;
    int h = static_cast<int>(v / 100);
    int t = static_cast<int>((v - 100 * h) / 10);
    int u = static_cast<int>((v - 100 * h) - 10 * t);
    digits[0] = DIGITS[h];
    digits[1] = DIGITS[t];
    digits[2] = DIGITS[u];
}

static void drawNumberLine(float y, const char* label, double value)
{
    char line[PANEL_LINE_MAX];
    size_t length = strlen(label);
    memcpy(line, label, length);
    formatThreeDigits(value, line + length);
    line[length + 3] = '\0';
    drawText(0.0f, y, TEXT_FONT, line);
}

void drawTextPanel()
{
    if (appState.selectedCurve >= 0 && appState.selectedCurve < CURVE_COUNT)
        drawText(-0.1f, 0.95f, TEXT_FONT, LAW_TITLES[appState.selectedCurve]);
    drawNumberLine(0.9f, "lift=", appState.lift);
    drawNumberLine(0.85f, "base circle=", appState.baseRadius);
    // setupAngle * RAD_TO_DEG lies just below 120; the 0.1 keeps truncation from showing 119.
    drawNumberLine(0.8f, "setup angle=", appState.setupAngle * RAD_TO_DEG + 0.1);
}

void drawLegend(const int* curves)
{
    for (int i = 0; i < 3; i++) {
        drawText(-0.1f, LEGEND_LABEL_Y[i], TEXT_FONT, LEGEND_LABELS[i]);
        // Curve 7 has no legend entry.
        if (curves[i] >= 0 && curves[i] < STANDARD_CURVE_COUNT)
            drawText(0.2f, static_cast<float>(0.95 - 0.05 * i), TEXT_FONT, lawName(curves[i]));
    }
}
