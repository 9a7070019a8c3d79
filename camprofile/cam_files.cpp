// The cam's CSV table and its profile drawing, sampled at the table's angles.
#include "camprofile/cam_files.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "camprofile/dynamics_report.h"
#include "camprofile/output.h"

namespace {

bool inside(const AngleStretch& stretch, double theta)
{
    return stretch.fromDeg <= stretch.toDeg ? theta >= stretch.fromDeg && theta <= stretch.toDeg
                                            : theta >= stretch.fromDeg || theta <= stretch.toDeg;
}

} // namespace

std::optional<std::string> camTableCsv(const CamDesign& cam, int perDegree)
{
    std::string csv = "theta_deg,s,pressure_angle_deg,pitch_curvature,x,y" +
                      std::string(cam.running ? DYNAMICS_CSV_HEADER : "") + "\n";
    for (int j = 0; j < 360 * perDegree; j++) {
        const double theta = tableAngle(j, perDegree);
        const CamPoint point = camPointAt(cam, theta);
        const double row[6] = {theta, point.s, point.pressureAngleDeg, point.pitchCurvature, point.contourX,
                               point.contourY};
        for (int k = 0; k < 6; k++) {
            if (!std::isfinite(row[k]))
                return std::nullopt;
            csv += formatNumber(row[k]) + (k < 5 ? "," : "");
        }
        const std::optional<std::string> dynamics = cam.running ? dynamicsCsvColumns(*cam.running, point) : "";
        if (!dynamics)
            return std::nullopt;
        csv += *dynamics + '\n';
    }
    return csv;
}

std::optional<ProfileDrawing> camProfileDrawing(const CamDesign& cam, const CamCheck& check, int perDegree)
{
    ProfileDrawing drawing;
    drawing.baseRadius = cam.baseRadius;
    std::vector<CamPoint> turn;
    for (int j = 0; j < 360 * perDegree; j++)
        turn.push_back(camPointAt(cam, tableAngle(j, perDegree)));
    drawing.overlay = profileOverlay(cam, turn);
    const CamPoint zero = camPointAt(cam, 0);
    drawing.zeroX = zero.contourX, drawing.zeroY = zero.contourY;
    drawing.clockwise = cam.turn == CLOCKWISE;
    std::vector<AngleStretch> crossings = check.undercut;
    crossings.insert(crossings.end(), check.cusps.begin(), check.cusps.end());
    for (int j = 0; j < 360 * perDegree; j++) {
        const double theta = tableAngle(j, perDegree);
        const CamPoint& point = turn[static_cast<size_t>(j)];
        if (!std::isfinite(point.contourX) || !std::isfinite(point.contourY))
            return std::nullopt;
        drawing.x.push_back(point.contourX);
        drawing.y.push_back(point.contourY);
        drawing.crossing.push_back(
            std::any_of(crossings.begin(), crossings.end(), [&](const AngleStretch& s) { return inside(s, theta); }));
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
