// The cam check for a reader (text) and for a program (JSON, written with nlohmann-json, keys in a fixed order).
// Lengths in mm, angles in degrees.
#include "camprofile/cam_report.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace {

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string stretchList(const std::vector<AngleStretch>& stretches)
{
    if (stretches.empty())
        return "none";
    std::string list;
    for (const AngleStretch& s : stretches)
        list += (list.empty() ? "" : ", ") + fixed(s.fromDeg, 2) + "° to " + fixed(s.toDeg, 2) + "°";
    return list;
}

nlohmann::ordered_json stretchArray(const std::vector<AngleStretch>& stretches)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const AngleStretch& s : stretches)
        list.push_back({s.fromDeg, s.toDeg});
    return list;
}

} // namespace

void writeCamReport(std::ostream& out, const CamDimensions& cam, const std::string& lawName, const CamCheck& check)
{
    const bool roller = cam.rollerRadius > 0;
    out << "Cam for law " << cam.law << " (" << lawName << "), "
        << (roller ? "roller follower of radius " + fixed(cam.rollerRadius, 3) + " mm" : "knife-edge follower")
        << "\n  base circle radius " << fixed(cam.baseRadius, 3) << " mm, lift " << fixed(cam.lift, 3)
        << " mm, offset " << fixed(cam.offset, 3) << " mm\n  rise " << fixed(cam.riseDeg, 2) << "°, outer dwell "
        << fixed(cam.dwellDeg, 2) << "°, return " << fixed(cam.returnDeg, 2) << "°, inner dwell "
        << fixed(360 - cam.riseDeg - cam.dwellDeg - cam.returnDeg, 2) << "°\n"
        << "Largest pressure angle: rise " << fixed(check.riseMaxPressureAngleDeg, 3) << "° at "
        << fixed(check.riseMaxPressureAngleAtDeg, 2) << "°, return " << fixed(check.returnMaxPressureAngleDeg, 3)
        << "° at " << fixed(check.returnMaxPressureAngleAtDeg, 2) << "°\n"
        << "Smallest convex radius of the contour: " << fixed(check.minConvexRadius, 3) << " mm at "
        << fixed(check.minConvexRadiusAtDeg, 2) << "°\n"
        << "Concave (pitch curve): " << stretchList(check.concave) << '\n';
    if (roller)
        out << "Undercut: " << stretchList(check.undercut) << '\n';
    out << (check.warnings.empty() ? "Warnings: none" : "Warnings:") << '\n';
    for (const std::string& warning : check.warnings)
        out << "  " << warning << '\n';
}

void writeCamJson(std::ostream& out, const CamDimensions& cam, const CamCheck& check)
{
    nlohmann::ordered_json report;
    report["law"] = cam.law;
    report["base_radius"] = cam.baseRadius;
    report["lift"] = cam.lift;
    report["rise_deg"] = cam.riseDeg;
    report["dwell_deg"] = cam.dwellDeg;
    report["return_deg"] = cam.returnDeg;
    report["rest_deg"] = 360 - cam.riseDeg - cam.dwellDeg - cam.returnDeg;
    report["follower"] = cam.rollerRadius > 0 ? "roller" : "knife";
    report["roller_radius"] = cam.rollerRadius;
    report["offset"] = cam.offset;
    report["rise_max_pressure_angle_deg"] = check.riseMaxPressureAngleDeg;
    report["rise_max_pressure_angle_at_deg"] = check.riseMaxPressureAngleAtDeg;
    report["return_max_pressure_angle_deg"] = check.returnMaxPressureAngleDeg;
    report["return_max_pressure_angle_at_deg"] = check.returnMaxPressureAngleAtDeg;
    report["min_convex_radius"] = check.minConvexRadius;
    report["min_convex_radius_at_deg"] = check.minConvexRadiusAtDeg;
    report["concave"] = stretchArray(check.concave);
    report["undercut"] = stretchArray(check.undercut);
    report["warnings"] = check.warnings;
    out << report.dump(2) << '\n';
}
