// The whole turn of a cam in one SVG 1.1 picture: charts stacked over one shared cam-angle axis, 0..360°.
// The caller samples the series; this file only draws them. Page coordinates are pixels, y downwards.
#pragma once

#include <string>
#include <vector>

// A stretch of cam angle in degrees, from -> to in the direction of growing theta; fromDeg > toDeg runs through 0.
struct PlotStretch {
    double fromDeg, toDeg;
};

// Stretches shaded behind a chart's curve, named in the chart's legend.
struct ShadedStretches {
    std::string label;
    std::string colour;
    std::vector<PlotStretch> stretches;
};

// A horizontal line across a chart (a limit, a zero, a roller's radius), named at its right end.
struct ReferenceLine {
    double value;
    std::string label;
    std::string colour;
};

// Where a value is infinite (the jerk where the acceleration jumps): an arrow up (+∞) or down (−∞).
struct InfiniteMark {
    double angleDeg;
    bool up;
};

struct TurnChart {
    std::string title;   // what is drawn, with its unit
    std::vector<double> values;   // one a TurnPlot angle
    std::vector<ReferenceLine> lines;
    std::vector<ShadedStretches> shaded;
    std::vector<InfiniteMark> infinite;
    // Above 0: values drawn within -clip..clip, the curve cut where it leaves one edge for the other.
    double clip = 0;
};

// A segment of the motion program, named above the charts and bounded by dashed lines through all of them.
struct PlotSegment {
    double fromDeg, toDeg;
    std::string name;
};

struct TurnPlot {
    std::string title;      // names the cam
    std::string subtitle;   // its dimensions
    std::vector<double> angles;   // ascending over 0..360; an angle given twice draws a step
    std::vector<PlotSegment> segments;
    std::vector<TurnChart> charts;
};

// Every value must be finite (clipped values included); the page grows with the number of charts.
std::string turnPlotSvg(const TurnPlot& plot);
