// Motion programs and every follower kind: the lift's derivatives against finite differences, the jumps of the
// acceleration against the laws' end values worked by hand, and each follower's figures against a second
// construction from the computed contour (finite differences, the circle through three points, the arm).
// Lengths in mm, angles in degrees (arm swing in degrees).
#include <gtest/gtest.h>

#include <cmath>

#include "camdesign/cam_check.h"

namespace {

const TwoPoints POINTS = {0.3, 0.2, 0.7, 0.8};

// Six segments, four laws (3-4-5, cycloid, law 7, 4-5-6-7), two returns and a rest of 40°.
MotionProgram sixSegments(double scale)
{
    return {{{RISE_SEGMENT, 80, 20 * scale, POLYNOMIAL_345, {}},
             {DWELL_SEGMENT, 40, 0, 0, {}},
             {RETURN_SEGMENT, 60, 8 * scale, 2, {}},
             {DWELL_SEGMENT, 30, 0, 0, {}},
             {RISE_SEGMENT, 50, 6 * scale, 7, POINTS},
             {RETURN_SEGMENT, 60, 18 * scale, POLYNOMIAL_4567, {}}}};
}

CamDesign design(FollowerKind kind, TurnSense turn)
{
    CamDesign cam;
    cam.follower = kind;
    cam.program = sixSegments(kind == KNIFE_FOLLOWER || kind == ROLLER_FOLLOWER ? 1.5 : 1);
    // A flat face needs a larger base circle to stay clear of cusps, where rho < 0 turns its contour back.
    cam.baseRadius = kind == FLAT_FOLLOWER ? 150 : 40;
    cam.turn = turn;
    cam.rollerRadius = rollerKind(kind) ? 12 : 0;
    cam.offset = kind == OSCILLATING_ROLLER_FOLLOWER ? 0 : 7;
    cam.pivotDistance = kind == OSCILLATING_ROLLER_FOLLOWER ? -110 : 0;
    cam.armLength = 90;
    return cam;
}

// Clear of every segment boundary and law joint (multiples of 1.5° here), where s'' may jump.
bool clearOfBreaks(double theta) { return std::fabs(std::remainder(theta, 1.5)) > 0.01; }

} // namespace

TEST(MotionProgram, LiftDerivativesAreFiniteDifferencesAndTheReturnsEndExactlyAtZero)
{
    const MotionProgram program = sixSegments(1);
    const double h = 1e-4, hRad = h * PI / 180;
    for (double theta = 0.35; theta < 360; theta += 0.7) {
        if (!clearOfBreaks(theta))
            continue;
        const ProgramLift a = programLiftAt(program, theta - h), p = programLiftAt(program, theta),
                          b = programLiftAt(program, theta + h);
        EXPECT_NEAR(p.ds, (b.s - a.s) / (2 * hRad), 1e-5 * (1 + std::fabs(p.ds))) << theta;
        EXPECT_NEAR(p.dds, (b.ds - a.ds) / (2 * hRad), 1e-5 * (1 + std::fabs(p.dds))) << theta;
        EXPECT_NEAR(p.ddds, (b.dds - a.dds) / (2 * hRad), 1e-5 * (1 + std::fabs(p.ddds))) << theta;
        EXPECT_GE(p.s, 0) << theta;
    }
    // The levels by hand: 20 after the rise, 12 after the first return, 18 after the second rise, then 0.
    const double levels[][2] = {{80, 20}, {120, 20}, {180, 12}, {210, 12}, {260, 18}, {320, 0}, {359.9, 0}};
    for (const auto& [theta, s] : levels)
        EXPECT_EQ(programLiftAt(program, theta).s, s) << theta;
}

// s'' = h A / beta^2 at a segment's ends: parabolic A = +4 at T = 0 and 0.5+, -4 at 0.5 and 1; harmonic
// A = +pi^2/2 at 0, -pi^2/2 at 1. A return played backwards starts with A(1) and ends with A(0).
TEST(MotionProgram, InfiniteJerkWhereTheAccelerationJumpsAndNowhereElse)
{
    const struct { MotionProgram program; std::vector<double> expected; } cases[] = {
        {{{{RISE_SEGMENT, 90, 20, 1, {}}, {RETURN_SEGMENT, 90, 20, 1, {}}}}, {0, 180}},
        {{{{RISE_SEGMENT, 90, 20, 0, {}}, {RETURN_SEGMENT, 90, 20, 0, {}}}}, {0, 45, 135, 180}},
        {{{{RISE_SEGMENT, 90, 20, 1, {}}, {RETURN_SEGMENT, 60, 20, 1, {}}}}, {0, 90, 150}},
        // Rise and return of one harmonic over the whole turn: one cosine, smooth everywhere.
        {{{{RISE_SEGMENT, 180, 20, 1, {}}, {RETURN_SEGMENT, 180, 20, 1, {}}}}, {}},
        {sixSegments(1), {}},
        {{{{RISE_SEGMENT, 100, 5, 2, {}}, {DWELL_SEGMENT, 20, 0, 0, {}}, {RETURN_SEGMENT, 100, 5, 4, {}}}}, {}},
    };
    for (const auto& c : cases) {
        std::vector<double> found = infiniteJerkAngles(c.program);
        ASSERT_EQ(found.size(), c.expected.size());
        for (size_t k = 0; k < found.size(); k++)
            EXPECT_NEAR(found[k], c.expected[k], 1e-12);
    }
}

