// What the profile picture shows beside the contour: the pitch curve (dashed) and the follower drawn at theta = 0.
// Millimetres, cam centre at the origin, y upwards, the cam at rest.
#pragma once

#include <string>
#include <vector>

#include "camdesign/arc_fit.h"
#include "camdesign/cam_design.h"
#include "camdesign/cam_geometry.h"

struct ProfileOverlay {
    std::vector<double> pitchX, pitchY;  // a roller's pitch curve, one point per sample; empty for knife and flat
    std::vector<ArcPiece> pitchArcs;     // the same curve as fitted arcs, drawn instead when given
    std::string follower;                // SVG elements of the follower at theta = 0, in model millimetres
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;  // what the follower covers
};

// The follower of `cam` at theta = 0 and its pitch curve through `turn`, the cam's points at the table's angles.
ProfileOverlay profileOverlay(const CamDesign& cam, const std::vector<CamPoint>& turn);
// A closed curve of arcs (counter-clockwise, as fitted) as SVG path data in model millimetres, "M x y A ... Z".
std::string svgArcPathData(const std::vector<ArcPiece>& arcs);
// The overlay as SVG elements for the picture's flipped group (y upwards).
std::string profileOverlaySvg(const ProfileOverlay& overlay);
