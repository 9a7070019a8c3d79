// Biarc fitting: two arcs between neighbouring curve points, tangent to the curve at both and to each other.
// Lengths in mm, angles in radians.
#include "camdesign/arc_fit.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <limits>
#include <stdexcept>

namespace {

// Below this sweep an arc is treated as the straight line it all but is (a radius beyond a billion chords).
const double LINE_SWEEP = 1e-9;
// A biarc turns by at most a right angle, which keeps each arc's projection from its centre one-to-one.
const double MAX_BIARC_SWEEP = M_PI / 2;
// Curve samples a biarc is checked at; the second-order bound covers what lies between them.
const int CHECK_SAMPLES = 24;
// Halvings of a stretch before the fit gives up (a stretch of 2^-40 of its length is a corner, not a curve).
const int MAX_DEPTH = 40;

struct Vec {
    double x, y;
};
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double length(Vec a) { return std::hypot(a.x, a.y); }
Vec unit(Vec a) { return (1 / length(a)) * a; }

struct Sample {
    Vec point, tangent;  // tangent of unit length
    double curvature;
};

Sample sampleAt(const CurveFunction& curve, double t)
{
    const CurveSample c = curve(t);
    return {{c.x, c.y}, unit({c.dx, c.dy}), c.curvature};
}

// The arc leaving a with unit tangent t and ending at b: it turns by twice the angle between t and the chord.
ArcPiece arcFrom(Vec a, Vec t, Vec b)
{
    const Vec chord = b - a;
    return {a.x, a.y, b.x, b.y, 2 * std::atan2(cross(t, chord), dot(t, chord))};
}

struct Biarc {
    ArcPiece first, second;
    Vec joint, jointTangent;
};

// The biarc whose two tangent lengths are equal: the joint J = (P0 + P1 + d (T0 - T1)) / 2, d the positive root of
// |P1 - P0 - d (T0 + T1)| = 2 d, written in the form that does not cancel when the tangents are parallel.
bool biarcBetween(const Sample& a, const Sample& b, Biarc& biarc)
{
    const Vec v = b.point - a.point, t = a.tangent + b.tangent;
    const double vt = dot(v, t), vv = dot(v, v), c = 1 - dot(a.tangent, b.tangent);
    const double denominator = vt + std::sqrt(std::max(0.0, vt * vt + 2 * c * vv));
    if (!(denominator > 0) || !(vv > 0))
        return false;
    const double d = vv / denominator;
    biarc.joint = 0.5 * (a.point + b.point + d * (a.tangent - b.tangent));
    const Vec between = (b.point - d * b.tangent) - (a.point + d * a.tangent);
    if (!(length(between) > 0))
        return false;
    biarc.jointTangent = unit(between);
    biarc.first = arcFrom(a.point, a.tangent, biarc.joint);
    biarc.second = arcFrom(biarc.joint, biarc.jointTangent, b.point);
    return true;
}

bool isLine(const ArcPiece& arc) { return std::fabs(arc.sweep) < LINE_SWEEP; }

// The signed distance g of p from the arc's circle (or line) along the ray from its centre, whether that ray
// meets the arc itself, and g's second derivative along the curve through p with unit tangent t and curvature k.
struct Radial {
    double distance;
    bool onArc;
    double bend;
};

Radial radialTo(const ArcPiece& arc, Vec p, Vec t, double k)
{
    const Vec a{arc.x0, arc.y0}, b{arc.x1, arc.y1};
    const Vec normal{-t.y, t.x};
    if (isLine(arc)) {
        const Vec along = unit(b - a), n{-along.y, along.x};
        const double at = dot(p - a, along);
        const double slack = 1e-9 * length(b - a);
        return {dot(p - a, n), at >= -slack && at <= length(b - a) + slack, k * dot(n, normal)};
    }
    Vec c;
    arcCentre(arc, c.x, c.y);
    const Vec u = p - c;
    const double reach = length(u);
    const Vec start = a - c;
    // How far round from the arc's start the ray through p lies, in the arc's own sense.
    double around = std::atan2(cross(start, u), dot(start, u));
    if (arc.sweep < 0)
        around = -around;
    const double slack = 1e-9;
    const double ut = dot(u, t) / reach;
    return {reach - arcRadius(arc), around >= -slack && around <= std::fabs(arc.sweep) + slack,
            (1 - ut * ut) / reach + k * dot(u, normal) / reach};
}

// The bound on the distance between the biarc and the curve over [ta, tb], or infinity where some curve point's
// ray misses its arc (the biarc is too coarse to compare).
double biarcDeviation(const CurveFunction& curve, double ta, double tb, const Biarc& biarc)
{
    double largest = 0, largestBend = 0, longestStep = 0;
    Vec previous{};
    for (int i = 0; i <= CHECK_SAMPLES; i++) {
        const Sample s = sampleAt(curve, ta + (tb - ta) * i / CHECK_SAMPLES);
        // The line through the joint and both centres divides the curve between the two arcs.
        const bool second = dot(s.point - biarc.joint, biarc.jointTangent) > 0;
        const Radial r = radialTo(second ? biarc.second : biarc.first, s.point, s.tangent, s.curvature);
        if (!r.onArc || !std::isfinite(r.distance))
            return std::numeric_limits<double>::infinity();
        largest = std::max(largest, std::fabs(r.distance));
        largestBend = std::max(largestBend, std::fabs(r.bend));
        if (i > 0)
            longestStep = std::max(longestStep, length(s.point - previous));
        previous = s.point;
    }
    // Between two samples h apart, |g| exceeds the larger end by at most h^2 / 8 max|g''|; the largest g'' seen at
    // the samples is doubled for what it may reach between them.
    return largest + longestStep * longestStep / 8 * 2 * largestBend;
}

struct Fitter {
    const CurveFunction& curve;
    double tolerance;
    ArcFit fit;

