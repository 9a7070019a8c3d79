// The cam check as a short readable report or as one JSON object.
// Lengths in mm, angles in degrees, curvature in 1/mm.
#pragma once

#include <ostream>
#include <string>

#include "camdesign/cam_check.h"

void writeCamReport(std::ostream& out, const CamDimensions& cam, const std::string& lawName, const CamCheck& check);
void writeCamJson(std::ostream& out, const CamDimensions& cam, const CamCheck& check);
