// Pieces every camprofile chart is drawn with: round scales, numbers, text and lines as SVG 1.1 elements.
// Page coordinates are SVG user units (pixels), y downwards.
#pragma once

#include <string>
#include <vector>

// A vertical scale of round numbers: low and high are multiples of step.
struct Scale {
    double low, high, step;
};

// The round scale (step 1, 2 or 5 times a power of ten, about `intervals` of them) that holds 0 and low..high.
Scale roundScale(double low, double high, double intervals);

// A coordinate with `decimals` places (two: a hundredth of a pixel).
std::string svgNumber(double value, int decimals = 2);
// A number in printf's `format`, for labels ("%g").
std::string svgNumber(double value, const char* format);
std::string svgText(double x, double y, const std::string& content, const char* anchor = "start");
std::string svgLine(double x1, double y1, double x2, double y2, const std::string& style);
// A polyline's points ("x,y x,y ... "), a tenth of a pixel each, x not decreasing. A point on the straight segment
// between its written neighbours is left out: the line drawn is the same, the file and the page's work smaller.
std::string svgPolylinePoints(const std::vector<double>& x, const std::vector<double>& y);
// The document's opening: XML declaration, the <svg> element of this size, its <title>, a white page.
std::string svgPageStart(double width, double height, const std::string& title);
// Text made safe for an SVG element's content or attribute: & < > " escaped.
std::string svgEscaped(const std::string& text);
