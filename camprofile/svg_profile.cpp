// The cam profile as an SVG 1.1 picture at full size: one user unit is one millimetre, y upwards as in the window.
// The drawing is flipped once by its group's transform; the view box is the flipped bounding box with a margin.
#include <algorithm>
#include <cstdio>
#include <string>

#include "camprofile/profile_drawing.h"

namespace {

const double MARGIN_MM = 5;

std::string millimetres(double value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

} // namespace

void writeSvgProfile(std::ostream& out, const ProfileDrawing& drawing)
{
    const double r0 = drawing.baseRadius;
    double xMin = -r0, xMax = r0, yMin = -r0, yMax = r0;
    for (size_t i = 0; i < drawing.x.size(); i++) {
        xMin = std::min(xMin, drawing.x[i]), xMax = std::max(xMax, drawing.x[i]);
        yMin = std::min(yMin, drawing.y[i]), yMax = std::max(yMax, drawing.y[i]);
    }
    xMin -= MARGIN_MM, xMax += MARGIN_MM, yMin -= MARGIN_MM, yMax += MARGIN_MM;
    const std::string width = millimetres(xMax - xMin), height = millimetres(yMax - yMin);
    const double arm = centreCrossArm(drawing);

    out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width << "mm\" height=\""
        << height << "mm\" viewBox=\"" << millimetres(xMin) << ' ' << millimetres(-yMax) << ' ' << width << ' '
        << height << "\">\n"
        << "<title>Cam profile, millimetres</title>\n"
        << "<g transform=\"scale(1,-1)\" fill=\"none\" stroke-linejoin=\"round\">\n"
        << "<polygon id=\"cam-contour\" stroke=\"#ff0000\" stroke-width=\"0.3\" points=\"";
    for (size_t i = 0; i < drawing.x.size(); i++)
        out << (i ? " " : "") << millimetres(drawing.x[i]) << ',' << millimetres(drawing.y[i]);
    out << "\"/>\n"
        << "<circle id=\"base-circle\" stroke=\"#0000ff\" stroke-width=\"0.2\" cx=\"0\" cy=\"0\" r=\""
        << millimetres(r0) << "\"/>\n"
        << "<path id=\"centre\" stroke=\"#000000\" stroke-width=\"0.2\" d=\"M " << millimetres(-arm) << " 0 H "
        << millimetres(arm) << " M 0 " << millimetres(-arm) << " V " << millimetres(arm) << "\"/>\n"
        << "</g>\n</svg>\n";
}
