// Extremes and stretches of the cam's pressure angle and curvature, found on a sample grid and refined between.
// Angles in degrees, lengths in mm, curvature in 1/mm.
#include "camdesign/cam_check.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <functional>

namespace {

using AngleFunction = std::function<double(double)>;

struct Sample {
    double theta;
    double value;
};

// Refinement stops when the bracket is this narrow: far below what any report prints.
const double ANGLE_TOLERANCE_DEG = 1e-10;

// The scan angles over [0, 360]: a regular grid plus every phase boundary and law joint, where the lift's
// second derivative can jump and an extreme can sit on a kink.
std::vector<double> scanAngles(const CamDimensions& cam, int perDegree)
{
    // Never coarser than 0.1°, whatever the table's K, so that the check does not depend on it.
    const int k = std::max(perDegree, 10);
    std::vector<double> angles;
    for (int j = 0; j <= 360 * k; j++)
        angles.push_back(static_cast<double>(j) / k);
    angles.push_back(cam.riseDeg);
    angles.push_back(cam.riseDeg + cam.dwellDeg);
    angles.push_back(cam.riseDeg + cam.dwellDeg + cam.returnDeg);
    double joints[2 * MAX_LAW_JOINTS];
    int count = camJoints(cam, joints, 2 * MAX_LAW_JOINTS);
    angles.insert(angles.end(), joints, joints + count);
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    return angles;
}

std::vector<Sample> sampled(const AngleFunction& f, const std::vector<double>& angles, double from, double to)
{
    std::vector<Sample> samples;
    for (double theta : angles)
        if (theta >= from && theta <= to)
            samples.push_back({theta, f(theta)});
    return samples;
}

// Golden-section search for the largest value in [a, b]; the caller brackets a single peak.
Sample refineMax(const AngleFunction& f, double a, double b)
{
    const double g = (std::sqrt(5.0) - 1) / 2;
    double x1 = b - g * (b - a), x2 = a + g * (b - a);
    double f1 = f(x1), f2 = f(x2);
    while (b - a > ANGLE_TOLERANCE_DEG) {
        if (f1 < f2) {
            a = x1, x1 = x2, f1 = f2;
            x2 = a + g * (b - a), f2 = f(x2);
        } else {
            b = x2, x2 = x1, f2 = f1;
            x1 = b - g * (b - a), f1 = f(x1);
        }
    }
    double x = (a + b) / 2;
    return {x, f(x)};
}

// Every local peak of the samples, refined between its neighbours; never worse than the sample itself.
std::vector<Sample> refinedPeaks(const AngleFunction& f, const std::vector<Sample>& samples)
{
    std::vector<Sample> peaks;
    const int n = static_cast<int>(samples.size());
    for (int i = 0; i < n; i++) {
        bool aboveLeft = i == 0 || samples[i].value > samples[i - 1].value;
        bool notBelowRight = i == n - 1 || samples[i].value >= samples[i + 1].value;
        if (!aboveLeft || !notBelowRight)
            continue;
        Sample best = refineMax(f, samples[std::max(i - 1, 0)].theta, samples[std::min(i + 1, n - 1)].theta);
        peaks.push_back(best.value > samples[i].value ? best : samples[i]);
    }
    return peaks;
}

Sample highest(const std::vector<Sample>& samples)
{
    return *std::max_element(samples.begin(), samples.end(),
                             [](const Sample& a, const Sample& b) { return a.value < b.value; });
}

// Where f turns positive or back, between a and b whose signs differ; a jump of f is found as well as a root.
double crossing(const AngleFunction& f, double a, double b)
{
    const bool aPositive = f(a) > 0;
    while (b - a > ANGLE_TOLERANCE_DEG) {
        double m = (a + b) / 2;
        ((f(m) > 0) == aPositive ? a : b) = m;
    }
    return (a + b) / 2;
}

// The stretches of the turn where f > 0. A peak that rises above zero between two samples that do not is
// found by refining every sampled peak first; a stretch running through 360 and on from 0 becomes one.
std::vector<AngleStretch> positiveStretches(const AngleFunction& f, const std::vector<double>& angles)
{
    std::vector<Sample> samples = sampled(f, angles, 0, 360);
    for (const Sample& peak : refinedPeaks(f, samples))
        if (peak.value > 0)
            samples.push_back(peak);
    std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.theta < b.theta; });

    std::vector<AngleStretch> stretches;
    bool inside = samples.front().value > 0;
    double from = samples.front().theta;
    for (size_t i = 1; i < samples.size(); i++) {
        bool positive = samples[i].value > 0;
        if (positive == inside)
            continue;
        double edge = crossing(f, samples[i - 1].theta, samples[i].theta);
        if (positive)
            from = edge;
        else
            stretches.push_back({from, edge});
        inside = positive;
    }
    if (inside)
        stretches.push_back({from, samples.back().theta});

    const bool wraps = stretches.size() > 1 && stretches.front().fromDeg == samples.front().theta &&
                       stretches.back().toDeg == samples.back().theta;
    if (wraps) {
        stretches.back().toDeg = stretches.front().toDeg;
        stretches.erase(stretches.begin());
    }
    return stretches;
}

