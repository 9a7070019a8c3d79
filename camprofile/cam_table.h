// The cam over the turn as CSV: theta_deg,s,pressure_angle_deg,pitch_curvature,x,y for theta = j / K.
// Lift in mm, pressure angle in degrees, curvature in 1/mm, the working contour of the cam at rest in mm.
#pragma once

#include <string>

#include "camdesign/cam_geometry.h"

// The cam angle of row j of a table with K rows a degree: j / K, as a double division.
inline double tableAngle(int j, int perDegree) { return static_cast<double>(j) / perDegree; }

// 360 K rows, j = 0 ... 360 K - 1; every number reads back as the same double.
std::string camTableCsv(const CamDesign& cam, int perDegree);
