// SVG building blocks shared by the laws' plot and the cam's turn plot.
#include "camprofile/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "camdesign/number_text.h"

Scale roundScale(double low, double high, double intervals)
{
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (high - low < 1e-12) {
        low = -1;
        high = 1;
    }
    const double rough = (high - low) / intervals;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

std::string svgNumber(double value, int decimals) { return fixedText(value, decimals); }

std::string svgNumber(double value, const char* format)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string svgText(double x, double y, const std::string& content, const char* anchor)
{
    return "<text x=\"" + svgNumber(x) + "\" y=\"" + svgNumber(y) + "\" text-anchor=\"" + anchor + "\">" + content +
           "</text>\n";
}

std::string svgLine(double x1, double y1, double x2, double y2, const std::string& style)
{
    return "<line x1=\"" + svgNumber(x1) + "\" y1=\"" + svgNumber(y1) + "\" x2=\"" + svgNumber(x2) + "\" y2=\"" +
           svgNumber(y2) + "\" " + style + "/>\n";
}

std::string svgPageStart(double width, double height, const std::string& title)
{
    const std::string w = svgNumber(width, "%g"), h = svgNumber(height, "%g");
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w + "\" height=\"" + h +
           "\" viewBox=\"0 0 " + w + " " + h + "\" font-family=\"DejaVu Sans, Arial, sans-serif\" font-size=\"12\">\n"
           "<title>" + svgEscaped(title) + "</title>\n"
           "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n";
}

std::string svgEscaped(const std::string& text)
{
    std::string escaped;
    for (char c : text)
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    return escaped;
}
