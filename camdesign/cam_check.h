// The checks every cam course teaches, over the whole turn: largest pressure angles, smallest convex radius,
// concave and undercut stretches, and warnings in plain sentences. Angles in degrees, lengths in mm.
#pragma once

#include <string>
#include <vector>

#include "camdesign/cam_geometry.h"

// A translating follower is usually kept at or below this pressure angle.
constexpr double PRESSURE_ANGLE_LIMIT_DEG = 30;

// From fromDeg to toDeg in the direction of growing theta; a stretch through 0 degrees has fromDeg > toDeg.
struct AngleStretch {
    double fromDeg;
    double toDeg;
};

struct CamCheck {
    double riseMaxPressureAngleDeg;    // largest |pressure angle| during the rise
    double riseMaxPressureAngleAtDeg;
    double returnMaxPressureAngleDeg;
    double returnMaxPressureAngleAtDeg;
    // Smallest radius of the working contour where it is convex: the pitch curve's radius less rf, taken where
    // the pitch curve bends most. Negative when the roller is larger than that radius, i.e. when it undercuts.
    double minConvexRadius;
    double minConvexRadiusAtDeg;
    std::vector<AngleStretch> concave;   // the pitch curve is concave
    std::vector<AngleStretch> undercut;  // a roller's radius exceeds the pitch curve's convex radius
    std::vector<std::string> warnings;
};

// Samples the turn at perDegree points a degree (at least ten), at every phase boundary and law joint, then
// refines each extreme and each stretch end between the samples.
CamCheck checkCam(const CamDimensions& cam, int perDegree);
