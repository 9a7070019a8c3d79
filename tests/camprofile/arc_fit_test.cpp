// The biarc fit against closed curves known in closed form: a circle (the arcs must be the circle itself), an
// ellipse, a lobed curve with concave stretches, and an ellipse's offset; distances measured by the test's own
// point chains both ways, joints checked for a common tangent. Lengths in mm, parameters in degrees.
#include <gtest/gtest.h>

#include <cmath>

#include "camdesign/arc_fit.h"
#include "curve_distance.h"

static const double DEG = M_PI / 180;

// x = r(t) cos t, y = r(t) sin t for r = r0 + A cos(n t), or an ellipse a cos t, b sin t; derivatives by t in
// degrees and curvature written out by hand.
static CurveFunction lobed(double r0, double amplitude, int n)
{
    return [=](double t) {
        const double c = std::cos(t * DEG), s = std::sin(t * DEG);
        const double r = r0 + amplitude * std::cos(n * t * DEG), r1 = -n * amplitude * std::sin(n * t * DEG),
                     r2 = -n * n * amplitude * std::cos(n * t * DEG);
        const double k = (r * r + 2 * r1 * r1 - r * r2) / std::pow(r * r + r1 * r1, 1.5);
        return CurveSample{r * c, r * s, (r1 * c - r * s) * DEG, (r1 * s + r * c) * DEG, k};
    };
}

static CurveFunction ellipse(double a, double b)
{
    return [=](double t) {
        const double c = std::cos(t * DEG), s = std::sin(t * DEG);
        const double k = a * b / std::pow(a * a * s * s + b * b * c * c, 1.5);
        return CurveSample{a * c, b * s, -a * s * DEG, b * c * DEG, k};
    };
}

// Points along an arc from its centre, found from the start point and start tangent (not the chord's bisector),
// close enough that the chords between them sag by less than 1e-7 mm.
static std::vector<XY> arcPoints(const ArcPiece& arc)
{
    const double chordAngle = std::atan2(arc.y1 - arc.y0, arc.x1 - arc.x0);
    const double length = std::hypot(arc.x1 - arc.x0, arc.y1 - arc.y0);
    if (std::fabs(arc.sweep) < 1e-12)
        return {{arc.x0, arc.y0}};
    const double startTangent = chordAngle - arc.sweep / 2, radius = length / (2 * std::sin(arc.sweep / 2));
    const int steps = 1 + static_cast<int>(std::fabs(arc.sweep) / (2 * std::sqrt(2e-7 / std::fabs(radius))));
    std::vector<XY> points;
    const double cx = arc.x0 - radius * std::sin(startTangent), cy = arc.y0 + radius * std::cos(startTangent);
    for (int i = 0; i < steps; i++) {
        const double turn = arc.sweep * i / steps;
        const double dx = arc.x0 - cx, dy = arc.y0 - cy;
        points.push_back(
            {cx + dx * std::cos(turn) - dy * std::sin(turn), cy + dx * std::sin(turn) + dy * std::cos(turn)});
    }
    return points;
}

TEST(ArcFit, ArcsStayWithinToleranceBothWaysAndJoinTangentContinuous)
{
    const struct {
        const char* name;
        CurveFunction curve;
        double tolerance, offset;
        double circleRadius;  // > 0: the curve is this circle about the origin and every arc must be part of it
    } cases[] = {
        {"circle", lobed(40, 0, 0), 1e-3, 0, 40},
        {"ellipse", ellipse(60, 35), 1e-3, 0, 0},
        {"ellipse, fine", ellipse(60, 35), 1e-5, 0, 0},
        {"three lobes, concave between", lobed(50, 20, 3), 1e-3, 0, 0},
        {"ellipse offset outwards by 5", ellipse(60, 35), 1e-3, 5, 0},
        {"three lobes offset outwards by 2", lobed(50, 20, 3), 1e-4, 2, 0},
    };
    for (const auto& c : cases) {
        const CurveFunction fitted = c.offset ? offsetCurve(c.curve, c.offset) : c.curve;
        const ArcFit fit = fitArcs(fitted, {0, 90, 180, 270, 360}, c.tolerance);
        ASSERT_FALSE(fit.arcs.empty()) << c.name;
        EXPECT_LE(fit.deviation, c.tolerance) << c.name;
        std::vector<XY> onArcs;
        for (size_t i = 0; i < fit.arcs.size(); i++) {
            const ArcPiece &arc = fit.arcs[i], &next = fit.arcs[(i + 1) % fit.arcs.size()];
            // Closed chain, and one tangent at each joint: the arc's end tangent against the next one's start.
            EXPECT_EQ(arc.x1, next.x0) << c.name << " arc " << i;
            EXPECT_EQ(arc.y1, next.y0) << c.name << " arc " << i;
            const double endTangent = std::atan2(arc.y1 - arc.y0, arc.x1 - arc.x0) + arc.sweep / 2;
            const double startTangent = std::atan2(next.y1 - next.y0, next.x1 - next.x0) - next.sweep / 2;
            EXPECT_NEAR(std::remainder(endTangent - startTangent, 2 * M_PI), 0, 1e-9) << c.name << " joint " << i;
            if (c.circleRadius > 0) {
                EXPECT_NEAR(std::hypot(arc.x1 - arc.x0, arc.y1 - arc.y0) / (2 * std::sin(std::fabs(arc.sweep) / 2)),
                            c.circleRadius, 1e-9) << c.name;
            }
            for (const XY& p : arcPoints(arc))
                onArcs.push_back(p);
        }
        // The curve (or its offset, moved along the normal written out here) at 0.01°: chords sag below 1e-6 mm
        // at these radii of curvature (6 mm and more).
        std::vector<XY> onCurve;
        for (int j = 0; j < 36000; j++) {
            const CurveSample s = c.curve(j / 100.0);
            const double speed = std::hypot(s.dx, s.dy);
            onCurve.push_back({s.x + c.offset * s.dy / speed, s.y - c.offset * s.dx / speed});
        }
        const DistanceRange fromArcs = distancesToChain(onArcs, onCurve), fromCurve = distancesToChain(onCurve, onArcs);
        EXPECT_LE(std::max(fromArcs.largest, fromCurve.largest), c.tolerance + 1e-6) << c.name;
        EXPECT_LE(std::max(fromArcs.largest, fromCurve.largest), fit.deviation + 1e-6) << c.name << ": no bound";
        std::printf("%-34s tolerance %g: %zu arcs, bound %.3g, measured %.3g / %.3g\n", c.name, c.tolerance,
                    fit.arcs.size(), fit.deviation, fromArcs.largest, fromCurve.largest);
    }
}
