// The design object: everything that defines a cam, as the JSON report writes it and `--design FILE.json` reads
// it back. Lengths in mm, angles in degrees.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "camdesign/cam_design.h"

// {"segments": [{"kind", "angle_deg", "lift", "law", "law_name", "points"}...], "base_radius", "follower",
// "roller_radius", "offset", "pivot_distance", "arm_length", "turn", "max_pressure_angle_limit_deg"}; keys that
// do not apply to the follower are null.
nlohmann::ordered_json designJson(const CamDesign& cam);

// Reads the design object from a file holding it alone or a whole report (its "design"). Unknown keys, wrong
// types and every value the command line refuses throw CLI::ValidationError naming the key.
CamDesign designFromFile(const std::string& path);
