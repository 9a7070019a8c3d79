// The smallest cam that meets the limits: the base radius (and, if asked, the offset) found by bracketing and
// bisecting on the whole-turn check. Lengths in mm, angles in degrees.
#pragma once

#include <functional>
#include <optional>

#include "camdesign/cam_check.h"
#include "camdesign/design_rules.h"

// What the cam must meet. A knife is bound by the pressure angle alone, a roller by the pressure angle and its
// pitch curve's bend, a flat face by its contour's radius of curvature.
struct SizingLimits {
    double maxPressureAngleDeg = 30;  // over the rises and returns
    double minRadiusFactor = 1;       // roller: smallest convex pitch radius >= factor x rf (1: no undercut)
    double minRadius = 0.001;         // flat face: rho >= this (no cusp)
};

enum SizingLimit { PRESSURE_ANGLE_LIMIT, CURVATURE_LIMIT, CUSP_LIMIT };

struct CamSize {
    double baseRadius;    // in whole thousandths of a millimetre
    double offset;        // the design's, or the best one found (whole thousandths of a millimetre)
    SizingLimit binding;  // the limit that fails a step below
};

// The answers are rounded up to whole thousandths of a millimetre (k / 1000, the double a printed "x.xxx" reads
// back as), so that the radius as printed meets the limits itself.
constexpr double SIZE_STEPS_PER_MM = 1000;
// No radius beyond the largest length a design may have is tried.
constexpr double LARGEST_BASE_RADIUS_MM = MAX_LENGTH_MM;

// Whether the cam meets one limit over the whole turn (checked at perDegree points a degree and refined).
bool meetsLimit(const CamDesign& cam, SizingLimit limit, const SizingLimits& limits, int perDegree);

// The smallest k / stepsPerUnit in [lowest, highest] (k whole) for which passes holds, passes being false below
// some value and true above it: doubling from lowest brackets it, bisection narrows it, and the grid points on
// either side are tried. Nothing when highest fails too.
std::optional<double> smallestPassing(const std::function<bool(double)>& passes, double lowest, double highest,
                                      double stepsPerUnit);

// The smallest base radius (whole thousandths of a millimetre) meeting every limit that binds the cam's follower; with
// optimiseOffset (translating knife or roller) also the offset that gives the smallest such radius. The cam's
// own base radius is ignored. Nothing when no radius up to LARGEST_BASE_RADIUS_MM meets them.
std::optional<CamSize> sizeCam(const CamDesign& cam, const SizingLimits& limits, bool optimiseOffset, int perDegree);