__attribute__((format(printf, 1, 2))) std::string sentence(const char* format, ...)
{
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

} // namespace

CamCheck checkCam(const CamDimensions& cam, int perDegree)
{
    const std::vector<double> angles = scanAngles(cam, perDegree);
    const AngleFunction pressure = [&](double t) { return std::fabs(camPointAt(cam, t).pressureAngleDeg); };
    const AngleFunction curvature = [&](double t) { return camPointAt(cam, t).pitchCurvature; };
    const double returnStart = cam.riseDeg + cam.dwellDeg;
    CamCheck check;

    const Sample rise = highest(refinedPeaks(pressure, sampled(pressure, angles, 0, cam.riseDeg)));
    const Sample back = highest(refinedPeaks(pressure, sampled(pressure, angles, returnStart, returnStart + cam.returnDeg)));
    check.riseMaxPressureAngleDeg = rise.value;
    check.riseMaxPressureAngleAtDeg = rise.theta;
    check.returnMaxPressureAngleDeg = back.value;
    check.returnMaxPressureAngleAtDeg = back.theta;

    // A closed curve turning once always has a convex part, so the sharpest bend is positive.
    const Sample sharpest = highest(refinedPeaks(curvature, sampled(curvature, angles, 0, 360)));
    check.minConvexRadius = 1 / sharpest.value - cam.rollerRadius;
    check.minConvexRadiusAtDeg = sharpest.theta;

    check.concave = positiveStretches([&](double t) { return -curvature(t); }, angles);
    // Undercut where rf exceeds the convex radius 1/kappa, i.e. where rf kappa - 1 > 0.
    const double rf = cam.rollerRadius;
    if (rf > 0)
        check.undercut = positiveStretches([&](double t) { return rf * curvature(t) - 1; }, angles);

    if (rise.value > PRESSURE_ANGLE_LIMIT_DEG)
        check.warnings.push_back(sentence("The pressure angle reaches %.3f° during the rise (at %.2f°), "
                                          "above %.0f°.", rise.value, rise.theta, PRESSURE_ANGLE_LIMIT_DEG));
    if (back.value > PRESSURE_ANGLE_LIMIT_DEG)
        check.warnings.push_back(sentence("The pressure angle reaches %.3f° during the return (at %.2f°), "
                                          "above %.0f°.", back.value, back.theta, PRESSURE_ANGLE_LIMIT_DEG));
    if (!check.undercut.empty())
        check.warnings.push_back(sentence("The roller (radius %.3f mm) undercuts the cam: the pitch curve's "
                                          "smallest convex radius is %.3f mm at %.2f°.", cam.rollerRadius,
                                          1 / sharpest.value, sharpest.theta));
    return check;
}
