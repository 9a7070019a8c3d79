// What a cam design must satisfy before anything is computed from it: every length, angle and lift within its
// range, a motion program that stays at or above zero lift and returns to it, a follower that can stand on the
// cam. Lengths in mm, angles in degrees.
#pragma once

#include <optional>
#include <string>

#include "camdesign/cam_design.h"

constexpr double MIN_LENGTH_MM = 0.001;
constexpr double MAX_LENGTH_MM = 100000;
constexpr double MIN_SEGMENT_DEG = 0.01;
constexpr double MIN_SWING_DEG = 0.01;
constexpr double MAX_SWING_DEG = 90;
constexpr double MIN_PRESSURE_LIMIT_DEG = 1;
constexpr double MAX_PRESSURE_LIMIT_DEG = 89;
// The segments' angles may add up to this much over 360 degrees: a sum of decimals is rarely exact.
constexpr double TURN_TOLERANCE_DEG = 1e-9;

// The first rule a design breaks: the field (as the design file's key: "base_radius", "roller_radius", "offset",
// "pivot_distance", "arm_length", "max_pressure_angle_limit_deg", or a segment's "angle_deg", "lift", "law", "points",
// or "segments" for the program as a whole), the segment it belongs to (-1 for none) and what is wrong.
struct DesignFault {
    std::string field;
    int segment;
    std::string message;
};

std::optional<DesignFault> designFault(const CamDesign& cam);
