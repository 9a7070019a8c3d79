// The cam check as a short readable report or as one JSON object, built as text before anything is written.
// Lengths in mm (an oscillating follower's lift in degrees of arm swing), angles in degrees, curvature in 1/mm.
#pragma once

#include <string>

#include <optional>

#include "camdesign/cam_check.h"
#include "camdesign/cam_dynamics.h"
#include "camprofile/cam_options.h"

// `dynamics`: the running figures, present when the design has running inputs.
std::string camReportText(const CamRequest& request, const CamCheck& check,
                          const std::optional<CamDynamics>& dynamics);
// Keys in a fixed order; those that do not apply to the cam are null. The README lists them.
std::string camReportJson(const CamRequest& request, const CamCheck& check,
                          const std::optional<CamDynamics>& dynamics);

// True when every number of the check is finite, so that no report holds nan or inf.
bool checkFinite(const CamCheck& check);
