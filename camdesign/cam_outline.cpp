// The cam's contour and pitch curve sampled from the geometry's closed forms, for fitting, the cutter and the
// polar table. Lengths in mm, angles in degrees.
#include "camdesign/cam_outline.h"

#include <algorithm>
#include <cmath>

#include "camdesign/angle_search.h"
#include "camdesign/turn_scan.h"

double camAngleAt(const CamDesign& cam, double t) { return cam.turn == CLOCKWISE ? t : 360 - t; }

CurveFunction camCurve(const CamDesign& cam, CamCurveKind kind)
{
    return [cam, kind](double t) {
        const CamPoint p = camPointAt(cam, camAngleAt(cam, t));
        const double sense = cam.turn == CLOCKWISE ? 1 : -1;
        if (kind == WORKING_CONTOUR)
            return CurveSample{p.contourX, p.contourY, sense * p.contourTangentX, sense * p.contourTangentY,
                               1 / p.contourRadius};
        // A roller's contour is its pitch curve moved in by rf, whose tangent is the pitch curve's times
        // (1 - rf k): divided out, it holds where an undercut turns the contour back as well.
        const double stretch = 1 - (rollerKind(cam.follower) ? cam.rollerRadius : 0) * p.pitchCurvature;
        return CurveSample{p.pitchX, p.pitchY, sense * p.contourTangentX / stretch,
                           sense * p.contourTangentY / stretch, p.pitchCurvature};
    };
}

ArcFit fitCamCurve(const CamDesign& cam, CamCurveKind kind, double offset, double tolerance)
{
    std::vector<double> knots = {0, 360};
    for (double angle : programBreakAngles(cam.program))
        if (angle > 0 && angle < 360)
            knots.push_back(camAngleAt(cam, angle));
    std::sort(knots.begin(), knots.end());
    const CurveFunction curve = camCurve(cam, kind);
    return fitArcs(offset != 0 ? offsetCurve(curve, offset) : curve, knots, tolerance);
}

std::optional<AngleExtreme> minConcaveRadius(const CamDesign& cam, int perDegree)
{
    // The concave curvature, positive only where the contour is concave.
    const RealFunction concavity = [&cam](double theta) { return -1 / camPointAt(cam, theta).contourRadius; };
    const std::vector<double> angles = scanAngles(cam, perDegree);
    std::vector<double> values;
    for (double theta : angles)
        values.push_back(concavity(theta));
    SearchPoint tightest{0, 0};
    for (size_t i = 0; i < angles.size(); i++) {
        const size_t before = i > 0 ? i - 1 : i, after = i + 1 < angles.size() ? i + 1 : i;
        if (values[i] <= 0 || values[i] < values[before] || values[i] < values[after])
            continue;
        SearchPoint peak = goldenSectionMax(concavity, angles[before], angles[after], ANGLE_TOLERANCE_DEG);
        if (peak.value < values[i])
            peak = {angles[i], values[i]};
        if (peak.value > tightest.value)
            tightest = peak;
    }
    if (tightest.value <= 0)
        return std::nullopt;
    return AngleExtreme{1 / tightest.value, tightest.x};
}

std::optional<std::vector<double>> polarRadii(const CamDesign& cam, int perDegree)
{
    const CurveFunction contour = camCurve(cam, WORKING_CONTOUR);
    std::vector<double> ts;
    for (double theta : scanAngles(cam, perDegree))
        ts.push_back(camAngleAt(cam, theta));
    std::sort(ts.begin(), ts.end());
    // The polar angle from +y, counter-clockwise, unwrapped along the curve: it must grow all the way round.
    std::vector<double> phis;
    for (double t : ts) {
        const CurveSample c = contour(t);
        if (!(c.x * c.dy - c.y * c.dx > 0))
            return std::nullopt;
        const double phi = std::atan2(-c.x, c.y) * 180 / M_PI;
        phis.push_back(phis.empty() ? phi : phis.back() + std::remainder(phi - phis.back(), 360));
    }
    std::vector<double> radii;
    for (int j = 0; j < 360 * perDegree; j++) {
        const double target = phis.front() + std::fmod(static_cast<double>(j) / perDegree - phis.front() + 720, 360);
        const size_t i = std::min<size_t>(std::upper_bound(phis.begin(), phis.end(), target) - phis.begin(),
                                          phis.size() - 1) - 1;
        const RealFunction beyond = [&](double t) {
            const CurveSample c = contour(t);
            return std::remainder(std::atan2(-c.x, c.y) * 180 / M_PI - target, 360);
        };
        const CurveSample c = contour(bisectCrossing(beyond, ts[i], ts[i + 1], 1e-12));
        radii.push_back(std::hypot(c.x, c.y));
    }
    return radii;
}
