// The cam's outline for a drawing file: working contour, base circle and centre, and the writers for DXF and SVG.
// Millimetres, cam centre at the origin, y upwards, the cam at rest.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "camdesign/arc_fit.h"

struct ProfileDrawing {
    std::vector<double> x, y;    // the working contour, one point per sample; the last joins back to the first
    std::vector<bool> crossing;  // per point: inside a stretch where the contour crosses itself
    std::vector<ArcPiece> arcs;  // the same curve as fitted arcs, counter-clockwise, closed; drawn instead when given
    double baseRadius;
    double zeroX = 0, zeroY = 0;  // the curve's point at theta = 0, where the follower stands
    bool clockwise = true;        // the cam's turning sense, shown by an arrow
    std::string contourLayer = "CAM_CONTOUR";
};

// The marks on layer CAM_MARKS: a tick into the cam at theta = 0 and an arrow round the centre in the turning
// sense (an arc at half the base radius from 60° to 120°, counter-clockwise from +x, its head at one end).
struct ProfileMarks {
    double zeroFrom[2], zeroTo[2];
    double senseRadius, senseFromDeg, senseToDeg;
    double arrowTip[2], arrowEnds[2][2];
};
ProfileMarks profileMarks(const ProfileDrawing& drawing);

// DXF R2000: one closed LWPOLYLINE of arcs on the contour's layer, a CIRCLE on BASE_CIRCLE, a point and a cross on
// CENTRE, the marks on CAM_MARKS; $INSUNITS 4. Needs the arcs.
void writeDxfProfile(std::ostream& out, const ProfileDrawing& drawing);
// Width and height in mm, one model millimetre a user unit; red contour (its arcs as A commands where fitted),
// blue base circle, black centre cross, green marks; the stretches where the contour crosses itself drawn over it
// in orange, with a caption saying why.
void writeSvgProfile(std::ostream& out, const ProfileDrawing& drawing);

// Half the length of each arm of the centre cross: a tenth of the base radius, so it stays inside the cam.
inline double centreCrossArm(const ProfileDrawing& drawing) { return drawing.baseRadius / 10; }
