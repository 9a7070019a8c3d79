// The translating follower at speed over the turn: kinematics in real units, the force the cam must give, where
// it is not enough (jump), the speed and preload at which it would be, camshaft torque, power and Hertz stress.
// Units as in cam_dynamics.h; the lift's derivatives come per radian in mm and are turned into metres here.
#include "camdesign/cam_dynamics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "camdesign/angle_search.h"

namespace {

constexpr double M_PER_MM = 1e-3;
// The turn is never sampled coarser than this, whatever the table's K.
constexpr int MIN_PER_DEGREE = 10;
// Nor any segment with fewer samples, however short it is.
constexpr int MIN_SEGMENT_SAMPLES = 16;
// Just past a segment bound or law joint: the later segment's one-sided values.
constexpr double PAST_BOUND_DEG = 1e-9;
constexpr double ANGLE_TOLERANCE_DEG = 1e-10;
// F counts as >= 0 at the jump speed down to this fraction of the forces involved (rounding only).
constexpr double FORCE_ROUNDING = 1e-9;

struct Sample {
    double theta;
    CamPoint point;
    FollowerAtSpeed follower;
};

// One figure of the follower at an angle, from the cam point and the follower's state there.
using Quantity = std::function<double(const CamPoint&, const FollowerAtSpeed&)>;

struct Turn {
    const CamDesign& cam;
    const CamRunning& running;
    std::vector<Sample> samples;

