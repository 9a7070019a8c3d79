// The size search: each limit's smallest base radius by bracket and bisection, the largest of them binding; the
// offset by golden section over that radius. Lengths in mm, angles in degrees.
#include "camdesign/cam_sizing.h"

#include <cmath>
#include <vector>

#include "camdesign/angle_search.h"

namespace {

// The offset search stops at a bracket this narrow before rounding to a thousandth of a millimetre.
const double OFFSET_TOLERANCE_MM = 1e-4;

std::vector<SizingLimit> limitsFor(FollowerKind follower)
{
    if (follower == FLAT_FOLLOWER)
        return {CUSP_LIMIT};
    if (follower == ROLLER_FOLLOWER || follower == OSCILLATING_ROLLER_FOLLOWER)
        return {PRESSURE_ANGLE_LIMIT, CURVATURE_LIMIT};
    return {PRESSURE_ANGLE_LIMIT};
}

CamDesign withBase(CamDesign cam, double baseRadius)
{
    cam.baseRadius = baseRadius;
    return cam;
}

// The smallest radius on a grid of stepsPerUnit meeting one limit at the cam's offset.
std::optional<double> smallestFor(const CamDesign& cam, SizingLimit limit, const SizingLimits& limits,
                                  int perDegree, double stepsPerUnit)
{
    return smallestPassing(
        [&](double r) { return meetsLimit(withBase(cam, r), limit, limits, perDegree); }, 1 / SIZE_STEPS_PER_MM,
        LARGEST_BASE_RADIUS_MM, stepsPerUnit);
}

// The smallest radius meeting every limit, and which one needs it.
std::optional<CamSize> smallestAt(const CamDesign& cam, const SizingLimits& limits, int perDegree,
                                  double stepsPerUnit)
{
    std::optional<CamSize> size;
    for (SizingLimit limit : limitsFor(cam.follower)) {
        const std::optional<double> radius = smallestFor(cam, limit, limits, perDegree, stepsPerUnit);
        if (!radius)
            return std::nullopt;
        if (!size || *radius > size->baseRadius)
            size = CamSize{*radius, cam.offset, limit};
    }
    return size;
}

} // namespace

bool meetsLimit(const CamDesign& cam, SizingLimit limit, const SizingLimits& limits, int perDegree)
{
    // An offset beyond the pitch circle leaves the follower nowhere to stand.
    if (cam.follower != OSCILLATING_ROLLER_FOLLOWER && std::fabs(cam.offset) >= pitchRadius(cam))
        return false;
    const CamCheck check = checkCam(cam, perDegree);
    switch (limit) {
    case PRESSURE_ANGLE_LIMIT:
        return check.riseMaxPressureAngleDeg <= limits.maxPressureAngleDeg &&
               check.returnMaxPressureAngleDeg <= limits.maxPressureAngleDeg;
    case CURVATURE_LIMIT:
        // minConvexRadius is the contour's: the pitch curve's less the roller's radius.
        return check.undercut.empty() &&
               check.minConvexRadius + cam.rollerRadius >= limits.minRadiusFactor * cam.rollerRadius;
    case CUSP_LIMIT:
        return check.cusps.empty() && check.minContourRadius.value >= limits.minRadius;
    }
    return false;
}

std::optional<double> smallestPassing(const std::function<bool(double)>& passes, double lowest, double highest,
                                      double stepsPerUnit)
{
    long k = static_cast<long>(std::ceil(lowest * stepsPerUnit - 1e-9));
    const long last = static_cast<long>(std::floor(highest * stepsPerUnit + 1e-9));
    auto value = [stepsPerUnit](long step) { return step / stepsPerUnit; };
    if (passes(value(k)))
        return value(k);
    double below = value(k), above = std::max(1.0, 2 * below);
    while (!passes(std::min(above, highest))) {
        if (above >= highest)
            return std::nullopt;
        below = above, above *= 2;
    }
    above = std::min(above, highest);
    const double crossing =
        bisectCrossing([&](double r) { return passes(r) ? 1.0 : -1.0; }, below, above, 0.1 / stepsPerUnit);
    // The grid point just above the crossing, moved until it passes and the one below it does not.
    k = std::min(last, static_cast<long>(std::ceil(crossing * stepsPerUnit)));
    while (k < last && !passes(value(k)))
        k++;
    while (value(k - 1) >= lowest && passes(value(k - 1)))
        k--;
    return passes(value(k)) ? std::optional<double>(value(k)) : std::nullopt;
}

std::optional<CamSize> sizeCam(const CamDesign& cam, const SizingLimits& limits, bool optimiseOffset, int perDegree)
{
    const std::optional<CamSize> centred = smallestAt(cam, limits, perDegree, SIZE_STEPS_PER_MM);
    if (!optimiseOffset || !centred)
        return centred;
    // The best offset lies within the pitch circle of the cam without one; the radius it needs is searched on a
    // grid a hundred times finer than the answer's, so that the golden section sees a smooth slope.
    const double reach = centred->baseRadius + (rollerKind(cam.follower) ? cam.rollerRadius : 0);
    const RealFunction smaller = [&](double offset) {
        CamDesign moved = cam;
        moved.offset = offset;
        const std::optional<CamSize> size = smallestAt(moved, limits, perDegree, 100 * SIZE_STEPS_PER_MM);
        return size ? -size->baseRadius : -LARGEST_BASE_RADIUS_MM;
    };
    const double best = goldenSectionMax(smaller, -reach, reach, OFFSET_TOLERANCE_MM).x;
    CamDesign moved = cam;
    moved.offset = std::round(best * SIZE_STEPS_PER_MM) / SIZE_STEPS_PER_MM;
    const std::optional<CamSize> size = smallestAt(moved, limits, perDegree, SIZE_STEPS_PER_MM);
    // The rounded offset may not beat no offset at all (a symmetric program's best is 0 to within the search).
    return size && size->baseRadius < centred->baseRadius ? size : centred;
}
