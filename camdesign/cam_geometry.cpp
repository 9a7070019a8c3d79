// The cam's lift program and the geometry that follows from it: pitch point, contour point, pressure angle, curvature.
// Lengths in mm, angles in degrees outside and radians inside; the cam turns clockwise, so the profile at rest
// holds the follower's reference point for theta turned counter-clockwise by theta about the centre.
#include "camdesign/cam_geometry.h"

#include <algorithm>
#include <cmath>

#include "curves/motion_tables.h"

static const double RAD_PER_DEG = PI / 180;

double restDeg(const CamDimensions& cam) { return 360 - cam.riseDeg - cam.dwellDeg - cam.returnDeg; }

double pitchRadius(const CamDimensions& cam) { return cam.baseRadius + cam.rollerRadius; }

// A sample on a phase boundary belongs to the earlier phase, as a law's samples do to the earlier segment.
CamPhase phaseAt(const CamDimensions& cam, double thetaDeg)
{
    if (thetaDeg <= cam.riseDeg)
        return RISE;
    if (thetaDeg <= cam.riseDeg + cam.dwellDeg)
        return OUTER_DWELL;
    if (thetaDeg <= cam.riseDeg + cam.dwellDeg + cam.returnDeg)
        return RETURN;
    return INNER_DWELL;
}

std::optional<double> lawTimeAt(const CamDimensions& cam, double thetaDeg)
{
    // Clamped: the last bit of a division can carry T just outside 0..1 at a phase's end.
    switch (phaseAt(cam, thetaDeg)) {
    case RISE:
        return std::clamp(thetaDeg / cam.riseDeg, 0.0, 1.0);
    case RETURN:
        return std::clamp(1 - (thetaDeg - cam.riseDeg - cam.dwellDeg) / cam.returnDeg, 0.0, 1.0);
    default:
        return std::nullopt;
    }
}

CamLift liftAt(const CamDimensions& cam, double thetaDeg)
{
    const std::optional<double> T = lawTimeAt(cam, thetaDeg);
    if (!T)
        return {phaseAt(cam, thetaDeg) == OUTER_DWELL ? cam.lift : 0, 0, 0};
    const LawSample law = evaluateLaw(cam.law, *T, cam.points);
    const double h = cam.lift;
    // The return is the rise read backwards, s = h S(1 - u): the velocity changes sign, the acceleration does not.
    const bool rising = phaseAt(cam, thetaDeg) == RISE;
    const double beta = (rising ? cam.riseDeg : cam.returnDeg) * RAD_PER_DEG;
    return {h * law.S, (rising ? h : -h) * law.V / beta, h * law.A / (beta * beta)};
}

CamPoint camPointAt(const CamDimensions& cam, double thetaDeg)
{
    const double e = cam.offset;
    const double rp = pitchRadius(cam);
    const CamLift lift = liftAt(cam, thetaDeg);

    // In the follower's frame the reference point is q = (e, y); on the cam at rest it is R(theta) q.
    // Then dP/dtheta = R (-y, e + s') and d2P/dtheta2 = R (-e - 2 s', s'' - y).
    const double y = std::sqrt(rp * rp - e * e) + lift.s;
    const double lean = e + lift.ds;
    const double speed2 = y * y + lean * lean;
    const double cross = y * y - y * lift.dds + lean * (e + 2 * lift.ds);

    // The contact normal (e + s', y) points away from the centre; a roller's contour lies rf inside along it.
    const double normalLength = std::sqrt(speed2);
    const double cx = e - cam.rollerRadius * lean / normalLength;
    const double cy = y - cam.rollerRadius * y / normalLength;

    const double turn = thetaDeg * RAD_PER_DEG;
    const double c = std::cos(turn);
    const double sn = std::sin(turn);
    CamPoint point;
    point.s = lift.s;
    point.pressureAngleDeg = std::atan2(lean, y) / RAD_PER_DEG;
    point.pitchCurvature = cross / (speed2 * normalLength);
    point.pitchX = e * c - y * sn;
    point.pitchY = e * sn + y * c;
    point.contourX = cx * c - cy * sn;
    point.contourY = cx * sn + cy * c;
    return point;
}

int camJoints(const CamDimensions& cam, double* anglesDeg, int capacity)
{
    double joints[MAX_LAW_JOINTS];
    int count = lawJoints(cam.law, cam.points, joints);
    int written = 0;
    const double returnStart = cam.riseDeg + cam.dwellDeg;
    for (int i = 0; i < count && written + 2 <= capacity; i++) {
        anglesDeg[written++] = joints[i] * cam.riseDeg;
        anglesDeg[written++] = returnStart + (1 - joints[i]) * cam.returnDeg;
    }
    return written;
}
