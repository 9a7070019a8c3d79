// camprofile's shop files read back by real readers: the DXF's arcs by ezdxf (flattened and compared with the exact
// contour both ways), the G-code by the tests' own reader (replayed and compared with the contour moved out by the
// cutter's radius), the polar table against the contour; `camprofile size` against the cam's own check; refusals.
// Lengths in mm, angles in degrees.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "camdesign/cam_geometry.h"
#include "curve_distance.h"
#include "gcode_replay.h"
#include "run_command.h"

static MotionSegment segment(SegmentKind kind, double angle, double lift = 0, int law = 0)
{
    return {kind, angle, lift, law, {}};
}

// The exact contour (or pitch curve) at 0.01°, and the contour moved out by rc along normals the test takes from
// its own neighbouring points.
static std::vector<XY> exactCurve(const CamDesign& cam, bool pitch, double rc = 0)
{
    std::vector<XY> points;
    for (int j = 0; j < 36000; j++) {
        const CamPoint p = camPointAt(cam, j / 100.0);
        points.push_back(pitch ? XY{p.pitchX, p.pitchY} : XY{p.contourX, p.contourY});
    }
    std::vector<XY> moved(points.size());
    for (size_t i = 0; i < points.size(); i++) {
        const XY a = points[(i + points.size() - 1) % points.size()], b = points[(i + 1) % points.size()];
        const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
        // The contour runs counter-clockwise for a clockwise cam: outwards is to its right.
        const double sense = cam.turn == CLOCKWISE ? 1 : -1;
        moved[i] = {points[i].x + sense * rc * dy / length, points[i].y - sense * rc * dx / length};
    }
    return moved;
}

