// The LAW argument of the commands: a number 0..7 or a law's short name, and the --points of law 7.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "curves/motion_laws.h"

// Short names on the command line, indexed by CurveId: "parabolic", ..., "two-point".
extern const char* const LAW_ARGUMENT_NAMES[LAW_COUNT];

// "0..9 or a name: parabolic, ..., two-point", for the help of a LAW argument.
std::string lawArgumentHelp();

// The CurveId of a LAW argument; throws CLI::ValidationError naming `option` when it is neither 0..9 nor a name.
int lawFromArgument(const std::string& text, const std::string& option = "LAW");

// Adds --points TA SA TB SB to a command; the four words land in `words`, unparsed.
void addPointsOption(CLI::App& command, std::vector<std::string>& words);

// The points law 7 is built from. Throws CLI::ValidationError when one of `laws` is 7 and the points are
// missing, are not four finite numbers or break 0 < TA < TB < 1. Without law 7 the points are not read.
TwoPoints pointsForLaws(const std::vector<int>& laws, const std::vector<std::string>& words);

// Throws CLI::ValidationError naming --points when a law gives a non-finite S, V, A or J at one of `times`:
// points in range can still overflow (a huge SA, or TA and TB a rounding apart).
void requireFiniteLaws(const std::vector<int>& laws, const TwoPoints& points, const std::vector<double>& times);
