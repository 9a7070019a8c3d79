// The disk cam at one angle: lift, pitch point, working contour and its tangent, pressure angle, curvature.
// Lengths in mm; cam angle theta in degrees from theta = 0 of the program; the cam centre is the origin, y upwards,
// cam at rest. The follower stands above the centre: a translating one moves on x = e, an oscillating one swings
// about the pivot (D, 0).
#pragma once

#include "camdesign/cam_design.h"

// Everything known about the cam at one angle.
struct CamPoint {
    double s, ds, dds, ddds;   // lift and derivatives per radian (as ProgramLift)
    double pressureAngleDeg;   // signed (translating: positive where the normal leans towards +x), unsigned
                               // (oscillating), 0 (flat)
    double pitchCurvature;     // 1/mm, pitch curve, positive where convex (for a flat face: 1/rho of the contour)
    double contourRadius;      // signed radius of curvature of the working contour, mm, negative where concave
    double pitchX, pitchY;     // pitch curve point, cam at rest (knife tip / roller centre); flat: contact point
    double contourX, contourY; // working contour point, cam at rest
    double contourTangentX, contourTangentY;  // d(contour)/d(theta), mm/rad, closed form
    double contactOffset;      // flat face: contact from the stem's axis, mm, the clockwise twin's sign; else 0
};

// A counter-clockwise cam is the clockwise cam with e -> -e and D -> -D, mirrored x -> -x: the x coordinates,
// the signed pressure angle and the contact offset change sign.
CamPoint camPointAt(const CamDesign& cam, double thetaDeg);

// The oscillating arm's angle from the pivot-to-centre line at zero lift, radians; NaN when no roller position
// at distance rp from the centre and L from the pivot exists (above the x axis).
double armAngleAtRest(const CamDesign& cam);
