// The translating knife-edge follower with its two fixed guide blocks, and its motion cycle.
#pragma once

#include "app/app_state.h"
#include "render/primitives.h"

// Lift in model units at step d of rise (0..N), dwell (N+1..N+M) and return (..cycleSteps).
double followerLift(int curve, int d);

// The follower of curve at step d; P is its tip at zero lift in model units.
void drawFollower(int curve, double z, const Point2* P, int d, const Rgba* colour);
