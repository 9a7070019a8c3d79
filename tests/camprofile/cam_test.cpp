// camprofile cam: the window's cam, its contour against the window's points, the formulas against the computed
// contour, the undercut threshold, the exported files read back by real readers, and refused command lines.
// Lengths in mm, angles in degrees.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "app/app_state.h"
#include "camdesign/cam_check.h"
#include "curves/motion_tables.h"

static const TwoPoints POINTS = {0.3, 0.2, 0.7, 0.8};

// The status and everything printed, standard output and standard error together.
struct Outcome { int status; std::string output; };

static Outcome camprofile(const std::string& arguments)
{
    FILE* pipe = popen((std::string(CAMPROFILE) + " cam " + arguments + " 2>&1").c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// The window's cam (dwell 120°, lift 60) with a law, a follower, an offset, and a base, rise and return if given.
static CamDimensions camFor(int law, double rollerRadius = 0, double offset = 0, double baseRadius = 50,
                            double riseDeg = 120, double returnDeg = 120)
{
    return {law, POINTS, baseRadius, 60, riseDeg, 120, returnDeg, rollerRadius, offset};
}

TEST(CamCheck, WindowsCamPressureAngleMaximaAreFoundToTheirLastPrintedDigit)
{
    const struct { int law; double maxDeg, atDeg; } cases[] = {
        {0, 35.610, 60.00}, {1, 31.249, 45.32}, {2, 37.285, 50.51}, {3, 36.679, 53.71},
        {4, 34.085, 47.59}, {6, 31.358, 27.11}, {5, 36.723, 53.44}};
    for (const auto& c : cases) {
        const CamCheck check = checkCam(camFor(c.law), 10);
        EXPECT_NEAR(check.riseMaxPressureAngleDeg, c.maxDeg, 5e-4) << "law " << c.law;
        EXPECT_NEAR(check.riseMaxPressureAngleAtDeg, c.atDeg, 5e-3) << "law " << c.law;
        // The return reads the rise backwards after a 120° dwell: the same peak, mirrored about 180°.
        EXPECT_NEAR(check.returnMaxPressureAngleDeg, c.maxDeg, 5e-4) << "law " << c.law;
        EXPECT_NEAR(check.returnMaxPressureAngleAtDeg, 360 - c.atDeg, 5e-3) << "law " << c.law;
        EXPECT_EQ(check.warnings.size(), 2u) << "law " << c.law;
    }
}

TEST(CamGeometry, DefaultContourLiesOnTheWindowsContourPoints)
{
    appState.riseSteps = 100;
    appState.timeStep = 1.0 / appState.riseSteps;
    buildStandardCurves();
    buildTwoPointCurve(POINTS.Ta, POINTS.Sa, POINTS.Tb, POINTS.Sb, curveSlot(TWO_POINT_CURVE));
    const double windowStep = (TWO_PI / 3) / 100;
    for (int law = 0; law < CURVE_COUNT; law++) {
        const double* S = curveSlot(law);
        // The window's contour at step 0: the rise samples, the dwell at full lift, the rise read backwards.
        for (int n = 0; n < 300; n++) {
            const double r = 50 + 60 * (n <= 100 ? S[n] : n <= 200 ? 1.0 : S[300 - n]);
            const CamPoint point = camPointAt(camFor(law), 1.2 * n);
            EXPECT_NEAR(point.contourX, r * std::sin(-n * windowStep), 1e-9) << "law " << law << " sample " << n;
            EXPECT_NEAR(point.contourY, r * std::cos(-n * windowStep), 1e-9) << "law " << law << " sample " << n;
        }
    }
}

TEST(CamGeometry, PressureAngleAndCurvatureAgreeWithTheComputedContour)
{
    const struct { int law; double rollerRadius, offset; } cases[] = {{2, 0, 0}, {4, 0, 12}, {5, 15, -12}, {7, 10, 20}};
    const double h = 1e-3, hRad = h * PI / 180;
    for (const auto& c : cases) {
        const CamDimensions cam = camFor(c.law, c.rollerRadius, c.offset);
        // Clear of every phase boundary and law joint, where the curvature may jump.
        for (double theta = 3.7; theta < 360; theta += 7) {
            const CamPoint a = camPointAt(cam, theta - h), p = camPointAt(cam, theta), b = camPointAt(cam, theta + h);
            // The contour's outward normal, turned back into the follower's frame, against the line of motion.
            const double tx = b.contourX - a.contourX, ty = b.contourY - a.contourY, turn = theta * PI / 180;
            const double nx = ty * std::cos(turn) - tx * std::sin(turn), ny = -tx * std::cos(turn) - ty * std::sin(turn);
            EXPECT_NEAR(p.pressureAngleDeg, std::atan2(nx, ny) * 180 / PI, 1e-6) << c.law << " at " << theta;
            const double dx = (b.pitchX - a.pitchX) / (2 * hRad), dy = (b.pitchY - a.pitchY) / (2 * hRad);
            const double ddx = (b.pitchX - 2 * p.pitchX + a.pitchX) / (hRad * hRad);
            const double ddy = (b.pitchY - 2 * p.pitchY + a.pitchY) / (hRad * hRad);
            const double kappa = (dx * ddy - dy * ddx) / std::pow(dx * dx + dy * dy, 1.5);
            EXPECT_NEAR(p.pitchCurvature, kappa, 1e-7) << c.law << " at " << theta;
        }
    }
}

TEST(CamCheck, RollerUndercutsJustAboveTheSmallestConvexPitchRadiusAndNotJustBelow)
{
    const struct { int law; double pitchRadius, offset, riseDeg, returnDeg; } cases[] = {
        {2, 30, 0, 60, 60}, {6, 35, -8, 80, 80}, {3, 40, 10, 70, 90}};
    for (const auto& c : cases) {
        // A knife-edge cam's contour is its pitch curve; a roller on the same pitch curve keeps r0 + rf.
        const double smallest = checkCam(camFor(c.law, 0, c.offset, c.pitchRadius, c.riseDeg, c.returnDeg), 10)
                                    .minConvexRadius;
        ASSERT_LT(smallest, c.pitchRadius) << "law " << c.law << ": the test needs a bend sharper than the base";
        for (double factor : {1 - 1e-6, 1 + 1e-6}) {
            const double rf = factor * smallest;
            const CamCheck check =
                checkCam(camFor(c.law, rf, c.offset, c.pitchRadius - rf, c.riseDeg, c.returnDeg), 10);
            EXPECT_EQ(check.undercut.empty(), factor < 1) << "law " << c.law << " factor " << factor;
            EXPECT_NEAR(check.minConvexRadius, (1 - factor) * smallest, 1e-9) << "law " << c.law;
            EXPECT_EQ(check.warnings.back().find("undercut") != std::string::npos, factor > 1) << "law " << c.law;
        }
    }
}

TEST(CamCommand, TableAndDxfProfileReadBackAsTheComputedCam)
{
    const std::string table = SCRATCH_DIR "/cam.csv", dxf = SCRATCH_DIR "/cam.dxf";
    const Outcome run = camprofile("modified-sine --follower roller --roller-radius 12 --offset -8 --per-degree 4 "
                                   "--table " + table + " --profile " + dxf);
    ASSERT_EQ(run.status, 0) << run.output;
    // Every number reads back as the very double the geometry computes.
    std::ifstream csv(table);
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "theta_deg,s,pressure_angle_deg,pitch_curvature,x,y");
    int rows = 0;
    for (; std::getline(csv, line); rows++) {
        double v[6];
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]), 6);
        const CamPoint p = camPointAt(camFor(4, 12, -8), rows / 4.0);
        const double expected[6] = {rows / 4.0, p.s, p.pressureAngleDeg, p.pitchCurvature, p.contourX, p.contourY};
        for (int k = 0; k < 6; k++)
            ASSERT_EQ(v[k], expected[k]) << "row " << rows << " column " << k;
    }
    EXPECT_EQ(rows, 1440);
    EXPECT_EQ(std::system(("/usr/bin/python3 " DXF_CHECK " " + dxf + " " + table + " 50").c_str()), 0);
}

