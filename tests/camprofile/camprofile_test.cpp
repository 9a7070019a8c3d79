// camprofile: jerk against the derivative of A, characteristic values against their exact values, and the built
// command (CSV read back, JSON, SVG checked by xmllint and rsvg-convert, refused command lines). Values dimensionless.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/app_state.h"
#include "camdesign/law_characteristics.h"
#include "camdesign/number_text.h"
#include "camprofile/svg_chart.h"
#include "curves/law_names.h"
#include "curves/motion_tables.h"
#include "run_command.h"

static const TwoPoints POINTS_A = {0.3, 0.2, 0.7, 0.8};
static const TwoPoints POINTS_B = {0.1, 0.05, 0.85, 0.95};
static const std::string POINTS_ARGS = " --points 0.3 0.2 0.7 0.8";

// Exact values, and the jumps of A where the jerk is infinite: closed forms, or (Gutman F-3, the modified laws'
// and the polynomials' (A·V)m, law 7) the maxima of the formulas found to 30 digits with an arbitrary-precision root finder.
// camprofile promises 1e-4 relative; the refined search reaches 1e-9, which is checked so that a search left
// at its sampling grid (about 1e-7) is caught.
TEST(LawCharacteristics, MatchExactValuesAndFindEveryInfiniteJerk)
{
    const double P = PI, P2 = P * P, P3 = P2 * P;
    struct Case { int law; double Vm, Am, Jm, AVm; std::vector<JerkImpulse> infinite; };
    const Case cases[] = {
        {0, 2, 4, 0, 8, {{0, 4}, {0.5, -8}, {1, 4}}},
        {1, P / 2, P2 / 2, P3 / 2, P3 / 8, {{0, P2 / 2}, {1, P2 / 2}}},
        {2, 2, 2 * P, 4 * P2, 3 * std::sqrt(3.0) * P / 2, {}},
        {3, 2, 8 * P / (P + 2), 32 * P2 / (P + 2), 8.089980982313150, {}},
        {4, 4 * P / (P + 4), 4 * P2 / (P + 4), 16 * P3 / (4 + P), 5.457752762719379, {}},
        {5, 2, 5.130199320647456, 6 * P2, 8.124857839101943, {}},
        {6, 8 * P / (5 * P + 4), 16 * P2 / (5 * P + 4), 128 * P3 / (5 * P + 4), 5.733377092130848, {}},
        {7, 1.5, 8.502210896392985, 118.8007937168164, 8.783274802055324, {}},
        // The polynomials: Vm, Am, Jm in closed form; (A·V)m at T = 0.31101776349538638639 and 0.34924432771111818868.
        {8, 15.0 / 8, 10 / std::sqrt(3.0), 60, 6.694268727495788, {}},
        {9, 35.0 / 16, 84 / (5 * std::sqrt(5.0)), 52.5, 10.75022616402647, {}},
    };
    for (const Case& c : cases) {
        LawCharacteristics values;
        ASSERT_TRUE(lawCharacteristics(c.law, POINTS_A, values)) << "law " << c.law;
        const double expected[4] = {c.Vm, c.Am, c.Jm, c.AVm}, found[4] = {values.Vm, values.Am, values.Jm, values.AVm};
        for (int k = 0; k < 4; k++)
            EXPECT_NEAR(found[k], expected[k], 1e-9 * expected[k]) << "law " << c.law << " value " << k;
        ASSERT_EQ(values.infiniteJerks.size(), c.infinite.size()) << "law " << c.law;
        for (size_t k = 0; k < c.infinite.size(); k++)
            EXPECT_TRUE(values.infiniteJerks[k].T == c.infinite[k].T &&
                        std::fabs(values.infiniteJerks[k].jump - c.infinite[k].jump) < 1e-12) << "law " << c.law;
    }
}

// Central differences of A with h = 1e-5 at T = (i + 0.3) / 1000: every joint of these laws is a multiple of
// 1/2000, so no difference straddles one.
// Every file's fixed-point numbers: the same characters as the C library's printf, which is the truth here.
TEST(FixedText, WritesWhatPrintfWrites)
{
    std::vector<double> values = {0.0, -0.0, 0.001, -0.001, 0.125, 0.375, -0.625, 2.5, 3.5, -4.5, 1e-320, -5e-324,
                                  0.5e-17, 123456.5, 9e18, 8.99e18, 1e22, DBL_MAX, -DBL_MAX, HUGE_VAL, -HUGE_VAL};
    // Halves at every number of places: (2k + 1) / 2^j, the ties printf breaks to even.
    for (int j = 1; j <= 19; j++)
        for (int k = 0; k < 40; k++)
            values.push_back(std::ldexp(2 * k + 1, -j) + k);
    // Values of every size, either sign, and near the limit of the integer path at each number of places.
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> unit(1, 2), exponent(-80, 70);
    for (int i = 0; i < 20000; i++)
        values.push_back((i % 2 ? -1 : 1) * unit(random) * std::exp2(std::floor(exponent(random))));
    for (int d = 0; d <= 17; d++)
        for (double near : {0.999999, 1.0, 1.000001})
            values.push_back(near * 9e18 / std::pow(10.0, d));
    for (int decimals = 0; decimals <= 17; decimals++)
        for (double value : values) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
            ASSERT_EQ(fixedText(value, decimals), expected) << "value " << value << ", " << decimals << " places";
        }
}

