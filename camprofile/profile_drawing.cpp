// The cam's outline sampled for a drawing, and the choice of its file format by the file's name.
#include "camprofile/profile_drawing.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "camprofile/cam_table.h"

ProfileDrawing camProfileDrawing(const CamDesign& cam, int perDegree)
{
    ProfileDrawing drawing;
    drawing.baseRadius = cam.baseRadius;
    for (int j = 0; j < 360 * perDegree; j++) {
        const CamPoint point = camPointAt(cam, tableAngle(j, perDegree));
        drawing.x.push_back(point.contourX);
        drawing.y.push_back(point.contourY);
    }
    return drawing;
}

ProfileMarks profileMarks(const ProfileDrawing& drawing)
{
    ProfileMarks marks;
    const double r0 = drawing.baseRadius, reach = std::hypot(drawing.zeroX, drawing.zeroY);
    const double inward = reach > 0 ? 1 - r0 / 10 / reach : 1;
    marks.zeroFrom[0] = drawing.zeroX, marks.zeroFrom[1] = drawing.zeroY;
    marks.zeroTo[0] = inward * drawing.zeroX, marks.zeroTo[1] = inward * drawing.zeroY;
    marks.senseRadius = r0 / 2, marks.senseFromDeg = 60, marks.senseToDeg = 120;
    // The head points the way the cam turns, its two strokes 25° either side of the arc's tangent.
    const double tipDeg = drawing.clockwise ? 60 : 120, tip = tipDeg * M_PI / 180, head = r0 / 15;
    const double direction = tip + (drawing.clockwise ? -M_PI / 2 : M_PI / 2);
    marks.arrowTip[0] = marks.senseRadius * std::cos(tip), marks.arrowTip[1] = marks.senseRadius * std::sin(tip);
    for (int side = 0; side < 2; side++) {
        const double back = direction + M_PI + (side ? 1 : -1) * 25 * M_PI / 180;
        marks.arrowEnds[side][0] = marks.arrowTip[0] + head * std::cos(back);
        marks.arrowEnds[side][1] = marks.arrowTip[1] + head * std::sin(back);
    }
    return marks;
}

std::optional<ProfileFormat> profileFormatFor(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::nullopt;
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".dxf")
        return DXF_PROFILE;
    if (extension == ".svg")
        return SVG_PROFILE;
    return std::nullopt;
}

std::string profileFileText(ProfileFormat format, const ProfileDrawing& drawing)
{
    std::ostringstream text;
    if (format == DXF_PROFILE)
        writeDxfProfile(text, drawing);
    else
        writeSvgProfile(text, drawing);
    return text.str();
}
