// Sampling a function of the cam angle over the turn, then refining each peak and each sign change between the
// samples: the check's and the dynamics' one way to find extremes and stretches. Angles in degrees.
#include "camdesign/turn_scan.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using Sample = SearchPoint;

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

} // namespace

TurnPoints::TurnPoints(const CamDesign& cam, std::vector<double> ascendingAngles)
    : cam(cam), angles(std::move(ascendingAngles))
{
    points.reserve(angles.size());
    for (double theta : angles)
        points.push_back(camPointAt(cam, theta));
}

long TurnPoints::indexOf(double theta) const
{
    if (next < angles.size() && angles[next] == theta)
        return static_cast<long>(next++);
    const auto found = std::lower_bound(angles.begin(), angles.end(), theta);
    if (found == angles.end() || *found != theta)
        return -1;
    next = static_cast<size_t>(found - angles.begin()) + 1;
    return static_cast<long>(found - angles.begin());
}

CamPoint TurnPoints::at(double theta) const
{
    const long i = indexOf(theta);
    return i >= 0 ? points[static_cast<size_t>(i)] : camPointAt(cam, theta);
}

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

Sample largestOver(const RealFunction& f, const std::vector<double>& angles, double from, double to)
{
    return highest(refinedPeaks(f, sampled(f, angles, from, to)));
}

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

