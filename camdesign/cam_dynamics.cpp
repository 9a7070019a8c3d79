// The translating follower at speed over the turn: kinematics in real units, the force the cam must give, where
// it is not enough (jump), the speed and preload at which it would be, camshaft torque, power and Hertz stress.
// Units as in cam_dynamics.h; the lift's derivatives come per radian in mm and are turned into metres here.
#include "camdesign/cam_dynamics.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "camdesign/number_text.h"
#include "camdesign/turn_scan.h"

namespace {

constexpr double M_PER_MM = 1e-3;
// However short a segment, it gets this many samples, so that its extremes are bracketed too.
constexpr int MIN_SEGMENT_SAMPLES = 16;
// F counts as >= 0 at the jump speed down to this fraction of the forces involved (rounding only).
constexpr double FORCE_ROUNDING = 1e-9;

// One figure of the follower at an angle, from the cam point and the follower's state there.
using Quantity = std::function<double(const CamPoint&, const FollowerAtSpeed&)>;

// The cam at speed over the turn: its points at the scan angles and the follower's state at each, computed once.
struct Turn {
    const CamDesign& cam;
    const CamRunning& running;
    TurnPoints cached;
    const std::vector<double>& angles = cached.angles;
    std::vector<FollowerAtSpeed> followers;   // at the cached points

    Turn(const CamDesign& cam, const CamRunning& running, std::vector<double> scan)
        : cam(cam), running(running), cached(cam, std::move(scan))
    {
        for (const CamPoint& point : cached.points)
            followers.push_back(followerAtSpeed(running, point));
    }

    RealFunction of(const Quantity& q) const
    {
        return [this, q](double theta) {
            const long i = cached.indexOf(theta);
            if (i >= 0)
                return q(cached.points[static_cast<size_t>(i)], followers[static_cast<size_t>(i)]);
            const CamPoint point = camPointAt(cam, theta);
            return q(point, followerAtSpeed(running, point));
        };
    }
    AngleExtreme largest(const Quantity& q) const
    {
        const SearchPoint best = largestOver(of(q), angles, 0, 360);
        return {best.value, best.x};
    }
    // The smallest value of q and where.
    AngleExtreme smallest(const Quantity& q) const
    {
        const AngleExtreme best = largest([&](const CamPoint& p, const FollowerAtSpeed& f) { return -q(p, f); });
        return {-best.value, best.atDeg};
    }
};

// The check's scan angles and at least MIN_SEGMENT_SAMPLES between neighbouring bounds.
std::vector<double> dynamicsAngles(const CamDesign& cam, int perDegree)
{
    std::vector<double> angles = scanAngles(cam, perDegree);
    std::vector<double> bounds = programBreakAngles(cam.program);
    bounds.insert(bounds.begin(), 0);
    bounds.push_back(360);
    for (size_t i = 0; i + 1 < bounds.size(); i++)
        for (int n = 1; n < MIN_SEGMENT_SAMPLES; n++)
            angles.push_back(bounds[i] + (bounds[i + 1] - bounds[i]) * n / MIN_SEGMENT_SAMPLES);
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    return angles;
}

// What presses the follower on the cam besides its inertia: k s + F0 + F_load, N.
double holdingForce(const CamRunning& running, const CamPoint& point)
{
    return running.springRate * point.s + running.preload + running.load;
}

// The highest ω² at which F = m s'' ω² + k s + F0 + F_load stays >= 0 all round. Each place of deceleration
// (s'' < 0) allows up to (k s + F0 + F_load) / (-m s''); the lowest of these is the answer, unless F < 0 there
// somewhere else at any speed up to it (a dwell without holding force), which leaves no speed at all.
double jumpOmegaSquared(const Turn& turn)
{
    const CamRunning& running = turn.running;
    const double m = running.massKg * M_PER_MM;
    // Decelerating with nothing to hold it: no speed at all.
    const AngleExtreme unheld = turn.largest([&](const CamPoint& p, const FollowerAtSpeed&) {
        return p.dds < 0 ? -holdingForce(running, p) : -HUGE_VAL;
    });
    if (unheld.value >= 0)
        return 0;
    // The largest -1/ω² allowed, that is the smallest ω² allowed; nothing where the follower accelerates.
    const AngleExtreme tightest = turn.largest([&](const CamPoint& p, const FollowerAtSpeed&) {
        return p.dds < 0 ? -holdingForce(running, p) / (-m * p.dds) : -HUGE_VAL;
    });
    const double omega2 = -tightest.value;
    if (!(omega2 > 0) || !std::isfinite(omega2))
        return 0;
    // F at that speed, lowest over the turn; the forces' own size sets the rounding allowed.
    const double size = std::fabs(running.preload) + std::fabs(running.load) +
                        turn.largest([&](const CamPoint& p, const FollowerAtSpeed&) {
                            return running.springRate * p.s + m * std::fabs(p.dds) * omega2;
                        }).value;
    const AngleExtreme lowest = turn.smallest([&](const CamPoint& p, const FollowerAtSpeed&) {
        return m * p.dds * omega2 + holdingForce(running, p);
    });
    return lowest.value >= -FORCE_ROUNDING * size ? omega2 : 0;
}

std::string stretchText(const std::vector<AngleStretch>& stretches)
{
    std::string text;
    for (const AngleStretch& s : stretches)
        text += (text.empty() ? "" : ", ") + fixedText(s.fromDeg, 2) + "° to " + fixedText(s.toDeg, 2) + "°";
    return text;
}

CamDynamics::Forces forcesOverTheTurn(const Turn& turn, std::vector<std::string>& warnings)
{
    const CamRunning& running = turn.running;
    const double omega = angularSpeed(running);
    CamDynamics::Forces forces;
    const auto contactForce = [](const CamPoint&, const FollowerAtSpeed& f) { return f.contactForce; };
    const auto force = [](const CamPoint&, const FollowerAtSpeed& f) { return f.force; };
    const auto torque = [](const CamPoint&, const FollowerAtSpeed& f) { return f.torque; };
    forces.maxContactForce = turn.largest(contactForce);
    forces.minContactForce = turn.smallest(contactForce);
    const auto lack = [](const CamPoint&, const FollowerAtSpeed& f) { return -f.force; };
    forces.jumpStretches = positiveStretches(turn.of(lack), turn.angles);
    forces.jumpSpeedRpm = std::sqrt(jumpOmegaSquared(turn)) * 60 / (2 * PI);
    // F0 enters F one for one: the preload that lifts the lowest F to 0, or none.
    const AngleExtreme lowestForce = turn.smallest(force);
    forces.requiredPreload = std::max(0.0, running.preload - lowestForce.value);
    forces.maxTorque = turn.largest(torque);
    forces.minTorque = turn.smallest(torque);
    forces.maxPower = forces.maxTorque.value * omega;

    if (running.camWidth > 0 && turn.cam.follower != KNIFE_FOLLOWER) {
        // Where the contour cannot carry the follower (undercut, cusp) the stress has no meaning, nor a largest value.
        const AngleExtreme uncarried = turn.largest([&](const CamPoint& p, const FollowerAtSpeed& f) {
            return f.contactForce > 0 && !contactStressAt(running, turn.cam, p, f.contactForce) ? 1.0 : 0.0;
        });
        if (uncarried.value == 0)
            forces.maxContactStress = turn.largest([&](const CamPoint& p, const FollowerAtSpeed& f) {
                return contactStressAt(running, turn.cam, p, f.contactForce).value_or(0);
            });
        else
            warnings.push_back("The contact stress is not given: the contour cannot carry the follower all round "
                               "(it crosses itself).");
    }
    if (!forces.jumpStretches.empty()) {
        warnings.push_back("The follower leaves the cam (jumps) at " + fixedText(running.speedRpm, 1) + " rpm, from " +
                           stretchText(forces.jumpStretches) + ": the force needed falls to " +
                           fixedText(lowestForce.value, 1) + " N at " + fixedText(lowestForce.atDeg, 2) + "°.");
        warnings.push_back("A preload of at least " + fixedText(forces.requiredPreload, 1) + " N (spring rate " +
                           fixedText(running.springRate, 3) + " N/mm) keeps it on the cam at this speed; " +
                           (forces.jumpSpeedRpm > 0
                                ? "as it is, it holds up to " + fixedText(forces.jumpSpeedRpm, 1) + " rpm."
                                : "as it is, no speed keeps it on the cam."));
    }
    return forces;
}

} // namespace