    void stretch(double ta, const Sample& a, double tb, const Sample& b, int depth)
    {
        Biarc biarc;
        if (biarcBetween(a, b, biarc) &&
            std::fabs(biarc.first.sweep) + std::fabs(biarc.second.sweep) <= MAX_BIARC_SWEEP) {
            const double deviation = biarcDeviation(curve, ta, tb, biarc);
            if (deviation <= tolerance) {
                fit.arcs.push_back(biarc.first);
                fit.arcs.push_back(biarc.second);
                fit.knots.push_back(ta);
                fit.deviation = std::max(fit.deviation, deviation);
                return;
            }
        }
        if (depth >= MAX_DEPTH)
            throw std::runtime_error("no arcs fit the curve near parameter " + std::to_string(ta) +
                                     ": it has a corner or a cusp there");
        const double tm = (ta + tb) / 2;
        const Sample m = sampleAt(curve, tm);
        stretch(ta, a, tm, m, depth + 1);
        stretch(tm, m, tb, b, depth + 1);
    }
};

} // namespace

double arcRadius(const ArcPiece& arc)
{
    const double chord = std::hypot(arc.x1 - arc.x0, arc.y1 - arc.y0);
    return isLine(arc) ? std::numeric_limits<double>::infinity() : chord / (2 * std::fabs(std::sin(arc.sweep / 2)));
}

void arcCentre(const ArcPiece& arc, double& cx, double& cy)
{
    // From the chord's midpoint along its left normal by (chord / 2) / tan(sweep / 2): left of a counter-clockwise
    // arc.
    const double h = 0.5 / std::tan(arc.sweep / 2);
    cx = (arc.x0 + arc.x1) / 2 - h * (arc.y1 - arc.y0);
    cy = (arc.y0 + arc.y1) / 2 + h * (arc.x1 - arc.x0);
}

void arcPointAt(const ArcPiece& arc, double fraction, double& x, double& y)
{
    // The chord to the point leaves the start at half the sweep so far, measured from the start tangent.
    const double dx = arc.x1 - arc.x0, dy = arc.y1 - arc.y0;
    const double half = arc.sweep / 2, turn = -half + fraction * half;
    const double scale = isLine(arc) ? fraction : std::sin(fraction * half) / std::sin(half);
    x = arc.x0 + scale * (dx * std::cos(turn) - dy * std::sin(turn));
    y = arc.y0 + scale * (dx * std::sin(turn) + dy * std::cos(turn));
}

ArcPiece reversedArc(const ArcPiece& arc) { return {arc.x1, arc.y1, arc.x0, arc.y0, -arc.sweep}; }

ArcFit fitArcs(const CurveFunction& curve, const std::vector<double>& knots, double tolerance)
{
    Fitter fitter{curve, tolerance, {}};
    for (size_t i = 0; i + 1 < knots.size(); i++) {
        if (!(knots[i + 1] > knots[i]))
            continue;
        fitter.stretch(knots[i], sampleAt(curve, knots[i]), knots[i + 1], sampleAt(curve, knots[i + 1]), 0);
    }
    std::vector<ArcPiece>& arcs = fitter.fit.arcs;
    if (!arcs.empty()) {
        // The curve closes on itself: the last arc ends exactly where the first begins.
        arcs.back().x1 = arcs.front().x0;
        arcs.back().y1 = arcs.front().y0;
    }
    return fitter.fit;
}

CurveFunction offsetCurve(const CurveFunction& curve, double distance)
{
    return [curve, distance](double t) {
        const CurveSample c = curve(t);
        const double speed = std::hypot(c.dx, c.dy);
        const double stretch = 1 + distance * c.curvature;
        return CurveSample{c.x + distance * c.dy / speed, c.y - distance * c.dx / speed, stretch * c.dx,
                           stretch * c.dy, c.curvature / stretch};
    };
}
