// A disk cam cut for one motion law: the lift over the whole turn, pitch curve, working contour, pressure angle, curvature.
// Lengths in mm; cam angle theta in degrees from the start of the rise; the cam centre is the origin, y upwards, cam at rest.
#pragma once

#include <optional>

#include "curves/motion_laws.h"

// What the designer chooses. A knife-edge follower has rollerRadius 0.
struct CamDimensions {
    int law = 0;
    TwoPoints points{};        // law 7's intermediate points, unused by laws 0..6
    double baseRadius = 50;    // r0: the cam's own base circle
    double lift = 60;          // h
    double riseDeg = 120;      // beta1
    double dwellDeg = 120;     // delta1, at full lift
    double returnDeg = 120;    // beta2; the inner dwell takes the rest of the turn
    double rollerRadius = 0;   // rf
    double offset = 0;         // e: the follower moves on the line x = e
};

enum CamPhase { RISE, OUTER_DWELL, RETURN, INNER_DWELL };

// Lift s (mm) and its derivatives by the cam angle in radians: ds (mm/rad), dds (mm/rad^2).
struct CamLift {
    double s;
    double ds;
    double dds;
};

// Everything known about the cam at one angle.
struct CamPoint {
    double s;                  // lift, mm
    double pressureAngleDeg;   // signed: positive where the contact normal leans towards +x in the follower's frame
    double pitchCurvature;     // 1/mm, positive where the pitch curve is convex
    double pitchX, pitchY;     // pitch curve: the knife tip or the roller centre, on the cam at rest
    double contourX, contourY; // working contour: the pitch curve for a knife, moved inward by rf for a roller
};

double restDeg(const CamDimensions& cam);
// rp: r0 for a knife-edge, r0 + rf for a roller; the reference point sits at height sqrt(rp^2 - e^2) at zero lift.
double pitchRadius(const CamDimensions& cam);
CamPhase phaseAt(const CamDimensions& cam, double thetaDeg);
// The law's normalized time T at theta during the rise, or 1 - u during the return (u its own normalized time);
// nothing during the dwells.
std::optional<double> lawTimeAt(const CamDimensions& cam, double thetaDeg);
CamLift liftAt(const CamDimensions& cam, double thetaDeg);
CamPoint camPointAt(const CamDimensions& cam, double thetaDeg);

// Cam angles (degrees) of the law's segment joints inside the rise and the return, where the lift's
// second derivative may jump; with the phase boundaries these are the places a sample grid must not straddle.
int camJoints(const CamDimensions& cam, double* anglesDeg, int capacity);