double angularSpeed(const CamRunning& running) { return 2 * PI * running.speedRpm / 60; }

FollowerAtSpeed followerAtSpeed(const CamRunning& running, const CamPoint& point)
{
    const double omega = angularSpeed(running);
    FollowerAtSpeed f;
    f.velocity = point.ds * M_PER_MM * omega;
    f.acceleration = point.dds * M_PER_MM * omega * omega;
    f.jerk = point.ddds * M_PER_MM * omega * omega * omega;
    f.force = running.massKg * f.acceleration + holdingForce(running, point);
    // The contact normal leans by the pressure angle from the line of motion (0 for a flat face).
    f.contactForce = f.force / std::cos(point.pressureAngleDeg * PI / 180);
    f.torque = f.force * point.ds * M_PER_MM;
    return f;
}

double contactModulusMPa(const CamRunning& running)
{
    return running.youngsModulusGPa * 1000 / (2 * (1 - running.poisson * running.poisson));
}

std::optional<double> contactStressAt(const CamRunning& running, const CamDesign& cam, const CamPoint& point,
                                      double contactForce)
{
    if (running.camWidth <= 0 || contactForce <= 0 || cam.follower == KNIFE_FOLLOWER)
        return std::nullopt;
    // R' from 1/R' = 1/ρ_cam + 1/RF. A roller's contour lies RF inside its pitch curve, ρ_cam = 1/κ - RF, so
    // R' = RF (1 - RF κ): finite also where the pitch curve is straight. A flat face has 1/RF = 0, R' = ρ_cam.
    const double rf = cam.rollerRadius;
    const double relativeRadius =
        cam.follower == FLAT_FOLLOWER ? point.contourRadius : rf * (1 - rf * point.pitchCurvature);
    if (!(relativeRadius > 0))
        return std::nullopt;
    return std::sqrt(contactForce * contactModulusMPa(running) / (PI * running.camWidth * relativeRadius));
}

CamDynamics camDynamics(const CamDesign& cam, const CamRunning& running, int perDegree)
{
    const Turn turn(cam, running, dynamicsAngles(cam, perDegree));
    CamDynamics dynamics;
    const auto speed = [](const CamPoint&, const FollowerAtSpeed& f) { return std::fabs(f.velocity); };
    const auto acceleration = [](const CamPoint&, const FollowerAtSpeed& f) { return f.acceleration; };
    const auto jerk = [](const CamPoint&, const FollowerAtSpeed& f) { return std::fabs(f.jerk); };
    dynamics.maxVelocity = turn.largest(speed).value;
    dynamics.maxAcceleration = turn.largest(acceleration).value;
    dynamics.minAcceleration = turn.smallest(acceleration).value;
    dynamics.maxJerk = turn.largest(jerk).value;
    dynamics.jerkInfinite = !infiniteJerkAngles(cam.program).empty();
    if (running.massKg > 0)
        dynamics.forces = forcesOverTheTurn(turn, dynamics.warnings);
    return dynamics;
}
