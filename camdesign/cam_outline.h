// The cam's working contour and pitch curve as curves for the arc fit (closed-form tangents and curvature), the
// contour's tightest concave bend, and its radius seen from the centre. Lengths in mm, angles in degrees; the
// cam at rest, centre at the origin, y upwards.
#pragma once

#include <optional>
#include <vector>

#include "camdesign/arc_fit.h"
#include "camdesign/cam_check.h"

enum CamCurveKind { WORKING_CONTOUR, PITCH_CURVE };

// The curve run counter-clockwise round the cam with its parameter t in degrees over [0, 360]: t = theta for a
// clockwise cam, 360 - theta for a counter-clockwise one (whose contour runs the other way as theta grows).
CurveFunction camCurve(const CamDesign& cam, CamCurveKind kind);
// The cam angle theta (degrees) at the curve's parameter t.
double camAngleAt(const CamDesign& cam, double t);
// Arcs within tolerance of the curve moved `offset` outwards (0: the curve itself; a cutter's radius: the path of
// its centre), with a knot at every segment boundary and law joint, where the curvature may jump.
ArcFit fitCamCurve(const CamDesign& cam, CamCurveKind kind, double offset, double tolerance);

// The working contour's smallest concave radius of curvature and where; nothing when it is nowhere concave.
// Found on the check's grid (perDegree, at least ten a degree, and every break) and refined between samples.
std::optional<AngleExtreme> minConcaveRadius(const CamDesign& cam, int perDegree);

// The contour's radius from the cam centre at polar angle phi (degrees from +y, counter-clockwise, where the
// follower stands at theta = 0), for phi = j / perDegree. Nothing where a ray from the centre meets the contour
// twice (the contour turns back round the centre somewhere).
std::optional<std::vector<double>> polarRadii(const CamDesign& cam, int perDegree);
