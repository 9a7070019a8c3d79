// The S, V and A polylines of one curve on the chart frames, with red markers at one step.
#pragma once

#include "render/primitives.h"

// Polylines 4 pixels wide and markers of radius 4 pixels at every zoom (window units, unscaled).
constexpr double CURVE_LINE_WIDTH = 0.01;
constexpr double MARKER_RADIUS = 0.01;

// curve: CurveId; zoom: model units to window coordinates; step: sample to mark, 0..riseSteps.
void drawMotionCharts(int curve, double zoom, int step, const Rgba& colour);