TEST(ShopFiles, ArcsAndCutterPathStayWithinToleranceOfTheExactCurves)
{
    CamDesign knife, roller, flat;
    knife.baseRadius = 40;
    knife.program.segments = {segment(RISE_SEGMENT, 90, 40, 2), segment(DWELL_SEGMENT, 60),
                              segment(RETURN_SEGMENT, 120, 40, 8)};
    roller = knife;
    roller.follower = ROLLER_FOLLOWER, roller.rollerRadius = 8, roller.baseRadius = 30;
    roller.program.segments = {segment(RISE_SEGMENT, 80, 25, 4), segment(DWELL_SEGMENT, 40),
                               segment(RISE_SEGMENT, 60, 15, 9), segment(RETURN_SEGMENT, 120, 40, 2)};
    flat = knife;
    flat.follower = FLAT_FOLLOWER, flat.turn = COUNTER_CLOCKWISE;
    flat.program.segments = {segment(RISE_SEGMENT, 100, 20, 8), segment(DWELL_SEGMENT, 80),
                             segment(RETURN_SEGMENT, 100, 20, 1)};
    const std::string knifeArgs = "--base-radius 40 --segment rise,90,40,cycloid --segment dwell,60 "
                                  "--segment return,120,40,polynomial-345";
    const struct {
        const char* name;
        CamDesign cam;
        std::string arguments;
        double rc, tolerance;
        std::vector<double> dwellRadii;  // circles about the centre the contour follows exactly, with their sweep
        double dwellSweepDeg;
    } cases[] = {
        {"knife with dwells", knife, knifeArgs, 6, 0.001, {40, 80}, 150},
        {"roller, concave stretches, RC = RF", roller,
         "--follower roller --roller-radius 8 --base-radius 30 --segment rise,80,25,modified-sine --segment dwell,40 "
         "--segment rise,60,15,polynomial-4567 --segment return,120,40,cycloid",
         8, 0.001, {30, 55}, 100},
        {"flat face, counter-clockwise, fine", flat,
         "--follower flat --turn ccw --base-radius 40 --segment rise,100,20,polynomial-345 --segment dwell,80 "
         "--segment return,100,20,harmonic",
         10, 0.0006, {40, 60}, 160},
    };
    for (const auto& c : cases) {
        const std::string dxf = scratch("shop.dxf"), table = scratch("shop.csv"), nc = scratch("shop.nc");
        const std::string figures = scratch("shop.json"), polar = scratch("polar.csv"), svg = scratch("pitch.svg");
        const bool flatFace = c.cam.follower == FLAT_FOLLOWER;
        const Outcome made = camprofile("cam " + c.arguments + " --profile " + dxf + " --table " + table +
                                        (flatFace ? "" : " --pitch " + svg) + " --polar " + polar + " --toolpath " +
                                        nc + " --cutter-radius " + std::to_string(c.rc) +
                                        " --tolerance " + std::to_string(c.tolerance));
        ASSERT_EQ(made.status, 0) << c.name << made.err;
        ASSERT_EQ(run("/usr/bin/python3 " DXF_CHECK " " + dxf + " " + table + " " + std::to_string(c.cam.baseRadius) +
                      " " + std::to_string(c.tolerance) + " " + figures).status, 0) << c.name;
        const nlohmann::json read = nlohmann::json::parse(readFile(figures));
        std::vector<XY> arcs;
        for (const auto& p : read["points"])
            arcs.push_back({p[0], p[1]});
        // Every point of the arcs near the contour and every point of the contour near the arcs; the flattening
        // (1e-7) and the exact chain's chords (below 1e-6 here) add to what is measured.
        const std::vector<XY> exact = exactCurve(c.cam, false);
        const double fromArcs = distancesToChain(arcs, exact).largest;
        const double fromExact = distancesToChain(exact, arcs).largest;
        EXPECT_LE(std::max(fromArcs, fromExact), c.tolerance + 2e-6) << c.name;
        EXPECT_LT(read["joint_turn_max"].get<double>(), 1e-6) << c.name << ": a corner between arcs";
        // The dwells come out as arcs about the centre of their own radius, all their sweep.
        double dwellSweep = 0;
        for (const auto& arc : read["arcs"])
            if (!arc.is_null() && std::hypot(arc[0].get<double>(), arc[1].get<double>()) < 1e-6) {
                EXPECT_TRUE(std::fabs(arc[2].get<double>() - c.dwellRadii[0]) < 1e-7 ||
                            std::fabs(arc[2].get<double>() - c.dwellRadii[1]) < 1e-7) << c.name << ' ' << arc;
                dwellSweep += 4 * std::atan(std::fabs(arc[3].get<double>())) * 180 / M_PI;
            }
        EXPECT_NEAR(dwellSweep, c.dwellSweepDeg, 1e-6) << c.name;
        // The pitch curve drawn with arcs, a knife's the same as its contour (one more A is the turning arrow).
        if (!flatFace) {
            expectValidSvg(svg);
            const std::string text = readFile(svg);
            size_t arcCommands = 0;
            for (size_t at = text.find(" A "); at != std::string::npos; at = text.find(" A ", at + 1))
                arcCommands++;
            EXPECT_TRUE(c.cam.follower != KNIFE_FOLLOWER || arcCommands == read["vertices"].get<size_t>() + 1);
        }
        // The polar table's points, from +y counter-clockwise, lie on the contour.
        std::vector<XY> polarPoints;
        double angle, radius;
        for (std::istringstream rows(readFile(polar).substr(23)); rows >> angle && rows.ignore(1) && rows >> radius;)
            polarPoints.push_back({-radius * std::sin(angle * M_PI / 180), radius * std::cos(angle * M_PI / 180)});
        EXPECT_EQ(polarPoints.size(), 3600u) << c.name;
        EXPECT_LE(distancesToChain(polarPoints, exact).largest, 2e-6) << c.name;

        // The G-code as a controller plays it: one approach from outside, one closed pass clockwise, one exit.
        const GcodeReplay gcode = replayGcode(readFile(nc));
        EXPECT_TRUE(gcode.problems.empty()) << c.name << ": " << gcode.problems.front();
        const std::string head = "G21 G90 G17 G94 G0 M3 G1 ", tail = " G1 M5 M30";
        EXPECT_EQ(gcode.modes.substr(0, head.size()) + gcode.modes.substr(gcode.modes.size() - tail.size()),
                  head + tail) << c.name << ": " << gcode.modes;
        EXPECT_EQ(gcode.feed, 100);
        ASSERT_EQ(gcode.rapids.size(), 1u);
        ASSERT_GE(gcode.cuts.size(), 3u);
        std::vector<XY> pass;
        double area = 0;
        for (size_t k = 1; k + 1 < gcode.cuts.size(); k++)
            for (size_t i = 1; i < gcode.cuts[k].size(); i++) {
                const XY a = gcode.cuts[k][i - 1], b = gcode.cuts[k][i];
                pass.push_back(a);
                area += (a.x * b.y - b.x * a.y) / 2;
            }
        const XY in = gcode.cuts.front().back(), out = gcode.cuts.back().front();
        EXPECT_LT(std::hypot(in.x - out.x, in.y - out.y), 1e-9) << c.name << ": the pass does not close";
        EXPECT_LT(area, 0) << c.name << ": not clockwise";
        const std::vector<XY> offset = exactCurve(c.cam, false, c.rc);
        const double fromPass = distancesToChain(pass, offset).largest;
        const double fromOffset = distancesToChain(offset, pass).largest;
        EXPECT_LE(std::max(fromPass, fromOffset), c.tolerance + 2e-6) << c.name;
        // The approach comes in along the normal from outside: the rapid point stands 5 mm further out.
        EXPECT_NEAR(distancesToChain({gcode.rapids[0]}, offset).smallest, 5, 1e-3) << c.name;
        if (c.cam.follower == ROLLER_FOLLOWER) {
            EXPECT_LE(distancesToChain(pass, exactCurve(c.cam, true)).largest, c.tolerance + 2e-6)
                << "a cutter of the roller's size traces the pitch curve";
        }
        std::printf("%-36s DXF: %d arcs (3600 facets before), from arcs %.6f, from exact %.6f, joints %.1e rad; "
                    "G-code: %d arcs %d lines, %.6f / %.6f\n", c.name, read["vertices"].get<int>(), fromArcs,
                    fromExact, read["joint_turn_max"].get<double>(), gcode.arcMoves, gcode.lineMoves, fromPass,
                    fromOffset);
    }
}

