// camprofile cam: the window's cam, its contour against the window's points, the formulas against the computed
// contour, the undercut threshold, and the exported files read back by real readers.
// Lengths in mm, angles in degrees.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/app_state.h"
#include "camdesign/cam_check.h"
#include "curves/motion_tables.h"
#include "run_command.h"

static const TwoPoints POINTS = {0.3, 0.2, 0.7, 0.8};

// The window's cam (dwell 120°, lift 60) with a law, a follower, an offset, and a base, rise and return if given.
static CamDesign camFor(int law, double rollerRadius = 0, double offset = 0, double baseRadius = 50,
                        double riseDeg = 120, double returnDeg = 120)
{
    return camDesignFor({law, POINTS, baseRadius, 60, riseDeg, 120, returnDeg, rollerRadius, offset});
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
        // Both pressure angles; parabolic and harmonic meet the dwells with a jump of the acceleration too.
        EXPECT_EQ(check.warnings.size(), c.law < 2 ? 3u : 2u) << "law " << c.law;
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
        const CamDesign cam = camFor(c.law, c.rollerRadius, c.offset);
        // Clear of every phase boundary and law joint, where the curvature may jump.
        for (double theta = 3.7; theta < 360; theta += 7) {
            const CamPoint a = camPointAt(cam, theta - h), p = camPointAt(cam, theta), b = camPointAt(cam, theta + h);
            // The contour's outward normal, turned back into the follower's frame, against the line of motion.
            const double tx = b.contourX - a.contourX, ty = b.contourY - a.contourY, t = theta * PI / 180;
            const double nx = ty * std::cos(t) - tx * std::sin(t), ny = -tx * std::cos(t) - ty * std::sin(t);
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
    const struct { int law; double pitch, offset, rise, ret; } cases[] = {
        {2, 30, 0, 60, 60}, {6, 35, -8, 80, 80}, {3, 40, 10, 70, 90}};
    for (const auto& c : cases) {
        // A knife-edge cam's contour is its pitch curve; a roller on the same pitch curve keeps r0 + rf.
        const double smallest = checkCam(camFor(c.law, 0, c.offset, c.pitch, c.rise, c.ret), 10).minConvexRadius;
        ASSERT_LT(smallest, c.pitch) << "law " << c.law << ": the test needs a bend sharper than the base";
        for (double factor : {1 - 1e-6, 1 + 1e-6}) {
            const double rf = factor * smallest;
            const CamCheck check = checkCam(camFor(c.law, rf, c.offset, c.pitch - rf, c.rise, c.ret), 10);
            EXPECT_EQ(check.undercut.empty(), factor < 1) << "law " << c.law << " factor " << factor;
            EXPECT_NEAR(check.minConvexRadius, (1 - factor) * smallest, 1e-9) << "law " << c.law;
            EXPECT_EQ(check.warnings.back().find("undercut") != std::string::npos, factor > 1) << "law " << c.law;
        }
    }
}

// The table and the DXF read back as the computed cam; the report's keys; a bad cam warns but does not fail.
TEST(CamCommand, TableDxfSvgAndJsonReadBackAsTheComputedCam)
{
    const std::string table = scratch("cam.csv"), dxf = scratch("cam.dxf"), svg = scratch("cam.svg");
    const std::string roller = "cam modified-sine --follower roller --roller-radius 12 --offset -8 --per-degree 4";
    ASSERT_EQ(camprofile(roller + " --table " + table + " --profile " + dxf).status, 0);
    // Every number reads back as the very double the geometry computes.
    std::istringstream csv(readFile(table));
    std::string line;
    EXPECT_TRUE(std::getline(csv, line) && line == "theta_deg,s,pressure_angle_deg,pitch_curvature,x,y");
    int rows = 0;
    for (std::vector<double> v(6); std::getline(csv, line); rows++) {
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]), 6);
        const CamPoint p = camPointAt(camFor(4, 12, -8), rows / 4.0);
        EXPECT_EQ(v, (std::vector<double>{rows / 4.0, p.s, p.pressureAngleDeg, p.pitchCurvature, p.contourX,
                                          p.contourY})) << line;
    }
    EXPECT_EQ(rows, 1440);
    EXPECT_EQ(run("/usr/bin/python3 " DXF_CHECK " " + dxf + " " + table + " 50").status, 0);
    const Outcome result = camprofile("cam harmonic --json --profile " + svg);
    ASSERT_EQ(result.status, 0) << result.err;
    expectValidSvg(svg);
    EXPECT_NE(readFile(svg).find("mm\" height=\""), std::string::npos) << "width in millimetres";
    const nlohmann::json report = nlohmann::json::parse(result.out);
    std::string keys;
    for (const auto& item : report.items())
        keys += item.key() + ' ';
    // The shorthand's keys as they always were, and the README's list of new ones, null where they do not apply.
    EXPECT_EQ(keys, "arm_length base_radius concave contact_max contact_max_at_deg contact_min contact_min_at_deg "
                    "cusps design dwell_deg face_width follower infinite_jerk_at_deg law lift "
                    "max_pressure_angle_limit_deg min_concave_radius min_concave_radius_at_deg min_contour_radius "
                    "min_contour_radius_at_deg min_convex_radius "
                    "min_convex_radius_at_deg offset pivot_distance rest_deg return_deg "
                    "return_max_pressure_angle_at_deg return_max_pressure_angle_deg rise_deg "
                    "rise_max_pressure_angle_at_deg rise_max_pressure_angle_deg roller_radius segments turn undercut "
                    "warnings ");
    EXPECT_TRUE(report["face_width"].is_null() && report["cusps"].is_null() && report["pivot_distance"].is_null());
    EXPECT_EQ(report["warnings"].size(), 3u) << "both pressure angles and the harmonic law's jumps";
    EXPECT_EQ(report["concave"].size(), 1u);
}