TEST(CamCommand, JsonReportHasTheDocumentedKeysAndWarnsWithoutFailingAndTheSvgProfileRenders)
{
    const std::string svg = SCRATCH_DIR "/cam.svg";
    const Outcome run = camprofile("harmonic --json --profile " + svg);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(std::system(("xmllint --noout " + svg).c_str()), 0);
    EXPECT_EQ(std::system(("rsvg-convert -o " SCRATCH_DIR "/cam.png " + svg).c_str()), 0);
    std::ifstream file(svg);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("mm\" height=\""), std::string::npos) << "width in millimetres";
    const nlohmann::json report = nlohmann::json::parse(run.output);
    std::string keys;
    for (const auto& item : report.items())
        keys += item.key() + ' ';
    EXPECT_EQ(keys, "base_radius concave dwell_deg follower law lift min_convex_radius min_convex_radius_at_deg "
                    "offset rest_deg return_deg return_max_pressure_angle_at_deg return_max_pressure_angle_deg "
                    "rise_deg rise_max_pressure_angle_at_deg rise_max_pressure_angle_deg roller_radius undercut "
                    "warnings ");
    EXPECT_EQ(report["warnings"].size(), 2u);
    EXPECT_EQ(report["concave"].size(), 1u);
}

TEST(CamCommand, RefusedCommandLinesNameTheArgumentAndSetTheStatus)
{
    const struct { const char* arguments; int status; const char* word; } cases[] = {
        {"2 --base-radius nan", 2, "--base-radius"}, {"2 --lift inf", 2, "--lift"},
        {"2 --offset 1e999", 2, "finite"},           {"2 --rise abc", 2, "--rise"},
        {"2 --base-radius 0", 2, "above 0"},         {"2 --lift -5", 2, "--lift"},
        {"2 --rise 0", 2, "--rise"},                 {"2 --return -1", 2, "--return"},
        {"2 --dwell -1", 2, "--dwell"},              {"2 --rise 150 --dwell 100 --return 120", 2, "360"},
        {"2 --offset 50", 2, "--offset"},            {"2 --follower roller --offset=-60", 2, "--offset"},
        {"2 --follower roller --roller-radius 0", 2, "--roller-radius"},
        {"2 --follower flat", 2, "--follower"},      {"2 --roller-radius 5", 2, "--roller-radius"},
        {"7", 2, "--points"},                        {"two-point --points 0.6 0.2 0.4 0.8", 2, "--points"},
        {"2 --per-degree 0", 2, "--per-degree"},     {"2 --per-degree 101", 2, "--per-degree"},
        {"2 --profile cam.png", 2, "--profile"},     {"9", 2, "law"},
        {"2 --table /no-such-folder/t.csv", 1, "--table: cannot write"},
        {"2 --profile /no-such-folder/p.dxf", 1, "--profile: cannot write"},
    };
    for (const auto& c : cases) {
        const Outcome run = camprofile(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.word), std::string::npos) << c.arguments << "\n" << run.output;
    }
}
