// SVG writer of the motion charts: a 2 x 2 grid of S, V, A and J, a legend above, arrows for infinite jerk.
// Page coordinates are SVG user units (pixels), y downwards.
#include "camprofile/svg_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "camprofile/svg_chart.h"
#include "curves/law_names.h"

namespace {

constexpr double PAGE_WIDTH = 960;
constexpr double PAGE_HEIGHT = 840;
// Room above the charts for the page title, the legend and the arrow note.
constexpr double HEADER_HEIGHT = 110;
constexpr double CELL_WIDTH = PAGE_WIDTH / 2;
constexpr double CELL_HEIGHT = (PAGE_HEIGHT - HEADER_HEIGHT) / 2;
// Plot area inside a cell: room for the title above, the scale labels left and below.
constexpr double INSET_LEFT = 70, INSET_RIGHT = 25, INSET_TOP = 36, INSET_BOTTOM = 48;
// Aimed-at number of grid intervals on a vertical scale.
constexpr double VERTICAL_INTERVALS = 6;
// Arrows of laws with an impulse at the same T stand this far apart.
constexpr double ARROW_SPACING = 6;

const char* const LAW_COLOURS[MAX_PLOTTED_LAWS] = {"red", "blue", "green"};
const char* const COLOUR_NAMES[MAX_PLOTTED_LAWS] = {"red", "blue", "green"};

struct ChartKind {
    const char* title;
    double LawSample::*value;
};

// In reading order: left to right, then down.
const ChartKind CHARTS[4] = {
    {"S: displacement", &LawSample::S},
    {"V = dS/dT: velocity", &LawSample::V},
    {"A = dV/dT: acceleration", &LawSample::A},
    {"J = dA/dT: jerk", &LawSample::J},
};

struct PlotArea {
    double left, top, width, height;
    Scale scale;

