// Frames of the three motion charts: axes, grid lines, scale labels and titles.
#pragma once

// Displacement, velocity and acceleration charts at the chart origins of appState, zoomed by drawScale.
void drawChartFrames();