// `camprofile size` against the cam's own check: at the radius it gives the binding limit holds, a thousandth of a
// millimetre less breaks it; the files asked for are the sized cam's.
TEST(SizeCommand, TheBindingLimitHoldsAtTheRadiusGivenAndFailsJustBelow)
{
    const struct {
        std::string arguments, binding;
        std::function<double(const nlohmann::json&)> margin;  // >= 0 where the limit holds
    } cases[] = {
        {"cycloid --lift 60 --rise 120 --dwell 120 --return 120", "pressure_angle",
         [](const nlohmann::json& r) { return 30 - std::max(r["rise_max_pressure_angle_deg"].get<double>(),
                                                                 r["return_max_pressure_angle_deg"].get<double>()); }},
        {"cycloid --rise 60 --return 60 --follower roller --roller-radius 10 --min-radius-factor 2 "
         "--max-pressure-angle 80", "curvature",
         [](const nlohmann::json& r) { return r["min_convex_radius"].get<double>() + 10 - 20; }},
        {"polynomial-345 --follower flat --min-radius 5", "cusp",
         [](const nlohmann::json& r) { return r["min_contour_radius"].get<double>() - 5; }},
    };
    for (const auto& c : cases) {
        const std::string dxf = scratch("sized.dxf"), table = scratch("sized.csv");
        const Outcome sized = camprofile("size " + c.arguments + " --json --profile " + dxf);
        ASSERT_EQ(sized.status, 0) << c.arguments << sized.err;
        const nlohmann::json answer = nlohmann::json::parse(sized.out);
        EXPECT_EQ(answer["binding"], c.binding) << c.arguments;
        const double r0 = answer["base_radius"];
        EXPECT_EQ(answer["cam"]["base_radius"], r0);
        char radius[32], below[32];
        std::snprintf(radius, sizeof radius, "%.3f", r0);
        std::snprintf(below, sizeof below, "%.3f", r0 - 0.001);
        // The cam alone, without size's own limits.
        const std::string cam = "cam " + c.arguments.substr(0, c.arguments.find(" --m")) + " --json --base-radius ";
        const Outcome at = camprofile(cam + radius + " --table " + table), under = camprofile(cam + below);
        EXPECT_GE(c.margin(nlohmann::json::parse(at.out)), 0) << c.arguments << " at " << radius;
        EXPECT_LT(c.margin(nlohmann::json::parse(under.out)), 0) << c.arguments << " at " << below;
        EXPECT_EQ(run("/usr/bin/python3 " DXF_CHECK " " + dxf + " " + table + " " + radius).status, 0) << c.arguments;
        std::printf("size %s: %s mm, %s\n", c.arguments.c_str(), radius, c.binding.c_str());
    }
}

