// The cam profile as an SVG 1.1 picture at full size: one user unit is one millimetre, y upwards as in the window.
// The drawing is flipped once by its group's transform; the view box is the flipped bounding box with a margin.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "camdesign/number_text.h"
#include "camprofile/profile_drawing.h"

namespace {

const double MARGIN_MM = 5;
// The crossing stretches' colour and the caption's height, mm.
const char* const WARNING_COLOUR = "#ff8c00";
const double CAPTION_MM = 4;

std::string millimetres(double value)
{
    return fixedText(value, 6);
}

} // namespace

void writeSvgProfile(std::ostream& out, const ProfileDrawing& drawing)
{
    const double r0 = drawing.baseRadius;
    const ProfileOverlay& overlay = drawing.overlay;
    double xMin = std::min(-r0, overlay.xMin), xMax = std::max(r0, overlay.xMax);
    double yMin = std::min(-r0, overlay.yMin), yMax = std::max(r0, overlay.yMax);
    auto extend = [&](double x, double y) {
        xMin = std::min(xMin, x), xMax = std::max(xMax, x), yMin = std::min(yMin, y), yMax = std::max(yMax, y);
    };
    for (size_t i = 0; i < drawing.x.size(); i++)
        extend(drawing.x[i], drawing.y[i]);
    for (size_t i = 0; i < overlay.pitchX.size(); i++)
        extend(overlay.pitchX[i], overlay.pitchY[i]);
    // An arc bulges at most a quarter of its chord beyond its ends (its sweep is below 180°).
    for (const ArcPiece& arc : drawing.arcs) {
        const double bow = std::hypot(arc.x1 - arc.x0, arc.y1 - arc.y0) / 4;
        extend(arc.x0 - bow, arc.y0 - bow);
        extend(arc.x0 + bow, arc.y0 + bow);
    }
    const bool crossing = std::find(drawing.crossing.begin(), drawing.crossing.end(), true) != drawing.crossing.end();
    xMin -= MARGIN_MM, xMax += MARGIN_MM, yMin -= MARGIN_MM + (crossing ? 2 * CAPTION_MM : 0), yMax += MARGIN_MM;
    const std::string width = millimetres(xMax - xMin), height = millimetres(yMax - yMin);
    const double arm = centreCrossArm(drawing);

    out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width << "mm\" height=\""
        << height << "mm\" viewBox=\"" << millimetres(xMin) << ' ' << millimetres(-yMax) << ' ' << width << ' '
        << height << "\">\n"
        << "<title>Cam profile, millimetres</title>\n"
        << "<g transform=\"scale(1,-1)\" fill=\"none\" stroke-linejoin=\"round\">\n"
        << "<path id=\"cam-contour\" stroke=\"#ff0000\" stroke-width=\"0.3\" d=\"";
    if (drawing.arcs.empty()) {
        for (size_t i = 0; i < drawing.x.size(); i++)
            out << (i ? " L " : "M ") << millimetres(drawing.x[i]) << ' ' << millimetres(drawing.y[i]);
        out << " Z";
    } else {
        out << svgArcPathData(drawing.arcs);
    }
    const ProfileMarks marks = profileMarks(drawing);
    const double from = marks.senseFromDeg * M_PI / 180, to = marks.senseToDeg * M_PI / 180;
    out << "\"/>\n"
        << "<circle id=\"base-circle\" stroke=\"#0000ff\" stroke-width=\"0.2\" cx=\"0\" cy=\"0\" r=\""
        << millimetres(r0) << "\"/>\n"
        << "<path id=\"centre\" stroke=\"#000000\" stroke-width=\"0.2\" d=\"M " << millimetres(-arm) << " 0 H "
        << millimetres(arm) << " M 0 " << millimetres(-arm) << " V " << millimetres(arm) << "\"/>\n"
        << "<path id=\"cam-marks\" stroke=\"#00a000\" stroke-width=\"0.2\" d=\"M " << millimetres(marks.zeroFrom[0])
        << ' ' << millimetres(marks.zeroFrom[1]) << " L " << millimetres(marks.zeroTo[0]) << ' '
        << millimetres(marks.zeroTo[1]) << " M " << millimetres(marks.senseRadius * std::cos(from)) << ' '
        << millimetres(marks.senseRadius * std::sin(from)) << " A " << millimetres(marks.senseRadius) << ' '
        << millimetres(marks.senseRadius) << " 0 0 1 " << millimetres(marks.senseRadius * std::cos(to)) << ' '
        << millimetres(marks.senseRadius * std::sin(to)) << " M " << millimetres(marks.arrowEnds[0][0]) << ' '
        << millimetres(marks.arrowEnds[0][1]) << " L " << millimetres(marks.arrowTip[0]) << ' '
        << millimetres(marks.arrowTip[1]) << " L " << millimetres(marks.arrowEnds[1][0]) << ' '
        << millimetres(marks.arrowEnds[1][1]) << "\"/>\n"
        << profileOverlaySvg(overlay) << "</g>\n"
        << profileMarksText(drawing);
    if (!crossing) {
        out << "</svg>\n";
        return;
    }
    // Each marked run of points as a polyline of its own, closed over the seam when it wraps.
    out << "<g id=\"contour-crosses-itself\" transform=\"scale(1,-1)\" fill=\"none\" stroke=\"" << WARNING_COLOUR
        << "\" stroke-width=\"0.8\" stroke-linejoin=\"round\">\n";
    const size_t n = drawing.x.size();
    size_t start = 0;
    while (start < n && drawing.crossing[start])
        start++;
    start %= n;
    std::vector<std::vector<size_t>> runs;
    for (size_t k = 1; k <= n; k++) {
        const size_t i = (start + k) % n;
        if (!drawing.crossing[i])
            continue;
        if (k == 1 || !drawing.crossing[(start + k - 1) % n])
            runs.emplace_back();
        runs.back().push_back(i);
    }
    for (const std::vector<size_t>& run : runs) {
        out << "<polyline points=\"";
        for (size_t j = 0; j < run.size(); j++)
            out << (j ? " " : "") << millimetres(drawing.x[run[j]]) << ',' << millimetres(drawing.y[run[j]]);
        out << "\"/>\n";
    }
    // The caption's 72 characters, about 0.55 of the font size each, fit the picture's width.
    const double fontSize = std::min(CAPTION_MM, (xMax - xMin) / (72 * 0.55));
    out << "</g>\n<text x=\"" << millimetres(xMin + fontSize) << "\" y=\"" << millimetres(-yMin - CAPTION_MM)
        << "\" font-family=\"sans-serif\" font-size=\"" << millimetres(fontSize) << "\" fill=\"" << WARNING_COLOUR
        << "\">Orange: the contour crosses itself here (undercut or cusp): no cutting.</text>\n</svg>\n";
}
