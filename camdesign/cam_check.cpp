// Extremes and stretches of the cam's pressure angle and curvature, found on a sample grid and refined between.
// Angles in degrees, lengths in mm, curvature in 1/mm.
#include "camdesign/cam_check.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "camdesign/angle_search.h"

namespace {

using Sample = SearchPoint;

// Refinement stops when the bracket is this narrow: far below what any report prints.
const double ANGLE_TOLERANCE_DEG = 1e-10;

// The scan angles over [0, 360]: a regular grid plus every segment boundary and law joint, where the lift's
// second derivative can jump and an extreme can sit on a kink.
std::vector<double> scanAngles(const CamDesign& cam, int perDegree)
{
    // Never coarser than 0.1°, whatever the table's K, so that the check does not depend on it.
    const int k = std::max(perDegree, 10);
    std::vector<double> angles;
    for (int j = 0; j <= 360 * k; j++)
        angles.push_back(static_cast<double>(j) / k);
    for (double angle : programBreakAngles(cam.program))
        if (angle <= 360)
            angles.push_back(angle);
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    return angles;
}

std::vector<Sample> sampled(const RealFunction& f, const std::vector<double>& angles, double from, double to)
{
    std::vector<Sample> samples;
    for (double theta : angles)
        if (theta >= from && theta <= to)
            samples.push_back({theta, f(theta)});
    return samples;
}

// Every local peak of the samples, refined between its neighbours; never worse than the sample itself.
std::vector<Sample> refinedPeaks(const RealFunction& f, const std::vector<Sample>& samples)
{
    std::vector<Sample> peaks;
    const int n = static_cast<int>(samples.size());
    for (int i = 0; i < n; i++) {
        bool aboveLeft = i == 0 || samples[i].value > samples[i - 1].value;
        bool notBelowRight = i == n - 1 || samples[i].value >= samples[i + 1].value;
        if (!aboveLeft || !notBelowRight)
            continue;
        Sample best = goldenSectionMax(f, samples[std::max(i - 1, 0)].x, samples[std::min(i + 1, n - 1)].x,
                                       ANGLE_TOLERANCE_DEG);
        peaks.push_back(best.value > samples[i].value ? best : samples[i]);
    }
    return peaks;
}

// NaN when there is no peak at all: only a function that is NaN everywhere has none.
Sample highest(const std::vector<Sample>& samples)
{
    if (samples.empty())
        return {NAN, NAN};
    return *std::max_element(samples.begin(), samples.end(),
                             [](const Sample& a, const Sample& b) { return a.value < b.value; });
}

// The largest value of f over [from, to].
Sample largestOver(const RealFunction& f, const std::vector<double>& angles, double from, double to)
{
    return highest(refinedPeaks(f, sampled(f, angles, from, to)));
}

// The stretches of the turn where f > 0. A peak that rises above zero between two samples that do not is
// found by refining every sampled peak first; a stretch running through 360 and on from 0 becomes one.
std::vector<AngleStretch> positiveStretches(const RealFunction& f, const std::vector<double>& angles)
{
    std::vector<Sample> samples = sampled(f, angles, 0, 360);
    for (const Sample& peak : refinedPeaks(f, samples))
        if (peak.value > 0)
            samples.push_back(peak);
    std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.x < b.x; });

    std::vector<AngleStretch> stretches;
    bool inside = samples.front().value > 0;
    double from = samples.front().x;
    for (size_t i = 1; i < samples.size(); i++) {
        bool positive = samples[i].value > 0;
        if (positive == inside)
            continue;
        double edge = bisectCrossing(f, samples[i - 1].x, samples[i].x, ANGLE_TOLERANCE_DEG);
        if (positive)
            from = edge;
        else
            stretches.push_back({from, edge});
        inside = positive;
    }
    if (inside)
        stretches.push_back({from, samples.back().x});

    const bool wraps = stretches.size() > 1 && stretches.front().fromDeg == samples.front().x &&
                       stretches.back().toDeg == samples.back().x;
    if (wraps) {
        stretches.back().toDeg = stretches.front().toDeg;
        stretches.erase(stretches.begin());
    }
    return stretches;
}

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
void checkPressureAngles(const CamDesign& cam, const std::vector<double>& angles, CamCheck& check)
{
    const RealFunction pressure = [&](double t) { return std::fabs(camPointAt(cam, t).pressureAngleDeg); };
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

void checkFlatFace(const CamDesign& cam, const std::vector<double>& angles, CamCheck& check)
{
    const RealFunction rho = [&](double t) { return camPointAt(cam, t).contourRadius; };
    const RealFunction contact = [&](double t) { return camPointAt(cam, t).contactOffset; };
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

void checkPitchCurve(const CamDesign& cam, const std::vector<double>& angles, CamCheck& check)
{
    const RealFunction curvature = [&](double t) { return camPointAt(cam, t).pitchCurvature; };
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
    const std::vector<double> angles = scanAngles(cam, perDegree);
    CamCheck check;
    check.infiniteJerkAngles = infiniteJerkAngles(cam.program);
    checkPressureAngles(cam, angles, check);
    if (cam.follower == FLAT_FOLLOWER)
        checkFlatFace(cam, angles, check);
    else
        checkPitchCurve(cam, angles, check);
    if (!check.infiniteJerkAngles.empty())
        check.warnings.push_back("The acceleration jumps (infinite jerk) at " + angleList(check.infiniteJerkAngles) +
                                 ".");
    return check;
}