// A chart's polyline leaves out a point only where it lies on the segment between the points written around it.
TEST(PolylinePoints, LeaveOutOnlyPointsOnTheSegmentBetweenTheirNeighbours)
{
    struct Case {
        std::vector<double> x, y;
        std::string points;
    };
    const Case cases[] = {
        {{0, 1, 2, 3}, {5, 5, 5, 5}, "0.0,5.0 3.0,5.0 "},                                   // a dwell
        {{0, 1, 2, 3, 4}, {0, 1, 2, 2, 2}, "0.0,0.0 2.0,2.0 4.0,2.0 "},                      // a slope, a corner
        {{0, 1, 1, 2}, {0, 0, 9, 9}, "0.0,0.0 1.0,0.0 1.0,9.0 2.0,9.0 "},                     // a step
        {{0, 1, 1, 1, 2}, {0, 0, 9, 0, 0}, "0.0,0.0 1.0,0.0 1.0,9.0 1.0,0.0 2.0,0.0 "},       // a spike and back
        {{0, 0.04, 0.1}, {0, 0.04, 0.1}, "0.0,0.0 0.1,0.1 "},                                 // same as written
        {{0, 1, 2}, {0, 1, 2.04}, "0.0,0.0 2.0,2.0 "},                                        // collinear as written
        {{0, 1, 2}, {0, 1, 2.06}, "0.0,0.0 1.0,1.0 2.0,2.1 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(svgPolylinePoints(c.x, c.y), c.points);
}

TEST(Jerk, IsTheDerivativeOfAccelerationInsideEverySegment)
{
    const double h = 1e-5;
    const std::pair<int, TwoPoints> cases[] = {{0, {}}, {1, {}}, {2, {}}, {3, {}}, {4, {}}, {5, {}}, {6, {}},
                                               {7, POINTS_A}, {7, POINTS_B},
                                               {8, {}}, {9, {}}};
    for (const auto& [law, points] : cases)
        for (int i = 0; i < 1000; i++) {
            const double T = (i + 0.3) / 1000, J = evaluateLaw(law, T, points).J;
            const double slope = (evaluateLaw(law, T + h, points).A - evaluateLaw(law, T - h, points).A) / (2 * h);
            ASSERT_NEAR(J, slope, 1e-4 + 1e-6 * std::fabs(J)) << "law " << law << " T " << T;
        }
}

// Every number must read back as the double the tables and the laws hold: compared with ==, not within a tolerance.
// The table at 100 samples is the program's tables; the laws' JSON holds each law's values under exactly its keys.
TEST(TableAndLawsCommands, PrintTheProgramsTablesAndTheLawsValuesExactly)
{
    const Outcome laws = camprofile("laws --json" + POINTS_ARGS);
    ASSERT_EQ(laws.status, 0) << laws.err;
    const nlohmann::json json = nlohmann::json::parse(laws.out);
    ASSERT_EQ(json.size(), 10u);
    appState.riseSteps = 100;
    appState.timeStep = 1.0 / 100;
    buildStandardCurves();
    buildTwoPointCurve(POINTS_A.Ta, POINTS_A.Sa, POINTS_A.Tb, POINTS_A.Sb, curveSlot(TWO_POINT_CURVE));
    for (int law = 0; law < CURVE_COUNT; law++) {
        const Outcome result = camprofile("table " + std::to_string(law) + POINTS_ARGS);
        ASSERT_EQ(result.status, 0) << result.err;
        std::istringstream csv(result.out);
        std::string row;
        EXPECT_TRUE(std::getline(csv, row) && row == "T,S,V,A,J");
        const double* slot = curveSlot(law);
        int i = 0;
        for (std::vector<double> v(5); std::getline(csv, row); i++) {
            ASSERT_EQ(std::sscanf(row.c_str(), "%lf,%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3], &v[4]), 5) << row;
            const double T = i * appState.timeStep, J = evaluateLaw(law, T, POINTS_A).J;
            EXPECT_EQ(v, (std::vector<double>{T, slot[i], slot[V_ROW + i], slot[A_ROW + i], J})) << law << ": " << row;
        }
        EXPECT_EQ(i, 101) << "law " << law;
        LawCharacteristics m;
        ASSERT_TRUE(lawCharacteristics(law, POINTS_A, m));
        EXPECT_EQ(json[law], nlohmann::json({{"law", law}, {"name", lawName(law)}, {"Vm", m.Vm}, {"Am", m.Am},
                                             {"Jm", m.Jm}, {"jerk_infinite", law < 2}, {"AVm", m.AVm}}));
    }
}

TEST(PlotCommand, WritesSvgThatXmllintAcceptsAndRsvgConvertRenders)
{
    struct Case { std::string laws; std::vector<int> legend; bool arrows; };
    const Case cases[] = {{"parabolic 1 two-point", {0, 1, 7}, true}, {"cycloid", {2}, false}};
    const char* const colours[3] = {"red", "blue", "green"};
    for (const Case& c : cases) {
        ASSERT_EQ(camprofile("plot " + c.laws + POINTS_ARGS + " -o " + scratch("plot.svg")).status, 0);
        expectValidSvg(scratch("plot.svg"));
        const std::string svg = readFile(scratch("plot.svg"));
        for (size_t k = 0; k < c.legend.size(); k++)
            EXPECT_NE(svg.find(colours[k] + std::string(": ") + LAW_TITLES[c.legend[k]]), std::string::npos);
        EXPECT_EQ(svg.find("marker-end") != std::string::npos, c.arrows);
    }
}

// Both commands' refusals: the status, and a word of the message that names the argument or the rule.
TEST(CommandLine, RefusesBadArgumentsWithStatusAndMessage)
{
    const struct { std::string args; const char* word; int status = 2; } cases[] = {
        {"frobnicate", "frobnicate"}, {"table 10", "unknown law"}, {"table two-point", "--points"},
        {"table 7 --points 0.3 nan 0.7 0.8", "finite"}, {"table 7 --points 0.3 0.2 inf 0.8", "finite"},
        {"table 7 --points 0.7 0.2 0.3 0.8", "0 < TA < TB < 1"}, {"cam 7", "--points"}, {"--help", "laws", 0},
        {"table 7 --points 0.3 -1e308 0.30000000000000004 1e308", "overflows"}, {"cam 10", "law"},
        {"laws --points 0.3 -1e308 0.30000000000000004 1e308", "overflows"}, {"cam 2 --rise 0", "--rise"},
        {"table 1 --samples 0", "--samples"}, {"table 1 --samples -3", "--samples"}, {"cam 2 --lift -5", "--lift"},
        {"table 1 --samples ten", "--samples"}, {"table 1 --samples 100001", "100000"},
        {"plot 0 1 2 3 -o " + scratch("four.svg"), "at most 3"}, {"cam 2 --offset 1e999", "finite"},
        {"cam two-point --points 0.6 0.2 0.4 0.8", "--points"}, {"cam 2 --rise abc", "--rise"},
        {"table 1 -o /no-such-folder/t.csv", "/no-such-folder/t.csv", 1}, {"cam 2 --lift inf", "--lift"},
        {"cam 2 --base-radius nan", "--base-radius"}, {"cam 2 --base-radius 0", "from 0.001 to 100000 mm"},
        {"cam 2 --dwell -1", "--dwell"}, {"cam 2 --return -1", "--return"}, {"cam 2 --offset 50", "--offset"},
        {"cam 2 --rise 150 --dwell 100 --return 120", "360"}, {"cam 2 --follower cup", "--follower"},
        {"cam 2 --follower roller --offset=-60", "--offset"}, {"cam 2 --roller-radius 5", "--roller-radius"},
        {"cam 2 --follower roller --roller-radius 0", "--roller-radius"}, {"cam 2 --profile cam.png", "--profile"},
        {"cam 2 --per-degree 0", "--per-degree"}, {"cam 2 --per-degree 101", "--per-degree"},
        {"cam 2 --table /no-such-folder/t.csv", "--table: cannot write", 1},
        {"cam 2 --profile /no-such-folder/p.dxf", "--profile: cannot write", 1},
    };
    for (const auto& c : cases) {
        const Outcome result = camprofile(c.args);
        EXPECT_EQ(result.status, c.status) << c.args << "\n" << result.err;
        EXPECT_NE((c.status ? result.err : result.out).find(c.word), std::string::npos) << c.args << ": " << result.err;
    }
}
