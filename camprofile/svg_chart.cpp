// SVG building blocks shared by the laws' plot and the cam's turn plot.
#include "camprofile/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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

std::string svgPolylinePoints(const std::vector<double>& x, const std::vector<double>& y)
{
    // Each point as written and in whole tenths, so that "on the segment" is decided on what a reader sees.
    struct Written {
        std::string x, y;
        long long xTenths, yTenths;
        bool exact;   // false for a text that is not a plain number (never left out)
    };
    const auto written = [](double px, double py) {
        const std::string xs = svgNumber(px, 1), ys = svgNumber(py, 1);
        bool exact = true;
        const auto tenths = [&exact](std::string text) {
            const size_t point = text.find('.');
            if (point != std::string::npos)
                text.erase(point, 1);
            char* end = nullptr;
            const long long value = std::strtoll(text.c_str(), &end, 10);
            exact = exact && point != std::string::npos && *end == '\0';
            return value;
        };
        const long long xt = tenths(xs), yt = tenths(ys);
        return Written{xs, ys, xt, yt, exact};
    };
    const auto between = [](long long a, long long b, long long c) {
        return std::min(a, c) <= b && b <= std::max(a, c);
    };
    std::vector<Written> kept;
    for (size_t i = 0; i < x.size() && i < y.size(); i++) {
        Written next = written(x[i], y[i]);
        if (kept.size() >= 2) {
            const Written &a = kept[kept.size() - 2], &b = kept.back();
            const bool onSegment =
                a.exact && b.exact && next.exact &&
                (b.xTenths - a.xTenths) * (next.yTenths - a.yTenths) ==
                    (next.xTenths - a.xTenths) * (b.yTenths - a.yTenths) &&
                between(a.xTenths, b.xTenths, next.xTenths) && between(a.yTenths, b.yTenths, next.yTenths);
            if (onSegment)
                kept.pop_back();
        }
        kept.push_back(std::move(next));
    }
    std::string points;
    for (const Written& p : kept) {
        points += p.x;
        points += ',';
        points += p.y;
        points += ' ';
    }
    return points;
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
