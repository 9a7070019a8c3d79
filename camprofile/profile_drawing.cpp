// The cam's outline sampled for a drawing, and the choice of its file format by the file's name.
#include "camprofile/profile_drawing.h"

#include <algorithm>
#include <cctype>
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
