// A function of the cam angle over the whole turn: sampled on a grid that holds every segment bound and law joint,
// its largest value and the stretches where it is positive refined between the samples. Angles in degrees.
#pragma once

#include <vector>

#include "camdesign/angle_search.h"
#include "camdesign/cam_check.h"

// Refinement stops when the bracket is this narrow: far below what any report prints.
constexpr double ANGLE_TOLERANCE_DEG = 1e-10;

// The cam's points at a list of angles, each computed once: the check and the dynamics scan a dozen figures over
// the same angles, and only the refinements between the samples need new points.
struct TurnPoints {
    const CamDesign& cam;
    std::vector<double> angles;     // ascending, degrees
    std::vector<CamPoint> points;   // points[i] = camPointAt(cam, angles[i])
    mutable size_t next = 0;        // the index after the last one found: a scan asks in ascending order

    TurnPoints(const CamDesign& cam, std::vector<double> ascendingAngles);
    // The index of theta among the angles, or -1 when it is not one of them.
    long indexOf(double theta) const;
    // The cam's point at theta: the stored one where theta is listed, else computed.
    CamPoint at(double theta) const;
};

// The scan angles over [0, 360]: a regular grid of perDegree a degree (at least 10) plus every segment boundary
// and law joint, where the lift's second derivative can jump and an extreme can sit on a kink.
std::vector<double> scanAngles(const CamDesign& cam, int perDegree);

// The largest value of f over [from, to] and where: every local peak of the samples refined between its
// neighbours. NaN for both when f is NaN everywhere.
SearchPoint largestOver(const RealFunction& f, const std::vector<double>& angles, double from, double to);

// The stretches of the turn where f > 0. A peak that rises above zero between two samples that do not is found by
// refining every sampled peak first; a stretch running through 360 and on from 0 becomes one, from > to.
std::vector<AngleStretch> positiveStretches(const RealFunction& f, const std::vector<double>& angles);
