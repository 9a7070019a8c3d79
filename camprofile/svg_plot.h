// The S, V, A and J charts of up to three laws on one SVG 1.1 page.
// Charts span the rise, T = 0..1 to the right; each chart's vertical scale fits the values of all laws shown.
#pragma once

#include <string>
#include <vector>

#include "camdesign/law_characteristics.h"
#include "curves/motion_laws.h"

// One law as plotted: samples in ascending T, where a joint appears twice (the end of one segment and the
// start of the next) so that a jump is drawn as a vertical step.
struct PlottedLaw {
    int law;
    std::vector<double> times;
    std::vector<LawSample> samples;
    std::vector<JerkImpulse> infiniteJerks;  // drawn as arrows, not as values
};

// Most laws on one page, drawn in red, blue and green in the order given.
constexpr int MAX_PLOTTED_LAWS = 3;

std::string motionPlotSvg(const std::vector<PlottedLaw>& laws);
