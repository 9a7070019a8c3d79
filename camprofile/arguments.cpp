// Parsing and checking of the command line's values: every refusal names the argument and quotes what was typed.
#include "camprofile/arguments.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "camprofile/output.h"

namespace {

// Sign, digits with at most one point (at least one digit), then an optional exponent with digits.
bool decimalNotation(const std::string& text)
{
    size_t i = 0, digits = 0;
    const auto digitRun = [&] {
        size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            i++;
        return i - start;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        i++;
    digits += digitRun();
    if (i < text.size() && text[i] == '.') {
        i++;
        digits += digitRun();
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        i++;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            i++;
        if (digitRun() == 0)
            return false;
    }
    return i == text.size();
}

const char* const POINT_NAMES[4] = {"TA", "SA", "TB", "SB"};

} // namespace

double finiteNumberFromArgument(const std::string& text, const std::string& option, const std::string& valueName)
{
    const std::string subject = valueName.empty() ? "" : valueName + " ";
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos)
        throw CLI::ValidationError(option, subject + "must be a finite number, got '" + text + "'");
    if (!decimalNotation(text))
        throw CLI::ValidationError(option, subject + "must be a number in decimal notation (an exponent as in 1e3 "
                                                     "allowed), got '" + text + "'");
    const double value = std::strtod(text.c_str(), nullptr);
    // A number beyond the double range reads as inf.
    if (!std::isfinite(value))
        throw CLI::ValidationError(option, subject + "must be a finite number, got '" + text + "'");
    return value;
}

double positiveNumberFromArgument(const std::string& text, const std::string& option)
{
    const double value = finiteNumberFromArgument(text, option);
    if (value <= 0)
        throw CLI::ValidationError(option, "must be above 0, got '" + text + "'");
    return value;
}

int sampleCountFromArgument(const std::string& text, const std::string& option, int limit)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < 1 || value > limit)
        throw CLI::ValidationError(option, "must be a whole number from 1 to " + std::to_string(limit) + ", got '" +
                                               text + "'");
    return static_cast<int>(value);
}

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
    for (int law = 0; law < LAW_COUNT; law++)
        if (text == std::to_string(law) || text == LAW_ARGUMENT_NAMES[law])
            return law;
    throw CLI::ValidationError(option, "unknown law '" + text + "': give " + lawArgumentHelp());
}

void addPointsOption(CLI::App& command, std::vector<std::string>& words)
{
    command.add_option("--points", words, "TA SA TB SB: the points A and B of law 7, 0 < TA < TB < 1")
        ->expected(4)
        ->type_name("NUM")
        ->allow_extra_args(false);
}

TwoPoints pointsFromWords(const std::vector<std::string>& words, const std::string& option)
{
    double values[4];
    for (int k = 0; k < 4; k++)
        values[k] = finiteNumberFromArgument(words[k], option, POINT_NAMES[k]);
    const TwoPoints points = {values[0], values[1], values[2], values[3]};
    if (!twoPointsInRange(points))
        throw CLI::ValidationError(option, "needs 0 < TA < TB < 1, got TA = " + formatNumber(points.Ta) +
                                               ", TB = " + formatNumber(points.Tb));
    return points;
}

TwoPoints pointsForLaws(const std::vector<int>& laws, const std::vector<std::string>& words)
{
    if (std::find(laws.begin(), laws.end(), 7) == laws.end())
        return {0, 0, 0, 0};
    if (words.size() != 4)
        throw CLI::ValidationError("--points", "law 7 needs --points TA SA TB SB");
    return pointsFromWords(words, "--points");
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
