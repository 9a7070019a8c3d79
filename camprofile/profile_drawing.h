// The cam's outline for a drawing file: working contour, base circle and centre, and the writers for DXF and SVG.
// Millimetres, cam centre at the origin, y upwards, the cam at rest.
#pragma once

#include <ostream>
#include <vector>

#include "camprofile/profile_marks.h"

struct ProfileDrawing {
    std::vector<double> x, y;    // the working contour, one point per sample; the last joins back to the first
    std::vector<bool> crossing;  // per point: inside a stretch where the contour crosses itself
    double baseRadius;
    ProfileMarks marks;          // pitch curve, follower and theta = 0 for the SVG picture
};

// One closed polyline on layer CAM_CONTOUR, a CIRCLE on BASE_CIRCLE, a point and a cross on CENTRE; $INSUNITS 4.
void writeDxfProfile(std::ostream& out, const ProfileDrawing& drawing);
// Width and height in mm, one model millimetre a user unit; red contour, blue base circle, black centre cross;
// the stretches where the contour crosses itself drawn over it in orange, with a caption saying why; the pitch
// curve dashed, the follower at theta = 0 in green, a tick at theta = 0 and an arrow for the turning sense.
void writeSvgProfile(std::ostream& out, const ProfileDrawing& drawing);

// Half the length of each arm of the centre cross: a tenth of the base radius, so it stays inside the cam.
inline double centreCrossArm(const ProfileDrawing& drawing) { return drawing.baseRadius / 10; }
