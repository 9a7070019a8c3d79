// Parsing and checking of LAW and --points: every refusal names the argument and the rule it breaks.
#include "camprofile/law_argument.h"

#include <algorithm>

#include "camprofile/number_argument.h"
#include "camprofile/number_format.h"
#include "curves/motion_tables.h"

const char* const LAW_ARGUMENT_NAMES[LAW_COUNT] = {
    "parabolic",     "harmonic",  "cycloid",                    "modified-trapezoid",
    "modified-sine", "gutman-f3", "modified-constant-velocity", "two-point",
    "polynomial-345", "polynomial-4567",
};

std::string lawArgumentHelp()
{
    std::string help = "0.." + std::to_string(LAW_COUNT - 1) + " or a name:";
    for (const char* name : LAW_ARGUMENT_NAMES)
        help += std::string(help.back() == ':' ? " " : ", ") + name;
    return help;
}

int lawFromArgument(const std::string& text, const std::string& option)
{
    for (int curve = 0; curve < LAW_COUNT; curve++)
        if (text == std::to_string(curve) || text == LAW_ARGUMENT_NAMES[curve])
            return curve;
    throw CLI::ValidationError(option, "unknown law '" + text + "': give " + lawArgumentHelp());
}

void addPointsOption(CLI::App& command, std::vector<std::string>& words)
{
    command.add_option("--points", words, "TA SA TB SB: the points A and B of law 7, 0 < TA < TB < 1")
        ->expected(4)
        ->type_name("NUM")
        ->allow_extra_args(false);
}

static const char* const POINT_NAMES[4] = {"TA", "SA", "TB", "SB"};

static double pointValue(const std::string& word, int index)
{
    return finiteNumberFromArgument(word, "--points", POINT_NAMES[index]);
}

TwoPoints pointsForLaws(const std::vector<int>& laws, const std::vector<std::string>& words)
{
    TwoPoints points = {0, 0, 0, 0};
    if (std::find(laws.begin(), laws.end(), TWO_POINT_CURVE) == laws.end())
        return points;
    if (words.size() != 4)
        throw CLI::ValidationError("--points", "law 7 needs --points TA SA TB SB");
    points = {pointValue(words[0], 0), pointValue(words[1], 1), pointValue(words[2], 2), pointValue(words[3], 3)};
    if (!twoPointsInRange(points))
        throw CLI::ValidationError("--points", "needs 0 < TA < TB < 1, got TA = " + formatNumber(points.Ta) +
                                                   ", TB = " + formatNumber(points.Tb));
    return points;
}

void requireFiniteLaws(const std::vector<int>& laws, const TwoPoints& points, const std::vector<double>& times)
{
    for (int law : laws)
        for (double T : times)
            if (!lawSampleFinite(evaluateLaw(law, T, points)))
                throw CLI::ValidationError("--points", "law " + std::to_string(law) +
                                                           " overflows at T = " + formatNumber(T) +
                                                           ": S, V, A and J must be finite");
}
