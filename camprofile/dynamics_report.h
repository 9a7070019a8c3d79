// The cam at speed in the report: a few readable lines, and the JSON object "dynamics" (keys in a fixed order).
// Units in every key's name: rpm, m/s, m/s², m/s³, N, N·m, W, MPa; angles in degrees.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "camdesign/cam_dynamics.h"

// "At N rpm (ω rad/s):" and a line each for the kinematics, contact force, jump, torque and stress.
std::string dynamicsReportText(const CamRunning& running, const CamDynamics& dynamics);
// The report's object, written only with a speed (null without one); the force, jump, preload, torque, power
// and stress keys are null without a mass.
nlohmann::ordered_json dynamicsJson(const std::optional<CamRunning>& running, const std::optional<CamDynamics>& dynamics);

// The table's columns at speed, after its own six, with the leading comma.
constexpr const char* DYNAMICS_CSV_HEADER = ",velocity_m_s,acceleration_m_s2,jerk_m_s3,contact_force_N,torque_Nm";
// One row's columns with the leading comma, each number reading back as the same double; the force and torque
// are empty without a mass, and the jerk is the owning segment's value where the acceleration jumps.
// Nothing where a number is not finite.
std::optional<std::string> dynamicsCsvColumns(const CamRunning& running, const CamPoint& point);

// True when every figure is finite, so that no report holds nan or inf.
bool dynamicsFinite(const CamDynamics& dynamics);