    double x(double T) const { return left + T * width; }
    double y(double value) const { return top + height - (value - scale.low) / (scale.high - scale.low) * height; }
};

std::string gridAndScale(const PlotArea& area)
{
    std::string svg;
    const char* grid = "stroke=\"#d0d0d0\" stroke-width=\"1\"";
    for (int i = 0; i <= 10; i++) {
        const double T = i / 10.0;
        svg += svgLine(area.x(T), area.top, area.x(T), area.top + area.height, grid);
        if (i % 2 == 0)
            svg += svgText(area.x(T), area.top + area.height + 16, svgNumber(T, "%g"), "middle");
    }
    const long first = std::lround(area.scale.low / area.scale.step);
    const long last = std::lround(area.scale.high / area.scale.step);
    for (long k = first; k <= last; k++) {
        const double value = static_cast<double>(k) * area.scale.step;
        svg += svgLine(area.left, area.y(value), area.left + area.width, area.y(value), grid);
        svg += svgText(area.left - 6, area.y(value) + 4, svgNumber(value, "%g"), "end");
    }
    // Axes: T along the zero line, the value along T = 0.
    const char* axis = "stroke=\"black\" stroke-width=\"1.5\"";
    svg += svgLine(area.left, area.y(0), area.left + area.width, area.y(0), axis);
    svg += svgLine(area.left, area.top, area.left, area.top + area.height, axis);
    svg += svgText(area.left + area.width, area.top + area.height + 36, "T", "end");
    return svg;
}

std::string lawCurve(const PlotArea& area, const PlottedLaw& law, double LawSample::*value, const char* colour)
{
    std::vector<double> x, y;
    for (size_t i = 0; i < law.samples.size(); i++) {
        x.push_back(area.x(law.times[i]));
        y.push_back(area.y(law.samples[i].*value));
    }
    return "<polyline fill=\"none\" stroke=\"" + std::string(colour) + "\" stroke-width=\"2\" points=\"" +
           svgPolylinePoints(x, y) + "\"/>\n";
}

// An impulse of infinite jerk: an arrow from the zero line to the edge of the chart, marked with the infinity sign.
std::string jerkArrows(const PlotArea& area, const PlottedLaw& law, int index)
{
    std::string svg;
    for (const JerkImpulse& impulse : law.infiniteJerks) {
        // Arrows and their labels stand on the inner side of an end of the rise.
        const double inward = impulse.T < 0.5 ? 1 : -1;
        const double x = area.x(impulse.T) + inward * index * ARROW_SPACING;
        const double tip = impulse.jump > 0 ? area.top + 2 : area.top + area.height - 2;
        svg += svgLine(x, area.y(0), x, tip,
                    "stroke=\"" + std::string(LAW_COLOURS[index]) + "\" stroke-width=\"2\" marker-end=\"url(#arrow" +
                        std::to_string(index) + ")\"");
        const double labelX = area.x(impulse.T) + inward * (MAX_PLOTTED_LAWS * ARROW_SPACING + 2);
        const double labelY = impulse.jump > 0 ? area.top + 12 + 14 * index : area.top + area.height - 4 - 14 * index;
        svg += "<text x=\"" + svgNumber(labelX) + "\" y=\"" + svgNumber(labelY) + "\" text-anchor=\"" +
               (impulse.T < 0.5 ? "start" : "end") + "\" fill=\"" + LAW_COLOURS[index] + "\">" +
               (impulse.jump > 0 ? "+∞" : "−∞") + "</text>\n";
    }
    return svg;
}

std::string chart(int which, const std::vector<PlottedLaw>& laws)
{
    const ChartKind& kind = CHARTS[which];
    double low = 0, high = 0;
    for (const PlottedLaw& law : laws)
        for (const LawSample& sample : law.samples) {
            low = std::min(low, sample.*kind.value);
            high = std::max(high, sample.*kind.value);
        }
    const double cellLeft = (which % 2) * CELL_WIDTH;
    const double cellTop = HEADER_HEIGHT + (which / 2) * CELL_HEIGHT;
    const PlotArea area = {cellLeft + INSET_LEFT, cellTop + INSET_TOP, CELL_WIDTH - INSET_LEFT - INSET_RIGHT,
                           CELL_HEIGHT - INSET_TOP - INSET_BOTTOM, roundScale(low, high, VERTICAL_INTERVALS)};

    std::string svg = "<g>\n";
    svg += "<text x=\"" + svgNumber(area.left + area.width / 2) + "\" y=\"" + svgNumber(cellTop + 22) +
           "\" text-anchor=\"middle\" font-size=\"15\" font-weight=\"bold\">" + kind.title + "</text>\n";
    svg += gridAndScale(area);
    for (size_t i = 0; i < laws.size(); i++) {
        svg += lawCurve(area, laws[i], kind.value, LAW_COLOURS[i]);
        if (kind.value == &LawSample::J)
            svg += jerkArrows(area, laws[i], static_cast<int>(i));
    }
    return svg + "</g>\n";
}

std::string header(const std::vector<PlottedLaw>& laws)
{
    std::string svg = svgText(20, 28, "<tspan font-size=\"17\" font-weight=\"bold\">Cam motion laws: displacement, "
                                   "velocity, acceleration and jerk over the rise</tspan>");
    bool anyImpulse = false;
    for (size_t i = 0; i < laws.size(); i++) {
        const double y = 52 + 18 * i;
        svg += svgLine(24, y - 4, 54, y - 4, "stroke=\"" + std::string(LAW_COLOURS[i]) + "\" stroke-width=\"3\"");
        svg += svgText(62, y, std::string(COLOUR_NAMES[i]) + ": " + LAW_TITLES[laws[i].law]);
        anyImpulse = anyImpulse || !laws[i].infiniteJerks.empty();
    }
    if (anyImpulse)
        svg += svgText(520, 52, "Arrows: infinite jerk where the acceleration jumps.");
    svg += svgText(520, anyImpulse ? 70 : 52, "T: normalized time; S, V, A, J dimensionless.");
    return svg;
}

std::string arrowMarkers(size_t count)
{
    std::string svg = "<defs>\n";
    for (size_t i = 0; i < count; i++)
        svg += "<marker id=\"arrow" + std::to_string(i) +
               "\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" markerWidth=\"7\" markerHeight=\"7\" "
               "orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"" + LAW_COLOURS[i] + "\"/></marker>\n";
    return svg + "</defs>\n";
}

}  // namespace

std::string motionPlotSvg(const std::vector<PlottedLaw>& laws)
{
    std::string title;
    for (const PlottedLaw& law : laws)
        title += std::string(title.empty() ? "" : ", ") + lawName(law.law);
    std::string svg = svgPageStart(PAGE_WIDTH, PAGE_HEIGHT, "S, V, A and J of " + title);
    svg += arrowMarkers(laws.size());
    svg += header(laws);
    for (int which = 0; which < 4; which++)
        svg += chart(which, laws);
    return svg + "</svg>\n";
}
