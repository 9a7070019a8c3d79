// The cam's running inputs on the command line (--speed, --mass, ...) and in the design object ("running").
// Units: rev/min, kg, N/mm, N, mm, GPa; Poisson's ratio has none.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "camdesign/cam_dynamics.h"

// The options as typed, one text each (empty: not given), in the order of RUNNING_INPUTS.
struct RunningTexts {
    std::string values[8];
};

// Adds --speed, --mass, --spring-rate, --preload, --load, --cam-width, --youngs-modulus and --poisson.
void addRunningOptions(CLI::App& command, RunningTexts& texts);
// Whether any of them was given.
bool anyRunningOption(const RunningTexts& texts);

// The running inputs, or nothing when none was given. Throws CLI::ValidationError naming the option for a value
// out of its range, for a dynamics option without --speed, for an oscillating follower, for --cam-width beside
// a knife edge, and for a material without --cam-width.
std::optional<CamRunning> runningFromOptions(const RunningTexts& texts, FollowerKind follower);

// Throws CLI::ValidationError naming the first running option given: --design holds the running inputs.
void refuseRunningOptionsBesideDesign(const RunningTexts& texts);

// How the design file's reader refuses a key: it throws, naming the key.
using DesignRefusal = std::function<void(const std::string& key, const std::string& message)>;

// The design object's "running": every input by its key (mass_kg and cam_width_mm null when not given), or null.
nlohmann::ordered_json runningJson(const std::optional<CamRunning>& running);
// Reads "running" back (null: none) by the options' rules, refusing through `refuse` with "running.KEY".
std::optional<CamRunning> runningFromJson(const nlohmann::json& value, FollowerKind follower,
                                          const DesignRefusal& refuse);
