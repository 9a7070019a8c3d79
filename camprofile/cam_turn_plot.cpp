// Samples a cam over the turn for the turn plot and names what is drawn: titles with units, limit lines, stretches.
// Lengths in mm, angles in degrees, derivatives per radian of cam angle; at speed SI units (m/s, N, N·m).
#include "camprofile/cam_turn_plot.h"

#include <algorithm>
#include <cmath>

#include "camprofile/arguments.h"
#include "camprofile/output.h"
#include "camprofile/svg_turn_plot.h"

namespace {

// Enough for a smooth curve on a page 790 pixels wide (0.55 pixel a sample).
constexpr int PLOT_PER_DEGREE = 4;
// Just past a bound: the later segment's values, so that a jump is drawn as a step.
constexpr double PAST_BOUND_DEG = 1e-9;
// The contour radius chart shows -CLIP..CLIP of this many times the cam's largest radius.
constexpr double RADIUS_CLIP_FACTOR = 1.5;

const char* const KIND_NAMES[] = {"rise", "dwell", "return"};
const char* const FOLLOWER_NAMES[] = {"knife-edge", "roller", "flat-faced", "oscillating roller"};

std::vector<double> plotAngles(const MotionProgram& program)
{
    std::vector<double> angles;
    for (int j = 0; j <= 360 * PLOT_PER_DEGREE; j++)
        angles.push_back(static_cast<double>(j) / PLOT_PER_DEGREE);
    for (double bound : programBreakAngles(program)) {
        angles.push_back(bound);
        angles.push_back(bound + PAST_BOUND_DEG);
    }
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    while (angles.back() > 360)
        angles.pop_back();
    return angles;
}

std::string segmentName(const CamDesign& cam, const MotionSegment& segment)
{
    if (segment.kind == DWELL_SEGMENT)
        return "dwell";
    const char* unit = cam.follower == OSCILLATING_ROLLER_FOLLOWER ? "°" : " mm";
    return std::string(KIND_NAMES[segment.kind]) + " " + formatNumber(segment.lift) + unit + " " +
           LAW_ARGUMENT_NAMES[segment.law];
}

std::vector<PlotSegment> plotSegments(const CamDesign& cam)
{
    std::vector<PlotSegment> segments;
    const int count = static_cast<int>(cam.program.segments.size());
    for (int i = 0; i < count; i++)
        segments.push_back({segmentStartDeg(cam.program, i), segmentEndDeg(cam.program, i),
                            segmentName(cam, cam.program.segments[i])});
    if (programHasRest(cam.program))
        segments.push_back({segmentStartDeg(cam.program, count), 360, "dwell"});
    return segments;
}

std::string camTitle(const CamDesign& cam)
{
    std::string laws;
    for (const MotionSegment& segment : cam.program.segments)
        if (segment.kind != DWELL_SEGMENT && laws.find(LAW_ARGUMENT_NAMES[segment.law]) == std::string::npos)
            laws += (laws.empty() ? "" : ", ") + std::string(LAW_ARGUMENT_NAMES[segment.law]);
    return "Cam over one turn: " + laws + ", " + FOLLOWER_NAMES[cam.follower] + " follower";
}

std::string camSubtitle(const CamDesign& cam, const std::optional<CamRunning>& running)
{
    std::string text = "base radius " + formatNumber(cam.baseRadius) + " mm";
    if (rollerKind(cam.follower))
        text += ", roller radius " + formatNumber(cam.rollerRadius) + " mm";
    if (cam.follower == OSCILLATING_ROLLER_FOLLOWER)
        text += ", pivot " + formatNumber(cam.pivotDistance) + " mm, arm " + formatNumber(cam.armLength) + " mm";
    else
        text += ", offset " + formatNumber(cam.offset) + " mm";
    text += cam.turn == CLOCKWISE ? ", turning clockwise" : ", turning counter-clockwise";
    if (running) {
        text += "; " + formatNumber(running->speedRpm) + " rpm";
        if (running->massKg > 0)
            text += ", mass " + formatNumber(running->massKg) + " kg, spring " + formatNumber(running->springRate) +
                    " N/mm, preload " + formatNumber(running->preload) + " N, load " + formatNumber(running->load) + " N";
    }
    return text;
}

std::vector<PlotStretch> plotStretches(const std::vector<AngleStretch>& stretches)
{
    std::vector<PlotStretch> list;
    for (const AngleStretch& s : stretches)
        list.push_back({s.fromDeg, s.toDeg});
    return list;
}

// Arrows where s'' jumps, up where it jumps up; at 0° the turn's end comes before.
std::vector<InfiniteMark> jerkMarks(const CamDesign& cam, const CamCheck& check)
{
    std::vector<InfiniteMark> marks;
    for (double angle : check.infiniteJerkAngles) {
        const double before = camPointAt(cam, angle == 0 ? 360 : angle).dds;
        marks.push_back({angle, camPointAt(cam, angle + PAST_BOUND_DEG).dds > before});
    }
    return marks;
}

} // namespace

