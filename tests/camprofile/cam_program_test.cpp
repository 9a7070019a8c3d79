// Motion programs and every follower kind: the lift's derivatives against finite differences, the jumps of the
// acceleration against the laws' end values worked by hand, and each follower's figures against a second
// construction from the computed contour (finite differences, the circle through three points, the arm).
// Lengths in mm, angles in degrees (arm swing in degrees).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#include "camdesign/cam_check.h"
#include "run_command.h"

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

// The shorthand is a program of three segments: the same table, to the bit, as the program spelt out.
TEST(CamCommand, ShorthandAndSegmentsAndDesignFileGiveTheSameCam)
{
    const std::string shorthand = "cam 4 --rise 100 --dwell 50 --return 120 --follower roller --offset -6";
    const std::string program = "cam --segment rise,100,60,4 --segment dwell,50 --segment return,120,60,modified-sine "
                                "--follower roller --offset -6";
    ASSERT_EQ(camprofile(shorthand + " --table " + scratch("a.csv")).status, 0);
    ASSERT_EQ(camprofile(program + " --table " + scratch("b.csv")).status, 0);
    EXPECT_EQ(readFile(scratch("a.csv")), readFile(scratch("b.csv")));

    // A report read back as a design, and its design object alone, give the very same report.
    const std::string flat = "cam --segment rise,90,20,polynomial-345 --segment dwell,45 --segment return,60,8,2 "
                             "--segment rise,30,3,7,0.3,0.2,0.7,0.8 --segment return,75,15,9 --follower flat "
                             "--base-radius 60 --offset 4 --turn ccw --max-pressure-angle 25 --json";
    const Outcome first = camprofile(flat);
    ASSERT_EQ(first.status, 0) << first.err;
    const nlohmann::json report = nlohmann::json::parse(first.out);
    EXPECT_TRUE(report["law"].is_null() && report["rise_deg"].is_null() && report["rest_deg"].is_null());
    EXPECT_EQ(report["segments"].size(), 5u);
    std::ofstream(scratch("report.json")) << first.out;
    std::ofstream(scratch("design.json")) << report["design"].dump();
    for (const std::string& file : {scratch("report.json"), scratch("design.json")})
        EXPECT_EQ(camprofile("cam --json --design " + file).out, first.out) << file;
}

// Every refusal: status 2, a message naming the culprit, no report and no file. The cases of the old bug
// reports come first; "<" marks a design file's key, written from the table's JSON.
TEST(CamCommand, RefusesBadInputWithStatus2AndWritesNothing)
{
    const std::string undercut = "cam 2 --follower roller --roller-radius 40 --base-radius 20 --rise 40 --return 40";
    const std::string cusp = "cam --segment rise,60,40,9 --segment return,60,40,9 --follower flat --base-radius 20";
    const std::string two = " --segment rise,90,20,2 --segment return,90,20,2";
    const struct { std::string args; const char* word; } cases[] = {
        {"cam 2 --base-radius 1e155", "--base-radius"}, {"cam 2 --lift 1e160", "--lift"},
        {"cam 2 --follower roller --roller-radius 1e155", "--roller-radius"},
        {"cam 7 --points 0.1 1e160 0.9 0.9", "--points"}, {"cam 7 --points 0.1 -2 0.9 3", "V >= 0"},
        {"cam 7 --points 0.25 0 0.75 1", "--points"}, {"cam 2 --base-radius 0x32", "decimal"},
        {"cam 2 --offset nan", "finite"}, {undercut + " --profile " + scratch("p.dxf"), "undercuts"},
        {cusp + " --table " + scratch("t.csv"), "cusp"}, {cusp + " --profile " + scratch("p.dxf"), "cusp"},
        {"cam --segment rise,90,20,2 --segment return,90,30,2", "--segment 2: LIFT"},
        {"cam --segment rise,90,20,2", "not back at zero"}, {"cam --segment rise,0.001,1,2" + two, "--segment 1"},
        {"cam --segment rise,200,20,2 --segment return,160.1,20,2", "360"}, {"cam --segment fall,90", "--segment 1"},
        {"cam --segment rise,90,20,7" + two, "points"}, {"cam --segment dwell,90,3" + two, "dwell,ANGLE"},
        {"cam 2" + two, "exclude"}, {"cam" + two + " --rise 30", "--rise"}, {"cam", "--segment"},
        {"cam" + two + " --follower oscillating-roller --arm-length 80", "--pivot-distance"},
        {"cam" + two + " --follower oscillating-roller --pivot-distance 300 --arm-length 80", "no place"},
        {"cam" + two + " --follower oscillating-roller --pivot-distance 0 --arm-length 80", "--pivot-distance"},
        {"cam --segment rise,90,95,2 --segment return,90,95,2 --follower oscillating-roller --pivot-distance 100 "
         "--arm-length 80", "90"},
        // The arm starts 115.5° from the line to the centre (law of cosines with |D| = 10, L = 55, RP = 60).
        {"cam --segment rise,90,80,2 --segment return,90,80,2 --follower oscillating-roller --pivot-distance 10 "
         "--arm-length 55", "180"},
        {"cam" + two + " --follower oscillating-roller --pivot-distance 100 --arm-length 80 --offset 2", "--offset"},
        {"cam 2 --follower flat --roller-radius 5", "--roller-radius"}, {"cam 2 --turn left", "--turn"},
        {"cam 2 --max-pressure-angle 0.5", "--max-pressure-angle"}, {"cam 2 --offset 0.0001", "--offset"},
        {"cam 2 --table -", "standard output"}, {"cam 2 --design " + scratch("none.json"), "--design"},
        {"<{\"segments\":[{\"kind\":\"rise\",\"angle_deg\":90,\"lift\":20,\"law\":2}]}", "segments"},
        {"<{\"segments\":[], \"colour\":1}", "'colour'"}, {"<{\"segments\":[{\"kind\":\"rise\"}]}", "angle_deg"},
        {"<{\"segments\":[{\"kind\":\"dwell\",\"angle_deg\":\"90\"}]}", "segments[0].angle_deg"},
        {"<{\"segments\":[{\"kind\":\"rise\",\"angle_deg\":90,\"lift\":20,\"law\":2},{\"kind\":\"return\","
         "\"angle_deg\":90,\"lift\":20,\"law\":\"cycloid\"}],\"base_radius\":1e200}", "'base_radius'"},
        {"<{\"segments\":[{\"kind\":\"rise\",\"angle_deg\":90,\"lift\":20,\"law\":2,\"law_name\":\"harmonic\"}]}",
         "law_name"},
    };
    for (const auto& c : cases) {
        std::string args = c.args;
        if (args[0] == '<') {
            std::ofstream(scratch("bad.json")) << args.substr(1);
            args = "cam --design " + scratch("bad.json");
        }
        std::remove(scratch("t.csv").c_str());
        std::remove(scratch("p.dxf").c_str());
        const Outcome result = camprofile(args + " --json");
        EXPECT_EQ(result.status, 2) << args;
        EXPECT_NE(result.err.find(c.word), std::string::npos) << args << ": " << result.err;
        EXPECT_EQ(result.out, "") << args;
        EXPECT_FALSE(std::ifstream(scratch("t.csv")) || std::ifstream(scratch("p.dxf"))) << args;
    }
    // The sum of 77.9, 178.3 and 103.8 is 360.00000000000006 in doubles: one turn all the same.
    EXPECT_EQ(camprofile("cam cycloid --rise 77.9 --dwell 178.3 --return 103.8").status, 0);
    // A crossing contour is still drawn as SVG, marked, and checked by the real readers.
    ASSERT_EQ(camprofile(undercut + " --profile " + scratch("u.svg")).status, 0);
    expectValidSvg(scratch("u.svg"));
    EXPECT_NE(readFile(scratch("u.svg")).find("contour-crosses-itself"), std::string::npos);
}

