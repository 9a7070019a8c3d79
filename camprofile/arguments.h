// The command line's values, each parsed and refused in one place with a message naming the option: real
// numbers (decimal notation), counts, laws and law 7's points.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "curves/motion_laws.h"

// A real number in decimal notation, an exponent allowed ("1e3"); hexadecimal, inf, nan and numbers beyond the
// double range are refused. Throws CLI::ValidationError naming `option` (and `value`, one of several values it
// takes, if given).
double finiteNumberFromArgument(const std::string& text, const std::string& option, const std::string& value = "");
// The same, and above 0.
double positiveNumberFromArgument(const std::string& text, const std::string& option);

// A whole number within 1..limit; throws CLI::ValidationError naming `option` otherwise.
int sampleCountFromArgument(const std::string& text, const std::string& option, int limit);

// Short names on the command line, indexed by law: "parabolic", ..., "two-point", "polynomial-345", ...
extern const char* const LAW_ARGUMENT_NAMES[LAW_COUNT];

// "0..9 or a name: parabolic, ..., polynomial-4567", for the help of a LAW argument.
std::string lawArgumentHelp();

// The law of a LAW argument; throws CLI::ValidationError naming `option` when it is neither a number nor a name.
int lawFromArgument(const std::string& text, const std::string& option = "LAW");

// Adds --points TA SA TB SB to a command; the four words land in `words`, unparsed.
void addPointsOption(CLI::App& command, std::vector<std::string>& words);

// Law 7's four points from their words; throws CLI::ValidationError naming `option` when they are not four
// finite numbers or break 0 < TA < TB < 1.
TwoPoints pointsFromWords(const std::vector<std::string>& words, const std::string& option);

// The points law 7 is built from. Throws CLI::ValidationError when one of `laws` is 7 and the points are
// missing or wrong (as pointsFromWords). Without law 7 the points are not read.
TwoPoints pointsForLaws(const std::vector<int>& laws, const std::vector<std::string>& words);

// Throws CLI::ValidationError naming --points when a law gives a non-finite S, V, A or J at one of `times`:
// points in range can still overflow (a huge SA, or TA and TB a rounding apart).
void requireFiniteLaws(const std::vector<int>& laws, const TwoPoints& points, const std::vector<double>& times);