std::optional<std::string> camTurnPlotSvg(const CamDesign& cam, const CamCheck& check, const std::optional<CamRunning>& running,
                           const std::optional<CamDynamics>& dynamics)
{
    TurnPlot plot;
    plot.title = camTitle(cam);
    plot.subtitle = camSubtitle(cam, running);
    plot.angles = plotAngles(cam.program);
    plot.segments = plotSegments(cam);

    const bool oscillating = cam.follower == OSCILLATING_ROLLER_FOLLOWER;
    const bool forces = running && running->massKg > 0;
    TurnChart lift{oscillating ? "arm swing ψ, degrees" : "lift s, mm", {}, {}, {}, {}, 0};
    TurnChart first{running ? "velocity v, m/s" : oscillating ? "dψ/dθ, degrees/rad" : "ds/dθ, mm/rad", {}, {}, {}, {}, 0};
    TurnChart second{running ? "acceleration a, m/s²" : oscillating ? "d²ψ/dθ², degrees/rad²" : "d²s/dθ², mm/rad²",
                     {}, {}, {}, {}, 0};
    TurnChart third{running ? "jerk j, m/s³" : oscillating ? "d³ψ/dθ³, degrees/rad³" : "d³s/dθ³, mm/rad³",
                    {}, {}, {}, jerkMarks(cam, check), 0};
    TurnChart pressure{"pressure angle φ, degrees", {}, {}, {}, {}, 0};
    TurnChart radius{"radius of curvature of the contour ρ, mm (clipped)", {}, {}, {}, {}, 0};
    TurnChart force{"contact force F_n, N", {}, {{0, "F = 0", "#c00000"}}, {}, {}, 0};
    TurnChart torque{"camshaft torque T, N·m", {}, {}, {}, {}, 0};

    const double limit = cam.maxPressureAngleDeg;
    pressure.lines.push_back({limit, "limit " + formatNumber(limit) + "°", "#c07000"});
    if (cam.follower == KNIFE_FOLLOWER || cam.follower == ROLLER_FOLLOWER)
        pressure.lines.push_back({-limit, "−limit", "#c07000"});
    if (rollerKind(cam.follower))
        radius.lines.push_back({cam.rollerRadius, "roller " + formatNumber(cam.rollerRadius) + " mm", "#007000"});
    radius.shaded = {{"concave", "#3a7bd5", plotStretches(check.concave)},
                     {"undercut", "#e03030", plotStretches(check.undercut)},
                     {"cusp", "#9030c0", plotStretches(check.cusps)}};
    if (dynamics && dynamics->forces)
        force.shaded = {{"jump: F < 0", "#e03030", plotStretches(dynamics->forces->jumpStretches)}};

    double largestRadius = cam.baseRadius;
    for (double theta : plot.angles) {
        const CamPoint p = camPointAt(cam, theta);
        largestRadius = std::max(largestRadius, std::hypot(p.contourX, p.contourY));
        lift.values.push_back(p.s);
        pressure.values.push_back(p.pressureAngleDeg);
        // A straight stretch of contour has an infinite radius: drawn at the clip's edge.
        radius.values.push_back(std::isfinite(p.contourRadius) ? p.contourRadius : HUGE_VAL);
        if (!running) {
            first.values.push_back(p.ds);
            second.values.push_back(p.dds);
            third.values.push_back(p.ddds);
            continue;
        }
        const FollowerAtSpeed f = followerAtSpeed(*running, p);
        first.values.push_back(f.velocity);
        second.values.push_back(f.acceleration);
        third.values.push_back(f.jerk);
        force.values.push_back(f.contactForce);
        torque.values.push_back(f.torque);
    }
    radius.clip = RADIUS_CLIP_FACTOR * largestRadius;
    for (double& value : radius.values)
        value = std::clamp(value, -radius.clip, radius.clip);
    plot.charts = {lift, first, second, third, pressure, radius};
    if (forces) {
        plot.charts.push_back(force);
        plot.charts.push_back(torque);
    }
    for (const TurnChart& chart : plot.charts)
        if (!std::all_of(chart.values.begin(), chart.values.end(), [](double v) { return std::isfinite(v); }))
            return std::nullopt;
    return turnPlotSvg(plot);
}
