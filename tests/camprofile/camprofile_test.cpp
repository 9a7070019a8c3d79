// camprofile: jerk against the derivative of A, characteristic values against their exact values, and the built
// command (CSV read back, SVG checked by xmllint and rsvg-convert, refused command lines). All values dimensionless.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "app/app_state.h"
#include "camdesign/law_characteristics.h"
#include "curves/law_names.h"
#include "curves/motion_tables.h"

static const double MATH_PI = 3.14159265358979323846;
static const TwoPoints POINTS_A = {0.3, 0.2, 0.7, 0.8};
static const TwoPoints POINTS_B = {0.1, 0.05, 0.85, 0.95};

// Exact values, and the jumps of A where the jerk is infinite: closed forms, or (Gutman F-3, the modified laws'
// (A·V)m, law 7) the maxima of the formulas found to 30 digits with an arbitrary-precision root finder.
// camprofile promises 1e-4 relative; the refined search reaches 1e-9, which is checked so that a search left
// at its sampling grid (about 1e-7) is caught.
TEST(LawCharacteristics, MatchExactValuesAndFindEveryInfiniteJerk)
{
    const double P = MATH_PI, P2 = P * P, P3 = P2 * P;
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
TEST(Jerk, IsTheDerivativeOfAccelerationInsideEverySegment)
{
    const double h = 1e-5;
    struct Case { int law; TwoPoints points; };
    const Case cases[] = {{0, {}}, {1, {}}, {2, {}}, {3, {}}, {4, {}}, {5, {}}, {6, {}}, {7, POINTS_A}, {7, POINTS_B}};
    for (const Case& c : cases) {
        for (int i = 0; i < 1000; i++) {
            const double T = (i + 0.3) / 1000;
            const double slope =
                (evaluateLaw(c.law, T + h, c.points).A - evaluateLaw(c.law, T - h, c.points).A) / (2 * h);
            const double J = evaluateLaw(c.law, T, c.points).J;
            ASSERT_NEAR(J, slope, 1e-4 + 1e-6 * std::fabs(J)) << "law " << c.law << " T " << T;
        }
    }
}

struct Outcome { int status; std::string out, err; };

static std::string readFile(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

static std::string scratch(const std::string& name) { return testing::TempDir() + "camprofile_" + name; }

static Outcome run(std::string line, const std::vector<std::string>& args)
{
    for (const std::string& arg : args)
        line += " '" + arg + "'";
    const int status = std::system((line + " >" + scratch("out") + " 2>" + scratch("err")).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(scratch("out")), readFile(scratch("err"))};
}

static Outcome camprofile(const std::vector<std::string>& args) { return run(CAMPROFILE_PATH, args); }

// Every number must read back as the double the tables hold: compared with ==, not within a tolerance.
TEST(TableCommand, AtHundredSamplesEqualsTheProgramsTablesExactly)
{
    appState.riseSteps = 100;
    appState.timeStep = 1.0 / 100;
    buildStandardCurves();
    buildTwoPointCurve(POINTS_A.Ta, POINTS_A.Sa, POINTS_A.Tb, POINTS_A.Sb, curveSlot(TWO_POINT_CURVE));
    for (int law = 0; law < CURVE_COUNT; law++) {
        const Outcome result = camprofile({"table", std::to_string(law), "--points", "0.3", "0.2", "0.7", "0.8"});
        ASSERT_EQ(result.status, 0) << result.err;
        std::istringstream csv(result.out);
        std::string row;
        EXPECT_TRUE(std::getline(csv, row) && row == "T,S,V,A,J");
        const double* slot = curveSlot(law);
        int i = 0;
        for (double T, S, V, A, J; std::getline(csv, row); i++) {
            ASSERT_EQ(std::sscanf(row.c_str(), "%lf,%lf,%lf,%lf,%lf", &T, &S, &V, &A, &J), 5) << row;
            EXPECT_EQ(T, i * appState.timeStep);
            EXPECT_TRUE(S == slot[i] && V == slot[V_ROW + i] && A == slot[A_ROW + i]) << "law " << law << ": " << row;
            EXPECT_EQ(J, evaluateLaw(law, T, POINTS_A).J) << "law " << law << ": " << row;
        }
        EXPECT_EQ(i, 101) << "law " << law;
    }
}

TEST(LawsCommand, JsonHasExactlyTheKeysAndNamesOfEveryLaw)
{
    const Outcome result = camprofile({"laws", "--json", "--points", "0.3", "0.2", "0.7", "0.8"});
    ASSERT_EQ(result.status, 0) << result.err;
    const nlohmann::json table = nlohmann::json::parse(result.out);
    ASSERT_EQ(table.size(), 8u);
    for (int law = 0; law < CURVE_COUNT; law++) {
        const nlohmann::json& row = table[law];
        EXPECT_EQ(row.size(), 7u);
        EXPECT_TRUE(row.at("law") == law && row.at("name") == lawName(law) && row.at("jerk_infinite") == (law < 2));
        EXPECT_TRUE(row.at("Vm").is_number() && row.at("Am").is_number() && row.at("Jm").is_number() &&
                    row.at("AVm").is_number());
    }
}

TEST(PlotCommand, WritesSvgThatXmllintAcceptsAndRsvgConvertRenders)
{
    struct Case { std::vector<std::string> laws; std::vector<int> legend; bool arrows; };
    const Case cases[] = {{{"parabolic", "1", "two-point"}, {0, 1, 7}, true}, {{"cycloid"}, {2}, false}};
    const char* const colours[3] = {"red", "blue", "green"};
    for (const Case& c : cases) {
        std::vector<std::string> args = {"plot"};
        args.insert(args.end(), c.laws.begin(), c.laws.end());
        args.insert(args.end(), {"--points", "0.3", "0.2", "0.7", "0.8", "-o", scratch("plot.svg")});
        ASSERT_EQ(camprofile(args).status, 0);
        EXPECT_EQ(run("xmllint", {"--noout", scratch("plot.svg")}).status, 0);
        ASSERT_EQ(run("rsvg-convert", {scratch("plot.svg"), "-o", scratch("plot.png")}).status, 0);
        EXPECT_EQ(readFile(scratch("plot.png")).substr(1, 3), "PNG");
        const std::string svg = readFile(scratch("plot.svg"));
        for (size_t k = 0; k < c.legend.size(); k++)
            EXPECT_NE(svg.find(colours[k] + std::string(": ") + LAW_TITLES[c.legend[k]]), std::string::npos);
        EXPECT_EQ(svg.find("marker-end") != std::string::npos, c.arrows);
    }
}

TEST(CommandLine, RefusesBadArgumentsWithStatusAndMessage)
{
    struct Case { std::vector<std::string> args; int status; std::string word; };
    const Case cases[] = {
        {{"frobnicate"}, 2, "frobnicate"},
        {{"table", "9"}, 2, "unknown law"},
        {{"table", "two-point"}, 2, "--points"},
        {{"table", "7", "--points", "0.3", "nan", "0.7", "0.8"}, 2, "finite"},
        {{"table", "7", "--points", "0.3", "0.2", "inf", "0.8"}, 2, "finite"},
        {{"table", "7", "--points", "0.7", "0.2", "0.3", "0.8"}, 2, "0 < TA < TB < 1"},
        {{"table", "7", "--points", "0.3", "-1e308", "0.30000000000000004", "1e308"}, 2, "overflows"},
        {{"laws", "--points", "0.3", "-1e308", "0.30000000000000004", "1e308"}, 2, "overflows"},
        {{"table", "1", "--samples", "0"}, 2, "--samples"},
        {{"table", "1", "--samples", "-3"}, 2, "--samples"},
        {{"table", "1", "--samples", "ten"}, 2, "--samples"},
        {{"table", "1", "--samples", "100001"}, 2, "100000"},
        {{"plot", "0", "1", "2", "3", "-o", scratch("four.svg")}, 2, "at most 3"},
        {{"table", "1", "-o", "/nonexistent-folder/t.csv"}, 1, "/nonexistent-folder/t.csv"},
        {{"--help"}, 0, "laws"},
    };
    for (const Case& c : cases) {
        const Outcome result = camprofile(c.args);
        EXPECT_EQ(result.status, c.status) << c.args[0] << " " << c.word;
        EXPECT_NE((c.status == 0 ? result.out : result.err).find(c.word), std::string::npos)
            << c.word << " not in: " << result.err;
    }
}
