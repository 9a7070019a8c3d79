// Program-wide state: view and input state, sample counts, model geometry and the curve-7 points.
// Lengths are model units (x to the right, y upwards); angles are radians, measured from straight up, clockwise.
#pragma once

// A point of two doubles: model units in the state below, window coordinates (-1..1) at the primitives.
struct Point2 {
    double x;
    double y;
};

// Radians to degrees for the text panel; eight significant digits, so 120 degrees shows as 119.99999.
constexpr double RAD_TO_DEG = 57.2957795;

struct AppState {
    // View and input state
    signed char lastKey;         // key last pressed: the start key, then every window key; 'c' selects the comparison view
    int selectedCurve;           // curve of the single-curve view, 0..7
    int compareCurves[3];        // curves of the comparison view in the order red, blue, green, each 0..6
    int stepIndex;               // current motion step, 0..riseSteps
    int stepDirection;           // +1 or -1: what the key 's' adds to stepIndex
    double drawScale;            // model units to window coordinates; 0.004 after every console dialogue, no bounds

    // Sampling, fixed at start-up
    int riseSteps;               // steps of the rise, 100; every table holds riseSteps + 1 samples
    int dwellSteps;              // steps of the dwell at full lift, 100
    int cycleSteps;              // steps of rise, dwell and return, 2 * riseSteps + dwellSteps = 300
    double timeStep;             // normalized time between two samples, 1.0 / riseSteps

    // Geometry in model units, fixed at start-up
    Point2 contactOrigin;        // follower tip at zero lift, (-100, 50); the cam centre lies baseRadius below
    double baseRadius;           // radius of the cam's base circle, 50
    double lift;                 // stroke of the follower (S = 1) and height unit of the charts, 60
    double setupAngle;           // cam angle of the rise, 2 pi / 3 radians
    double angleStep;            // cam rotation per step, setupAngle / riseSteps radians
    double followerHalfWidth;    // half width of the follower body and width of a guide block, 10
    double followerHalfLength;   // half length of the follower body and height of a guide block, 50
    Point2 sChartOrigin;         // displacement chart at T = 0, S = 0: (50, 100)
    Point2 vChartOrigin;         // velocity chart at T = 0, V = 0: (50, 0)
    Point2 aChartOrigin;         // acceleration chart at T = 0, A = 0: (50, -100)
    double chartWidth;           // length of each chart's time axis (T = 0 to 1), 150

    // Curve-7 points in normalized time and displacement, as typed; also the working joint
    // points of the composite curves, which buildStandardCurves leaves here
    double Ta;                   // time of point A, 0 < Ta < Tb
    double Sa;                   // displacement of point A, any finite value
    double Tb;                   // time of point B, Ta < Tb < 1
    double Sb;                   // displacement of point B, any finite value
};

// The one instance: static storage, zero at load, never allocated or freed.
inline AppState appState;
