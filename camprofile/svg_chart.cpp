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

namespace {

long long signedTenths(const FixedDecimal& number)
{
    const long long digits = static_cast<long long>(number.digits);
    return number.negative ? -digits : digits;
}

} // namespace

std::string svgPolylinePoints(const std::vector<double>& x, const std::vector<double>& y)
{
    // Each point as written, in whole tenths, so that "on the segment" is decided on what a reader sees.
    struct Written {
        std::optional<FixedDecimal> x, y;   // empty for a number printf writes otherwise (never left out)
        double xValue, yValue;
        long long xTenths() const { return signedTenths(*x); }
        long long yTenths() const { return signedTenths(*y); }
        bool exact() const { return x && y; }
    };
    const auto between = [](long long a, long long b, long long c) {
        return std::min(a, c) <= b && b <= std::max(a, c);
    };
    std::vector<Written> kept;
    for (size_t i = 0; i < x.size() && i < y.size(); i++) {
        Written next{fixedDecimal(x[i], 1), fixedDecimal(y[i], 1), x[i], y[i]};
        if (kept.size() >= 2) {
            const Written &a = kept[kept.size() - 2], &b = kept.back();
            if (a.exact() && b.exact() && next.exact() &&
                (b.xTenths() - a.xTenths()) * (next.yTenths() - a.yTenths()) ==
                    (next.xTenths() - a.xTenths()) * (b.yTenths() - a.yTenths()) &&
                between(a.xTenths(), b.xTenths(), next.xTenths()) && between(a.yTenths(), b.yTenths(), next.yTenths()))
                kept.pop_back();
        }
        kept.push_back(next);
    }
    std::string points;
    for (const Written& p : kept) {
        points += p.x ? fixedDecimalText(*p.x, 1) : svgNumber(p.xValue, 1);
        points += ',';
        points += p.y ? fixedDecimalText(*p.y, 1) : svgNumber(p.yValue, 1);
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
