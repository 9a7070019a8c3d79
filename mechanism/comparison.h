// The comparison view: three curves' charts and cams in red, blue and green, and one follower.
#pragma once

// curves: the three CurveIds, first red, second blue, third green; z: the zoom.
void drawComparison(const int* curves, double z);