// A flat face's contact runs from -h Vm / beta - e (fastest rise) to h Vm / beta - e (fastest return), with the
// closed-form Vm of the polynomials (15/8 and 35/16); a face that symmetric about its stem spans twice the larger.
TEST(CamCheck, FlatFaceContactTravelFollowsThePeakVelocities)
{
    CamDesign cam;
    cam.follower = FLAT_FOLLOWER;
    cam.baseRadius = 80;
    cam.offset = 5;
    cam.program = {{{RISE_SEGMENT, 100, 30, POLYNOMIAL_345, {}}, {DWELL_SEGMENT, 60, 0, 0, {}},
                    {RETURN_SEGMENT, 140, 30, POLYNOMIAL_4567, {}}}};
    const CamCheck check = checkCam(cam, 10);
    const double rise = 30 * (15.0 / 8) / (100 * PI / 180), back = 30 * (35.0 / 16) / (140 * PI / 180);
    EXPECT_NEAR(check.contactMin.value, -rise - 5, 1e-9);
    EXPECT_NEAR(check.contactMin.atDeg, 50, 1e-6);
    EXPECT_NEAR(check.contactMax.value, back - 5, 1e-9);
    EXPECT_NEAR(check.contactMax.atDeg, 230, 1e-6);
    EXPECT_NEAR(check.faceWidth, rise + back, 1e-9);
    EXPECT_TRUE(check.cusps.empty() && check.minContourRadius.value > 0);
    // The same face on a base circle of 20 mm: rho = r0 + s + s'' dips below 0 where s'' is most negative.
    cam.baseRadius = 20;
    const CamCheck small = checkCam(cam, 10);
    ASSERT_EQ(small.cusps.size(), 1u);
    for (double edge : {small.cusps[0].fromDeg, small.cusps[0].toDeg})
        EXPECT_NEAR(camPointAt(cam, edge).contourRadius, 0, 1e-6) << edge;
    EXPECT_LT(small.minContourRadius.value, 0);
}

// Law 7 is accepted in a cam exactly when it never runs backwards: the closed-form rule against V sampled at
// 20,001 points, on points either side of the boundary (8 SA (TB - TA) = 3 TA (SB - SA) at SA = 0.72 / 4.1).
TEST(CamDesignRules, LawSevenIsAcceptedExactlyWhenItKeepsRising)
{
    const TwoPoints cases[] = {{0.3, 0.2, 0.7, 0.8}, {0.1, -2, 0.9, 3}, {0.25, 0, 0.75, 1}, {0.3, 0.18, 0.7, 0.8},
                               {0.3, 0.17, 0.7, 0.8}, {0.3, 0.6, 0.7, 0.5}, {0.2, 0.3, 0.4, 0.3}, {0.1, 0.02, 0.2, 0.9}};
    for (const TwoPoints& points : cases) {
        double lowest = 0;
        for (int i = 0; i <= 20000; i++)
            lowest = std::min(lowest, evaluateLaw(7, i / 20000.0, points).V);
        EXPECT_EQ(twoPointsKeepRising(points), lowest > -1e-9) << points.Ta << ' ' << points.Sa << ' ' << points.Sb;
    }
}
