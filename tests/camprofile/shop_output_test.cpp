// camprofile's shop files read back by real readers: the DXF's arcs by ezdxf (flattened and compared with the exact
// contour both ways), the G-code by the tests' own reader (replayed and compared with the contour moved out by the
// cutter's radius), the polar table against the contour; `camprofile size` against the cam's own check; refusals.
// Lengths in mm, angles in degrees.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

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
        const std::string figures = scratch("shop.json");
        const Outcome made = camprofile("cam " + c.arguments + " --profile " + dxf + " --table " + table +
                                        " --toolpath " + nc + " --cutter-radius " + std::to_string(c.rc) +
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
        const double fromArcs = distancesToChain(arcs, exact).largest, fromExact = distancesToChain(exact, arcs).largest;
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
        const double fromPass = distancesToChain(pass, offset).largest, fromOffset = distancesToChain(offset, pass).largest;
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
