// The cam's geometry at one angle. In the follower's frame the reference point q (knife tip, roller centre) and
// its derivatives per radian follow from the lift; on the cam at rest it is P = R(theta) q, since the cam turns
// clockwise. Then P' = R a, P'' = R b with a = J q + q', b = -q + 2 J q' + q'' (J turns by +90 degrees).
// Lengths in mm, angles in radians inside.
#include "camdesign/cam_geometry.h"

#include <cmath>

namespace {

const double RAD_PER_DEG = PI / 180;

struct Vec {
    double x, y;
};

Vec rotated(Vec v, double c, double s) { return {v.x * c - v.y * s, v.x * s + v.y * c}; }

// The follower's reference point, its derivatives per radian and the unit direction in which it moves as the
// lift grows, in the follower's frame; e and D already mirrored for the turning sense.
struct FollowerPath {
    Vec q, dq, ddq, motion;
};

FollowerPath translatingPath(const CamDesign& cam, double e, const ProgramLift& lift)
{
    const double rp = pitchRadius(cam);
    return {{e, std::sqrt(rp * rp - e * e) + lift.s}, {0, lift.ds}, {0, lift.dds}, {0, 1}};
}

// The arm turns by the lift (degrees) away from the centre: gamma = gamma0 + psi from the pivot-to-centre line.
FollowerPath oscillatingPath(const CamDesign& cam, double D, const ProgramLift& lift)
{
    const double L = cam.armLength, sign = D > 0 ? 1 : -1;
    const double gamma = armAngleAtRest(cam) + lift.s * RAD_PER_DEG;
    const double dGamma = lift.ds * RAD_PER_DEG, ddGamma = lift.dds * RAD_PER_DEG;
    const double c = std::cos(gamma), s = std::sin(gamma);
    const Vec along = {sign * L * s, L * c};  // dq/dgamma
    return {{D - sign * L * c, L * s},
            {dGamma * along.x, dGamma * along.y},
            {ddGamma * along.x + dGamma * dGamma * sign * L * c, ddGamma * along.y - dGamma * dGamma * L * s},
            {sign * s, c}};
}

// The envelope of the face y = r0 + s: contact at (-s', r0 + s), radius rho = r0 + s + s''.
CamPoint flatPoint(const CamDesign& cam, double e, const ProgramLift& lift, double c, double s)
{
    const double rho = cam.baseRadius + lift.s + lift.dds;
    const Vec contact = rotated({-lift.ds, cam.baseRadius + lift.s}, c, s);
    const Vec tangent = rotated({-rho, 0}, c, s);
    CamPoint point;
    point.pressureAngleDeg = 0;
    point.pitchCurvature = 1 / rho;
    point.contourRadius = rho;
    point.pitchX = point.contourX = contact.x;
    point.pitchY = point.contourY = contact.y;
    point.contourTangentX = tangent.x;
    point.contourTangentY = tangent.y;
    point.contactOffset = -lift.ds - e;
    return point;
}

CamPoint pathPoint(const CamDesign& cam, const FollowerPath& path, double c, double s)
{
    const Vec q = path.q, dq = path.dq, ddq = path.ddq;
    const Vec a = {-q.y + dq.x, q.x + dq.y};
    const Vec b = {-q.x - 2 * dq.y + ddq.x, -q.y + 2 * dq.x + ddq.y};
    const double speed = std::sqrt(a.x * a.x + a.y * a.y);
    const double kappa = (a.x * b.y - a.y * b.x) / (speed * speed * speed);
    // The outward normal of a curve run counter-clockwise; a roller's contour lies rf inside along it.
    const Vec normal = {a.y / speed, -a.x / speed};
    const double rf = rollerKind(cam.follower) ? cam.rollerRadius : 0;
    const Vec pitch = rotated(q, c, s);
    const Vec contour = rotated({q.x - rf * normal.x, q.y - rf * normal.y}, c, s);
    const Vec tangent = rotated({(1 - rf * kappa) * a.x, (1 - rf * kappa) * a.y}, c, s);
    CamPoint point;
    const double along = normal.x * path.motion.x + normal.y * path.motion.y;
    const double across = normal.x * path.motion.y - normal.y * path.motion.x;
    // Translating: signed, positive where the normal leans towards +x. Oscillating: 0..90 degrees.
    point.pressureAngleDeg = cam.follower == OSCILLATING_ROLLER_FOLLOWER
                                 ? std::atan2(std::fabs(across), std::fabs(along)) / RAD_PER_DEG
                                 : std::atan2(across, along) / RAD_PER_DEG;
    point.pitchCurvature = kappa;
    point.contourRadius = 1 / kappa - rf;
    point.pitchX = pitch.x;
    point.pitchY = pitch.y;
    point.contourX = contour.x;
    point.contourY = contour.y;
    point.contourTangentX = tangent.x;
    point.contourTangentY = tangent.y;
    point.contactOffset = 0;
    return point;
}

} // namespace

double armAngleAtRest(const CamDesign& cam)
{
    const double rp = pitchRadius(cam), D = std::fabs(cam.pivotDistance), L = cam.armLength;
    const double cosine = (D * D + L * L - rp * rp) / (2 * D * L);
    return std::fabs(cosine) < 1 ? std::acos(cosine) : NAN;
}

CamPoint camPointAt(const CamDesign& cam, double thetaDeg)
{
    const bool mirrored = cam.turn == COUNTER_CLOCKWISE;
    const double e = mirrored ? -cam.offset : cam.offset;
    const double D = mirrored ? -cam.pivotDistance : cam.pivotDistance;
    const ProgramLift lift = programLiftAt(cam.program, thetaDeg);
    const double turn = thetaDeg * RAD_PER_DEG, c = std::cos(turn), s = std::sin(turn);
    CamPoint point = cam.follower == FLAT_FOLLOWER ? flatPoint(cam, e, lift, c, s)
                     : cam.follower == OSCILLATING_ROLLER_FOLLOWER
                         ? pathPoint(cam, oscillatingPath(cam, D, lift), c, s)
                         : pathPoint(cam, translatingPath(cam, e, lift), c, s);
    point.s = lift.s;
    point.ds = lift.ds;
    point.dds = lift.dds;
    point.ddds = lift.ddds;
    if (mirrored) {
        point.pitchX = -point.pitchX;
        point.contourX = -point.contourX;
        point.contourTangentX = -point.contourTangentX;
        point.contactOffset = -point.contactOffset;
        if (cam.follower == KNIFE_FOLLOWER || cam.follower == ROLLER_FOLLOWER)
            point.pressureAngleDeg = -point.pressureAngleDeg;
    }
    return point;
}