// Each follower, either sense, against its contour: turned back into the follower's frame (by -theta for a
// clockwise cam, +theta counter-clockwise) the contour's finite-difference tangent gives the pressure angle
// (its normal against the line of motion, or the tangent against the arm), the curvature (of three neighbouring
// points: the circle through them), the face's contact offset and height, and the arm's length.
TEST(CamGeometry, EveryFollowerAgreesWithItsContourBuiltAgainFromNeighbouringPoints)
{
    const FollowerKind kinds[] = {KNIFE_FOLLOWER, ROLLER_FOLLOWER, FLAT_FOLLOWER, OSCILLATING_ROLLER_FOLLOWER};
    const double h = 1e-3, hRad = h * PI / 180;
    for (FollowerKind kind : kinds)
        for (TurnSense turn : {CLOCKWISE, COUNTER_CLOCKWISE}) {
            const CamDesign cam = design(kind, turn);
            const double sense = turn == CLOCKWISE ? -1 : 1;
            for (double theta = 0.35; theta < 360; theta += 1.4) {
                if (!clearOfBreaks(theta))
                    continue;
                const std::string where = std::to_string(kind) + "/" + std::to_string(turn) + " at " +
                                          std::to_string(theta);
                const CamPoint a = camPointAt(cam, theta - h), p = camPointAt(cam, theta), b = camPointAt(cam, theta + h);
                const double t = sense * theta * PI / 180, c = std::cos(t), s = std::sin(t);
                const auto follower = [&](double x, double y) { return std::pair{x * c - y * s, x * s + y * c}; };
                // The contour's tangent, by central differences, against the closed form; then in the follower's frame.
                const double tx = (b.contourX - a.contourX) / (2 * hRad), ty = (b.contourY - a.contourY) / (2 * hRad);
                EXPECT_NEAR(p.contourTangentX, tx, 1e-5 * std::hypot(tx, ty)) << where;
                EXPECT_NEAR(p.contourTangentY, ty, 1e-5 * std::hypot(tx, ty)) << where;
                const auto [fx, fy] = follower(tx, ty);
                const auto [qx, qy] = follower(p.pitchX, p.pitchY);
                if (kind == OSCILLATING_ROLLER_FOLLOWER) {
                    // Both senses keep the pivot at (D, 0): the counter-clockwise cam mirrors the cam and its follower.
                    const double armX = qx - cam.pivotDistance, armY = qy;
                    EXPECT_NEAR(std::hypot(armX, armY), cam.armLength, 1e-9) << where;
                    const double cosine = std::fabs(fx * armX + fy * armY) / std::hypot(fx, fy) / cam.armLength;
                    EXPECT_NEAR(p.pressureAngleDeg, std::acos(std::min(cosine, 1.0)) * 180 / PI, 1e-5) << where;
                } else if (kind == FLAT_FOLLOWER) {
                    EXPECT_NEAR(fy, 0, 1e-6 * std::fabs(fx)) << where << ": the face is tangent to the contour";
                    EXPECT_NEAR(qy, cam.baseRadius + p.s, 1e-9) << where;
                    EXPECT_NEAR(p.contactOffset, qx - cam.offset, 1e-9) << where;
                } else {
                    // The outward normal (fy, -fx) turned so that it points away from the centre.
                    const double nx = fy * -sense, ny = -fx * -sense;
                    EXPECT_NEAR(p.pressureAngleDeg, std::atan2(nx, ny) * 180 / PI, 1e-5) << where;
                    EXPECT_NEAR(qx, cam.offset, 1e-9) << where;
                }
                // The circle through three neighbouring points of the pitch curve (for a flat face, of the contour);
                // convex positive whichever way the points run.
                const double x1 = a.pitchX, y1 = a.pitchY, x2 = p.pitchX, y2 = p.pitchY, x3 = b.pitchX, y3 = b.pitchY;
                const double cross = (x2 - x1) * (y3 - y1) - (y2 - y1) * (x3 - x1);
                const double product = std::hypot(x2 - x1, y2 - y1) * std::hypot(x3 - x2, y3 - y2) *
                                       std::hypot(x3 - x1, y3 - y1);
                const double kappa = -sense * 2 * cross / product;
                EXPECT_NEAR(p.pitchCurvature, kappa, 1e-4 * std::fabs(kappa) + 1e-7) << where;
            }
        }
}
