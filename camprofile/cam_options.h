// The options of `camprofile cam`, in one place: each option with its own rule where it is declared, the rules
// across options in one function, and the design and outputs they ask for. Lengths in mm, angles in degrees.
#pragma once

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "camdesign/cam_design.h"

// What one run of `camprofile cam` is asked for.
struct CamRequest {
    CamDesign design;
    std::optional<CamDimensions> shorthand;  // the one-law form LAW --lift --rise --dwell --return, when used
    int perDegree;
    bool json;
    std::string table, profile, plot;        // files to write, empty for none
};

// Declares the options on `command`; `run` receives the request once the command line has passed every rule.
void addCamOptions(CLI::App& command, const std::function<void(const CamRequest&)>& run);

// The roller's radius when a roller follower comes without --roller-radius.
constexpr double DEFAULT_ROLLER_RADIUS = 10;
// The densest table: 36,000 rows a turn, a few megabytes.
constexpr int MAX_PER_DEGREE = 100;