// Each refusal names the option, ends with status 2 (3 where no cam meets the limits) and writes nothing.
TEST(ShopFiles, RefusalsNameTheOptionAndWriteNothing)
{
    const std::string file = scratch("refused.out"), knife = "cam cycloid --base-radius 40 --rise 90 --dwell 60 ";
    const struct { std::string arguments, named; int status; } cases[] = {
        {knife + "--toolpath " + file + " --cutter-radius 60", "--cutter-radius", 2},
        {knife + "--toolpath " + file, "--cutter-radius, --toolpath", 2},
        {knife + "--cutter-radius 5 --profile " + file + ".dxf", "--cutter-radius, --toolpath", 2},
        {knife + "--tolerance 0 --profile " + file + ".dxf", "--tolerance", 2},
        {knife + "--tolerance 2 --profile " + file + ".dxf", "--tolerance", 2},
        {knife + "--tolerance 0x1 --profile " + file + ".dxf", "--tolerance", 2},
        {knife + "--tolerance 0.0003 --cutter-radius 5 --toolpath " + file, "--tolerance", 2},
        {knife + "--feed 0 --cutter-radius 5 --toolpath " + file, "--feed", 2},
        {knife + "--pitch " + file + ".txt", "--pitch", 2},
        {knife + "--polar -", "--polar", 2},
        {"cam cycloid --follower flat --pitch " + file + ".dxf", "--pitch", 2},
        {"cam cycloid --offset -30 --base-radius 35 --rise 20 --lift 40 --polar " + file, "--polar", 2},
        {"cam cycloid --follower roller --roller-radius 40 --base-radius 20 --rise 40 --toolpath " + file +
         " --cutter-radius 5", "--toolpath", 2},
        {"size cycloid --base-radius 40 --profile " + file + ".dxf", "--base-radius", 2},
        {"size cycloid --min-radius 1", "--min-radius", 2},
        {"size cycloid --follower flat --optimise-offset", "--optimise-offset", 2},
        {"size --follower oscillating-roller --pivot-distance 100 --arm-length 80 --segment rise,120,20,cycloid "
         "--segment return,120,20,cycloid", "--follower", 2},
        {"size cycloid --lift 90000 --rise 10 --profile " + file + ".dxf", "100000 mm", 3},
    };
    for (const auto& c : cases) {
        std::remove(file.c_str()), std::remove((file + ".dxf").c_str());
        const Outcome refused = camprofile(c.arguments);
        EXPECT_EQ(refused.status, c.status) << c.arguments;
        EXPECT_NE(refused.err.find(c.named), std::string::npos) << c.arguments << ": " << refused.err;
        EXPECT_TRUE(readFile(file).empty() && readFile(file + ".dxf").empty()) << c.arguments << ": written";
        EXPECT_TRUE(refused.out.empty()) << c.arguments;
    }
}
