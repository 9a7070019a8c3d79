// The cutter's path as G-code for a mill or a grinder: arcs G2/G3 with incremental centres, lines G1.
// Millimetres, absolute coordinates, the XY plane; the cam centre is the origin, y upwards, the cam at rest.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "camdesign/arc_fit.h"

// How far the written path may stand from the arcs it is written from: coordinates and centres rounded to four
// decimals (up to 0.00022 mm between them), and arcs whose bow is below 0.00001 mm written as lines. A path fitted
// within T less this lies within T of the curve once written.
constexpr double GCODE_ROUNDING_MM = 0.00025;
// The approach starts this far outside the path, along its normal at the start.
constexpr double GCODE_APPROACH_MM = 5;

struct ToolpathJob {
    std::vector<std::string> comments;  // the header's lines: the cam, the cutter, the tolerance
    double feed;                        // mm/min
};

// path: the cutter centre's closed path counter-clockwise round the cam, as fitted; it is cut clockwise from its
// first point, reached by one straight move in along the outward normal (normalX, normalY) there, and left the
// same way. Spindle on (M3) before the approach, off (M5) at the end; no Z moves: the depth is the machinist's.
void writeToolpathGcode(std::ostream& out, const std::vector<ArcPiece>& path, double normalX, double normalY,
                        const ToolpathJob& job);
