// The disk cam: contour over one turn, base circle with hub and marker lines, and the contact dot.
// Model units times z give window coordinates; cam angles are measured from straight up, clockwise.
#pragma once

#include "app/app_state.h"
#include "render/primitives.h"

// Base circle, hub, start-of-rise radius and the two dwell marker lines of a cam turned by theta.
void drawBaseCircle(double z, const Point2* O, double r0, double theta, const Rgba* colour);

// The cam of curve at step d (0..riseSteps), its follower tip at P at zero lift, base radius r0.
void drawCam(int curve, double z, const Point2* P, double r0, int d, const Rgba* colour);
