// The cam's whole turn as charts: lift and its derivatives (or v, a, j at speed), pressure angle, contour radius,
// and at speed with a mass the contact force and camshaft torque. Lengths in mm, angles in degrees.
#pragma once

#include <optional>
#include <string>

#include "camdesign/cam_check.h"
#include "camdesign/cam_dynamics.h"

// The SVG page of the turn plot, sampled at four points a degree and on both sides of every segment bound and
// law joint. `dynamics` holds the running figures when `running` is given (its jump stretches shaded).
// Nothing where a value is not finite.
std::optional<std::string> camTurnPlotSvg(const CamDesign& cam, const CamCheck& check, const std::optional<CamRunning>& running,
                           const std::optional<CamDynamics>& dynamics);
