// The checks every cam course teaches, over the whole turn: largest pressure angles, smallest convex radius,
// concave and undercut stretches, a flat face's cusps and contact travel, jumps of the acceleration, and
// warnings in plain sentences. Angles in degrees, lengths in mm.
#pragma once

#include <string>
#include <vector>

#include "camdesign/cam_geometry.h"

// From fromDeg to toDeg in the direction of growing theta; a stretch through 0 degrees has fromDeg > toDeg.
struct AngleStretch {
    double fromDeg;
    double toDeg;
};

// A value and the cam angle where it is reached.
struct AngleExtreme {
    double value;
    double atDeg;
};

struct CamCheck {
    double riseMaxPressureAngleDeg;    // largest |pressure angle| over every rise (0 for a flat face)
    double riseMaxPressureAngleAtDeg;
    double returnMaxPressureAngleDeg;  // over every return
    double returnMaxPressureAngleAtDeg;
    std::vector<AngleExtreme> segmentMaxPressureAngle;  // one per program segment, dwells included
    // Smallest radius of the working contour where it is convex: the pitch curve's radius less rf, taken where
    // the pitch curve bends most. Negative when the roller is larger than that radius, i.e. when it undercuts.
    // For a flat face: the contour's smallest radius of curvature rho, as minContourRadius.
    double minConvexRadius;
    double minConvexRadiusAtDeg;
    std::vector<AngleStretch> concave;   // the pitch curve is concave (never for a flat face)
    std::vector<AngleStretch> undercut;  // a roller's radius exceeds the pitch curve's convex radius
    // Flat face only (zero otherwise): rho = r0 + s + s'' at its smallest, the cusps where rho <= 0, and the
    // contact point's signed distance from the stem's axis at its smallest and largest.
    AngleExtreme minContourRadius{0, 0};
    std::vector<AngleStretch> cusps;
    AngleExtreme contactMin{0, 0}, contactMax{0, 0};
    double faceWidth = 0;                // contactMax - contactMin
    std::vector<double> infiniteJerkAngles;  // where the acceleration jumps
    std::vector<std::string> warnings;
};

// True when the working contour crosses itself (a roller's undercut, a flat face's cusp): no machine can cut it.
inline bool contourCrossesItself(const CamCheck& check) { return !check.undercut.empty() || !check.cusps.empty(); }

// Samples the turn at perDegree points a degree (at least ten), at every segment boundary and law joint, then
// refines each extreme and each stretch end between the samples.
CamCheck checkCam(const CamDesign& cam, int perDegree);
