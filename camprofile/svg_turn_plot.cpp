// SVG writer of the turn plot: a header naming the cam, the program's segments named in a band, then one chart per
// series, each with its scale, reference lines, shaded stretches and infinite marks, over a shared 0..360° axis.
// Page coordinates are pixels, y downwards; cam angle grows to the right.
#include "camprofile/svg_turn_plot.h"

#include <algorithm>
#include <cmath>

#include "camprofile/svg_chart.h"

namespace {

constexpr double PAGE_WIDTH = 1000;
// Room left of the charts for the scale labels, right of them for the reference lines' names.
constexpr double PLOT_LEFT = 80, PLOT_RIGHT = 870;
constexpr double HEADER_HEIGHT = 72;
constexpr double SEGMENT_BAND = 26;
// A chart: its title line, the plot area, a gap before the next.
constexpr double CHART_TITLE = 24, CHART_HEIGHT = 118, CHART_GAP = 12;
constexpr double FOOTER_HEIGHT = 48;
constexpr double VERTICAL_INTERVALS = 4;
constexpr double ANGLE_GRID_DEG = 30;
// A rough width of one character of the 11-pixel labels, to tell whether a segment's name fits.
constexpr double LABEL_CHAR_WIDTH = 6.2;
const char* const CURVE_COLOUR = "#1f4e9c";
const char* const INFINITY_COLOUR = "#c00000";

double angleX(double deg) { return PLOT_LEFT + deg / 360 * (PLOT_RIGHT - PLOT_LEFT); }

// The top of chart `index`'s plot area (below its title).
double chartTop(size_t index)
{
    return HEADER_HEIGHT + SEGMENT_BAND + index * (CHART_TITLE + CHART_HEIGHT + CHART_GAP) + CHART_TITLE;
}

struct Area {
    double top;
    Scale scale;
    double y(double value) const
    {
        return top + CHART_HEIGHT - (value - scale.low) / (scale.high - scale.low) * CHART_HEIGHT;
    }
};

double clipped(const TurnChart& chart, double value)
{
    return chart.clip > 0 ? std::clamp(value, -chart.clip, chart.clip) : value;
}

Scale chartScale(const TurnChart& chart)
{
    double low = 0, high = 0;
    for (double v : chart.values) {
        low = std::min(low, clipped(chart, v));
        high = std::max(high, clipped(chart, v));
    }
    for (const ReferenceLine& line : chart.lines) {
        low = std::min(low, clipped(chart, line.value));
        high = std::max(high, clipped(chart, line.value));
    }
    return roundScale(low, high, VERTICAL_INTERVALS);
}

std::string rect(double x, double y, double width, double height, const std::string& style)
{
    return "<rect x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y) + "\" width=\"" + svgNumber(width) +
           "\" height=\"" + svgNumber(height) + "\" " + style + "/>\n";
}

std::string shading(const Area& area, const ShadedStretches& shaded)
{
    std::string svg;
    const std::string style = "fill=\"" + shaded.colour + "\" fill-opacity=\"0.3\" stroke=\"none\"";
    for (const PlotStretch& s : shaded.stretches) {
        // A stretch through 0° is drawn as its two parts, to 360° and from 0°.
        const double pieces[2][2] = {{s.fromDeg, s.fromDeg <= s.toDeg ? s.toDeg : 360}, {0, s.toDeg}};
        for (int i = 0; i < (s.fromDeg <= s.toDeg ? 1 : 2); i++)
            svg += rect(angleX(pieces[i][0]), area.top, std::max(angleX(pieces[i][1]) - angleX(pieces[i][0]), 1.0),
                        CHART_HEIGHT, style);
    }
    return svg;
}

std::string gridAndScale(const Area& area)
{
    std::string svg;
    const char* grid = "stroke=\"#d8d8d8\" stroke-width=\"1\"";
    for (double deg = 0; deg <= 360; deg += ANGLE_GRID_DEG)
        svg += svgLine(angleX(deg), area.top, angleX(deg), area.top + CHART_HEIGHT, grid);
    const long first = std::lround(area.scale.low / area.scale.step);
    const long last = std::lround(area.scale.high / area.scale.step);
    for (long k = first; k <= last; k++) {
        const double value = static_cast<double>(k) * area.scale.step;
        svg += svgLine(PLOT_LEFT, area.y(value), PLOT_RIGHT, area.y(value), grid);
        svg += svgText(PLOT_LEFT - 6, area.y(value) + 4, svgNumber(value, "%.10g"), "end");
    }
    const char* axis = "stroke=\"black\" stroke-width=\"1.2\"";
    svg += svgLine(PLOT_LEFT, area.y(0), PLOT_RIGHT, area.y(0), axis);
    svg += rect(PLOT_LEFT, area.top, PLOT_RIGHT - PLOT_LEFT, CHART_HEIGHT, "fill=\"none\" stroke=\"#808080\"");
    return svg;
}

std::string polyline(const std::vector<double>& x, const std::vector<double>& y)
{
    return "<polyline fill=\"none\" stroke=\"" + std::string(CURVE_COLOUR) + "\" stroke-width=\"1.5\" points=\"" +
           svgPolylinePoints(x, y) + "\"/>\n";
}

// The curve as polylines: a new one begins where the clipped value leaves one edge for the other (a radius of
// curvature passing through infinity), so that no false vertical line joins them.
std::string curve(const Area& area, const TurnChart& chart, const std::vector<double>& angles)
{
    std::string svg;
    std::vector<double> x, y;
    int lastEdge = 0;
    for (size_t i = 0; i < angles.size(); i++) {
        const double v = chart.values[i];
        const int edge = chart.clip > 0 && std::fabs(v) >= chart.clip ? (v > 0 ? 1 : -1) : 0;
        if (edge != 0 && lastEdge == -edge && !x.empty()) {
            svg += polyline(x, y);
            x.clear();
            y.clear();
        }
        if (edge != 0)
            lastEdge = edge;
        else if (chart.clip > 0 && std::fabs(v) < chart.clip / 2)
            lastEdge = 0;
        x.push_back(angleX(angles[i]));
        y.push_back(area.y(clipped(chart, v)));
    }
    if (!x.empty())
        svg += polyline(x, y);
    return svg;
}

std::string referenceLines(const Area& area, const TurnChart& chart)
{
    std::string svg;
    for (const ReferenceLine& line : chart.lines) {
        const double y = area.y(clipped(chart, line.value));
        svg += svgLine(PLOT_LEFT, y, PLOT_RIGHT, y,
                       "stroke=\"" + line.colour + "\" stroke-width=\"1.2\" stroke-dasharray=\"6,3\"");
        svg += "<text x=\"" + svgNumber(PLOT_RIGHT + 6) + "\" y=\"" + svgNumber(y + 4) + "\" fill=\"" + line.colour +
               "\" font-size=\"11\">" + svgEscaped(line.label) + "</text>\n";
    }
    return svg;
}

std::string infiniteMarks(const Area& area, const TurnChart& chart)
{
    std::string svg;
    for (const InfiniteMark& mark : chart.infinite) {
        const double x = angleX(mark.angleDeg);
        const double tip = mark.up ? area.top + 2 : area.top + CHART_HEIGHT - 2;
        svg += svgLine(x, area.y(0), x, tip, "stroke=\"" + std::string(INFINITY_COLOUR) +
                                                 "\" stroke-width=\"1.5\" marker-end=\"url(#infinity-arrow)\"");
        svg += "<text x=\"" + svgNumber(x + 4) + "\" y=\"" + svgNumber(mark.up ? area.top + 12 : tip - 4) +
               "\" fill=\"" + INFINITY_COLOUR + "\" font-size=\"11\">" + (mark.up ? "+∞" : "−∞") + "</text>\n";
    }
    return svg;
}

std::string chart(size_t index, const TurnChart& chart, const std::vector<double>& angles)
{
    const Area area = {chartTop(index), chartScale(chart)};
    std::string svg = "<g>\n";
    svg += "<text x=\"" + svgNumber(PLOT_LEFT) + "\" y=\"" + svgNumber(area.top - 7) +
           "\" font-size=\"13\" font-weight=\"bold\">" + svgEscaped(chart.title) + "</text>\n";
    // The legend of the shaded stretches, on the title's line from the right.
    double legendRight = PLOT_RIGHT;
    for (auto it = chart.shaded.rbegin(); it != chart.shaded.rend(); ++it) {
        const double width = LABEL_CHAR_WIDTH * it->label.size() + 4;
        svg += "<text x=\"" + svgNumber(legendRight) + "\" y=\"" + svgNumber(area.top - 7) +
               "\" text-anchor=\"end\" font-size=\"11\">" + svgEscaped(it->label) + "</text>\n";
        svg += rect(legendRight - width - 16, area.top - 17, 11, 11,
                    "fill=\"" + it->colour + "\" fill-opacity=\"0.5\" stroke=\"none\"");
        legendRight -= width + 30;
    }
    for (const ShadedStretches& shaded : chart.shaded)
        svg += shading(area, shaded);
    svg += gridAndScale(area);
    svg += referenceLines(area, chart);
    svg += curve(area, chart, angles);
    svg += infiniteMarks(area, chart);
    return svg + "</g>\n";
}

// The segments' names in the band above the charts, shortened to their first word, or left out, where the
// segment is too narrow; their bounds as dashed lines through every chart.
std::string segmentMarks(const TurnPlot& plot, double bottom)
{
    std::string svg;
    const double bandY = HEADER_HEIGHT + SEGMENT_BAND - 8;
    for (const PlotSegment& segment : plot.segments) {
        const double width = angleX(segment.toDeg) - angleX(segment.fromDeg) - 4;
        std::string name = segment.name;
        if (LABEL_CHAR_WIDTH * name.size() > width)
            name = name.substr(0, name.find(' '));
        if (LABEL_CHAR_WIDTH * name.size() <= width)
            svg += "<text x=\"" + svgNumber((angleX(segment.fromDeg) + angleX(segment.toDeg)) / 2) + "\" y=\"" +
                   svgNumber(bandY) + "\" text-anchor=\"middle\" font-size=\"11\">" + svgEscaped(name) + "</text>\n";
        for (double deg : {segment.fromDeg, segment.toDeg})
            if (deg > 0 && deg < 360)
                svg += svgLine(angleX(deg), bandY - 12, angleX(deg), bottom,
                               "stroke=\"#505050\" stroke-width=\"1\" stroke-dasharray=\"3,3\"");
    }
    return svg;
}

std::string angleAxis(double bottom)
{
    std::string svg;
    for (double deg = 0; deg <= 360; deg += ANGLE_GRID_DEG)
        svg += svgText(angleX(deg), bottom + 16, svgNumber(deg, "%g"), "middle");
    svg += svgText((PLOT_LEFT + PLOT_RIGHT) / 2, bottom + 36, "cam angle θ, degrees", "middle");
    return svg;
}

} // namespace

std::string turnPlotSvg(const TurnPlot& plot)
{
    const double bottom = chartTop(plot.charts.size()) - CHART_TITLE - CHART_GAP;
    std::string svg = svgPageStart(PAGE_WIDTH, bottom + FOOTER_HEIGHT, plot.title);
    svg += "<defs>\n<marker id=\"infinity-arrow\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" markerWidth=\"7\" "
           "markerHeight=\"7\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"" +
           std::string(INFINITY_COLOUR) + "\"/></marker>\n</defs>\n";
    svg += "<text x=\"20\" y=\"26\" font-size=\"17\" font-weight=\"bold\">" + svgEscaped(plot.title) + "</text>\n";
    svg += svgText(20, 48, svgEscaped(plot.subtitle));
    svg += svgText(20, 64, "Dashed lines: segment bounds. Arrows: infinite jerk where the acceleration jumps.");
    svg += segmentMarks(plot, bottom);
    for (size_t i = 0; i < plot.charts.size(); i++)
        svg += chart(i, plot.charts[i], plot.angles);
    svg += angleAxis(bottom);
    return svg + "</svg>\n";
}
