// Extremes and stretches of the cam's pressure angle and curvature, found on a sample grid and refined between.
// Angles in degrees, lengths in mm, curvature in 1/mm.
#include "camdesign/cam_check.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "camdesign/turn_scan.h"

namespace {

using Sample = SearchPoint;

__attribute__((format(printf, 1, 2))) std::string sentence(const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

std::string angleList(const std::vector<double>& angles)
{
    std::string list;
    for (double angle : angles)
        list += (list.empty() ? "" : ", ") + sentence("%.2f°", angle);
    return list;
}

// The largest pressure angle over each segment, and over all rises and all returns.
void checkPressureAngles(const TurnPoints& turn, CamCheck& check)
{
    const CamDesign& cam = turn.cam;
    const std::vector<double>& angles = turn.angles;
    const RealFunction pressure = [&](double t) { return std::fabs(turn.at(t).pressureAngleDeg); };
    const int count = static_cast<int>(cam.program.segments.size());
    Sample rise = {-1, -1}, back = {-1, -1};
    for (int k = 0; k < count; k++) {
        const double from = segmentStartDeg(cam.program, k), to = segmentEndDeg(cam.program, k);
        // A flat face's pressure angle is 0 everywhere: its largest is taken at the segment's start.
        const Sample best = cam.follower == FLAT_FOLLOWER ? Sample{from, 0} : largestOver(pressure, angles, from, to);
        check.segmentMaxPressureAngle.push_back({best.value, best.x});
        Sample& phase = cam.program.segments[k].kind == RISE_SEGMENT ? rise : back;
        if (cam.program.segments[k].kind != DWELL_SEGMENT && best.value > phase.value)
            phase = best;
    }
    check.riseMaxPressureAngleDeg = rise.value;
    check.riseMaxPressureAngleAtDeg = rise.x;
    check.returnMaxPressureAngleDeg = back.value;
    check.returnMaxPressureAngleAtDeg = back.x;
    const double limit = cam.maxPressureAngleDeg;
    if (rise.value > limit)
        check.warnings.push_back(sentence("The pressure angle reaches %.3f° during the rise (at %.2f°), above %g°.",
                                          rise.value, rise.x, limit));
    if (back.value > limit)
        check.warnings.push_back(sentence("The pressure angle reaches %.3f° during the return (at %.2f°), "
                                          "above %g°.", back.value, back.x, limit));
}

void checkFlatFace(const TurnPoints& turn, CamCheck& check)
{
    const std::vector<double>& angles = turn.angles;
    const RealFunction rho = [&](double t) { return turn.at(t).contourRadius; };
    const RealFunction contact = [&](double t) { return turn.at(t).contactOffset; };
    const Sample sharpest = largestOver([&](double t) { return -rho(t); }, angles, 0, 360);
    check.minContourRadius = {-sharpest.value, sharpest.x};
    check.minConvexRadius = -sharpest.value;
    check.minConvexRadiusAtDeg = sharpest.x;
    check.cusps = positiveStretches([&](double t) { return -rho(t); }, angles);
    const Sample most = largestOver(contact, angles, 0, 360);
    const Sample least = largestOver([&](double t) { return -contact(t); }, angles, 0, 360);
    check.contactMax = {most.value, most.x};
    check.contactMin = {-least.value, least.x};
    check.faceWidth = most.value + least.value;
    for (const AngleStretch& cusp : check.cusps)
        check.warnings.push_back(sentence("The flat face cannot follow the cam from %.2f° to %.2f°: the contour's "
                                          "radius of curvature r0 + s + s'' falls to %.3f mm (at %.2f°), a cusp.",
                                          cusp.fromDeg, cusp.toDeg, -sharpest.value, sharpest.x));
}

void checkPitchCurve(const TurnPoints& turn, CamCheck& check)
{
    const CamDesign& cam = turn.cam;
    const std::vector<double>& angles = turn.angles;
    const RealFunction curvature = [&](double t) { return turn.at(t).pitchCurvature; };
    const double rf = rollerKind(cam.follower) ? cam.rollerRadius : 0;
    // A closed curve turning once always has a convex part, so the sharpest bend is positive.
    const Sample sharpest = largestOver(curvature, angles, 0, 360);
    check.minConvexRadius = 1 / sharpest.value - rf;
    check.minConvexRadiusAtDeg = sharpest.x;
    check.concave = positiveStretches([&](double t) { return -curvature(t); }, angles);
    // Undercut where rf exceeds the convex radius 1/kappa, i.e. where rf kappa - 1 > 0.
    if (rf > 0)
        check.undercut = positiveStretches([&](double t) { return rf * curvature(t) - 1; }, angles);
    if (!check.undercut.empty())
        check.warnings.push_back(sentence("The roller (radius %.3f mm) undercuts the cam: the pitch curve's "
                                          "smallest convex radius is %.3f mm at %.2f°.", rf, 1 / sharpest.value,
                                          sharpest.x));
}

} // namespace

CamCheck checkCam(const CamDesign& cam, int perDegree)
{
    const TurnPoints turn(cam, scanAngles(cam, perDegree));
    CamCheck check;
    check.infiniteJerkAngles = infiniteJerkAngles(cam.program);
    checkPressureAngles(turn, check);
    if (cam.follower == FLAT_FOLLOWER)
        checkFlatFace(turn, check);
    else
        checkPitchCurve(turn, check);
    if (!check.infiniteJerkAngles.empty())
        check.warnings.push_back("The acceleration jumps (infinite jerk) at " + angleList(check.infiniteJerkAngles) +
                                 ".");
    return check;
}