    Sample at(double theta) const
    {
        const CamPoint point = camPointAt(cam, theta);
        return {theta, point, followerAtSpeed(running, point)};
    }
};

// The regular grid, every bound and joint and the point just past it, and at least MIN_SEGMENT_SAMPLES between
// neighbouring bounds, so that a short segment's extremes are bracketed too.
std::vector<double> scanAngles(const MotionProgram& program, int perDegree)
{
    const int k = std::max(perDegree, MIN_PER_DEGREE);
    std::vector<double> angles;
    for (int j = 0; j <= 360 * k; j++)
        angles.push_back(static_cast<double>(j) / k);
    std::vector<double> bounds = programBreakAngles(program);
    bounds.insert(bounds.begin(), 0);
    bounds.push_back(360);
    for (size_t i = 0; i + 1 < bounds.size(); i++) {
        for (int n = 0; n < MIN_SEGMENT_SAMPLES; n++)
            angles.push_back(bounds[i] + (bounds[i + 1] - bounds[i]) * n / MIN_SEGMENT_SAMPLES);
        if (bounds[i] + PAST_BOUND_DEG < 360)
            angles.push_back(bounds[i] + PAST_BOUND_DEG);
    }
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    while (angles.back() > 360)
        angles.pop_back();
    return angles;
}

// The largest value of q over the turn: every local peak of the samples refined between its neighbours.
AngleExtreme largest(const Turn& turn, const Quantity& q)
{
    const std::vector<Sample>& s = turn.samples;
    const auto value = [&](size_t i) { return q(s[i].point, s[i].follower); };
    const RealFunction f = [&](double theta) {
        const Sample sample = turn.at(theta);
        return q(sample.point, sample.follower);
    };
    AngleExtreme best = {value(0), s[0].theta};
    for (size_t i = 0; i < s.size(); i++) {
        const double here = value(i);
        const bool peak = (i == 0 || here > value(i - 1)) && (i + 1 == s.size() || here >= value(i + 1));
        if (!peak)
            continue;
        if (here > best.value)
            best = {here, s[i].theta};
        const SearchPoint refined =
            goldenSectionMax(f, s[i == 0 ? 0 : i - 1].theta, s[std::min(i + 1, s.size() - 1)].theta, ANGLE_TOLERANCE_DEG);
        if (refined.value > best.value)
            best = {refined.value, refined.x};
    }
    return best;
}

// The stretches where q > 0. A peak above zero between two samples that are not is found by refining every
// sampled peak first; a stretch through 360° and on from 0° becomes one, from > to.
std::vector<AngleStretch> positiveStretches(const Turn& turn, const Quantity& q)
{
    const RealFunction f = [&](double theta) {
        const Sample sample = turn.at(theta);
        return q(sample.point, sample.follower);
    };
    std::vector<SearchPoint> points;
    for (const Sample& s : turn.samples)
        points.push_back({s.theta, q(s.point, s.follower)});
    const size_t n = points.size();
    for (size_t i = 1; i + 1 < n; i++)
        if (points[i].value > points[i - 1].value && points[i].value >= points[i + 1].value && points[i].value <= 0) {
            const SearchPoint peak = goldenSectionMax(f, points[i - 1].x, points[i + 1].x, ANGLE_TOLERANCE_DEG);
            if (peak.value > 0)
                points.push_back(peak);
        }
    std::sort(points.begin(), points.end(), [](const SearchPoint& a, const SearchPoint& b) { return a.x < b.x; });

    std::vector<AngleStretch> stretches;
    bool inside = points.front().value > 0;
    double from = points.front().x;
    for (size_t i = 1; i < points.size(); i++) {
        const bool positive = points[i].value > 0;
        if (positive == inside)
            continue;
        const double edge = bisectCrossing(f, points[i - 1].x, points[i].x, ANGLE_TOLERANCE_DEG);
        if (positive)
            from = edge;
        else
            stretches.push_back({from, edge});
        inside = positive;
    }
    if (inside)
        stretches.push_back({from, points.back().x});
    if (stretches.size() > 1 && stretches.front().fromDeg == points.front().x &&
        stretches.back().toDeg == points.back().x) {
        stretches.back().toDeg = stretches.front().toDeg;
        stretches.erase(stretches.begin());
    }
    return stretches;
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
    const double m = turn.running.massKg * M_PER_MM;
    bool unheld = false;
    for (const Sample& s : turn.samples)
        unheld = unheld || (s.point.dds < 0 && holdingForce(turn.running, s.point) <= 0);
    if (unheld)
        return 0;
    // The largest -1/ω² allowed, that is the smallest ω² allowed; nothing where the follower accelerates.
    const AngleExtreme tightest = largest(turn, [&](const CamPoint& p, const FollowerAtSpeed&) {
        return p.dds < 0 ? -holdingForce(turn.running, p) / (-m * p.dds) : -HUGE_VAL;
    });
    const double omega2 = -tightest.value;
    if (!(omega2 > 0) || !std::isfinite(omega2))
        return 0;
    // F at that speed, lowest over the turn; the forces' own size sets the rounding allowed.
    double size = std::fabs(turn.running.preload) + std::fabs(turn.running.load);
    for (const Sample& s : turn.samples)
        size = std::max(size, turn.running.springRate * s.point.s + m * std::fabs(s.point.dds) * omega2);
    const AngleExtreme lowest = largest(turn, [&](const CamPoint& p, const FollowerAtSpeed&) {
        return -(m * p.dds * omega2 + holdingForce(turn.running, p));
    });
    return -lowest.value >= -FORCE_ROUNDING * size ? omega2 : 0;
}

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string stretchText(const std::vector<AngleStretch>& stretches)
{
    std::string text;
    for (const AngleStretch& s : stretches)
        text += (text.empty() ? "" : ", ") + fixed(s.fromDeg, 2) + "° to " + fixed(s.toDeg, 2) + "°";
    return text;
}

CamDynamics::Forces forcesOverTheTurn(const Turn& turn, std::vector<std::string>& warnings)
{
    const CamRunning& running = turn.running;
    const double omega = angularSpeed(running);
    CamDynamics::Forces forces;
    forces.maxContactForce = largest(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return f.contactForce; });
    const AngleExtreme lowest = largest(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return -f.contactForce; });
    forces.minContactForce = {-lowest.value, lowest.atDeg};
    forces.jumpStretches = positiveStretches(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return -f.force; });
    forces.jumpSpeedRpm = std::sqrt(jumpOmegaSquared(turn)) * 60 / (2 * PI);
    // F0 enters F one for one: the preload that lifts the lowest F to 0, or none.
    const AngleExtreme lowestForce = largest(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return -f.force; });
    forces.requiredPreload = std::max(0.0, running.preload + lowestForce.value);
    forces.maxTorque = largest(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return f.torque; });
    const AngleExtreme leastTorque = largest(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return -f.torque; });
    forces.minTorque = {-leastTorque.value, leastTorque.atDeg};
    forces.maxPower = forces.maxTorque.value * omega;

    if (running.camWidth > 0 && turn.cam.follower != KNIFE_FOLLOWER) {
        // Where the contour cannot carry the follower (undercut, cusp) the stress has no meaning, nor a largest value.
        bool carried = true;
        for (const Sample& s : turn.samples)
            carried = carried && (s.follower.contactForce <= 0 ||
                                  contactStressAt(running, turn.cam, s.point, s.follower.contactForce).has_value());
        if (carried)
            forces.maxContactStress = largest(turn, [&](const CamPoint& p, const FollowerAtSpeed& f) {
                return contactStressAt(running, turn.cam, p, f.contactForce).value_or(0);
            });
        else
            warnings.push_back("The contact stress is not given: the contour cannot carry the follower all round "
                               "(it crosses itself).");
    }
    if (!forces.jumpStretches.empty()) {
        warnings.push_back("The follower leaves the cam (jumps) at " + fixed(running.speedRpm, 1) + " rpm, from " +
                           stretchText(forces.jumpStretches) + ": the force needed falls to " +
                           fixed(-lowestForce.value, 1) + " N at " + fixed(lowestForce.atDeg, 2) + "°.");
        warnings.push_back("A preload of at least " + fixed(forces.requiredPreload, 1) + " N (spring rate " +
                           fixed(running.springRate, 3) + " N/mm) keeps it on the cam at this speed; " +
                           (forces.jumpSpeedRpm > 0 ? "as it is, it holds up to " + fixed(forces.jumpSpeedRpm, 1) + " rpm."
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
    Turn turn = {cam, running, {}};
    for (double theta : scanAngles(cam.program, perDegree))
        turn.samples.push_back(turn.at(theta));

    CamDynamics dynamics;
    dynamics.maxVelocity = largest(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return std::fabs(f.velocity); }).value;
    dynamics.maxAcceleration = largest(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return f.acceleration; }).value;
    dynamics.minAcceleration = -largest(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return -f.acceleration; }).value;
    dynamics.maxJerk = largest(turn, [](const CamPoint&, const FollowerAtSpeed& f) { return std::fabs(f.jerk); }).value;
    dynamics.jerkInfinite = !infiniteJerkAngles(cam.program).empty();
    if (running.massKg > 0)
        dynamics.forces = forcesOverTheTurn(turn, dynamics.warnings);
    return dynamics;
}
