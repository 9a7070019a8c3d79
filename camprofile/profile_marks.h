// What the profile picture shows beside the contour: the pitch curve (dashed), the follower drawn at theta = 0, and
// a mark at theta = 0 with an arrow for the turning sense. Millimetres, cam centre at the origin, y upwards, at rest.
#pragma once

#include <string>
#include <vector>

#include "camdesign/cam_design.h"

struct ProfileMarks {
    std::vector<double> pitchX, pitchY;  // a roller's pitch curve, one point per sample; empty for knife and flat
    std::string follower;                // SVG elements of the follower at theta = 0, in model millimetres
    double zeroX = 0, zeroY = 0;         // the contour point of theta = 0
    bool clockwise = true;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;  // what the follower and the marks cover
};

// The marks of `cam` with its pitch curve at the table's K-a-degree angles.
ProfileMarks profileMarks(const CamDesign& cam, int perDegree);
// The marks as SVG elements for the picture's flipped group (y upwards) and its unflipped text (after it).
std::string profileMarksSvg(const ProfileMarks& marks, double baseRadius);
std::string profileMarksText(const ProfileMarks& marks, double baseRadius);
