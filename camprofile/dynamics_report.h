// The cam at speed in the report: a few readable lines, and the JSON object "dynamics" (keys in a fixed order).
// Units in every key's name: rpm, m/s, m/s², m/s³, N, N·m, W, MPa; angles in degrees.
#pragma once

#include <optional>
#include <ostream>

#include <nlohmann/json.hpp>

#include "camdesign/cam_dynamics.h"

void writeDynamicsReport(std::ostream& out, const CamRunning& running, const CamDynamics& dynamics);
// null without a speed; the force, jump, preload, torque, power and stress keys null without a mass.
nlohmann::ordered_json dynamicsJson(const std::optional<CamRunning>& running, const std::optional<CamDynamics>& dynamics);
