// `camprofile cam`: a disk cam cut for one law, checked over the whole turn, its table and its profile as files.
// Lengths in mm, angles in degrees; the cam turns clockwise, the follower moves on the vertical line x = offset.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "camdesign/cam_check.h"
#include "camprofile/cam_report.h"
#include "camprofile/commands.h"
#include "camprofile/law_argument.h"
#include "camprofile/number_format.h"
#include "camprofile/output.h"
#include "camprofile/profile_drawing.h"
#include "camprofile/sample_count.h"
#include "curves/law_names.h"

// The densest table: 36,000 rows of six numbers, a few megabytes.
constexpr int MAX_PER_DEGREE = 100;
// The roller's radius when --follower roller comes without --roller-radius.
constexpr double DEFAULT_ROLLER_RADIUS = 10;

namespace {

// Numbers stay text until the action, so that every refusal can quote what was typed.
struct CamOptions {
    std::string law;
    std::vector<std::string> points;
    std::string baseRadius = "50", lift = "60", rise = "120", dwell = "120", back = "120";
    std::string follower = "knife";
    std::string rollerRadius;
    std::string offset = "0";
    std::string perDegree = "10";
    bool json = false;
    std::string table, profile;
};

double finiteNumber(const std::string& text, const std::string& option)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0')
        throw CLI::ValidationError(option, "must be a number, got '" + text + "'");
    // strtod reads "nan" and "inf", and gives inf for a number beyond the double range.
    if (!std::isfinite(value))
        throw CLI::ValidationError(option, "must be a finite number, got '" + text + "'");
    return value;
}

double positiveNumber(const std::string& text, const std::string& option)
{
    const double value = finiteNumber(text, option);
    if (value <= 0)
        throw CLI::ValidationError(option, "must be above 0, got '" + text + "'");
    return value;
}

std::string lowerCaseExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

CamDimensions camFromOptions(const CamOptions& options)
{
    CamDimensions cam;
    cam.law = lawFromArgument(options.law);
    cam.points = pointsForLaws({cam.law}, options.points);
    cam.baseRadius = positiveNumber(options.baseRadius, "--base-radius");
    cam.lift = positiveNumber(options.lift, "--lift");
    cam.riseDeg = positiveNumber(options.rise, "--rise");
    cam.returnDeg = positiveNumber(options.back, "--return");
    cam.dwellDeg = finiteNumber(options.dwell, "--dwell");
    if (cam.dwellDeg < 0)
        throw CLI::ValidationError("--dwell", "must be 0 or more, got '" + options.dwell + "'");
    if (cam.riseDeg + cam.dwellDeg + cam.returnDeg > 360)
        throw CLI::ValidationError("--rise, --dwell, --return",
                                   "add up to " + formatNumber(cam.riseDeg + cam.dwellDeg + cam.returnDeg) +
                                       "°, more than one turn (360°)");
    const bool roller = options.follower == "roller";
    if (!roller && !options.rollerRadius.empty())
        throw CLI::ValidationError("--roller-radius", "is for --follower roller only");
    if (roller)
        cam.rollerRadius = options.rollerRadius.empty() ? DEFAULT_ROLLER_RADIUS
                                                        : positiveNumber(options.rollerRadius, "--roller-radius");
    cam.offset = finiteNumber(options.offset, "--offset");
    if (std::fabs(cam.offset) >= pitchRadius(cam))
        throw CLI::ValidationError("--offset", "must lie strictly within ±" + formatNumber(pitchRadius(cam)) +
                                                   " mm (base radius" + (roller ? " + roller radius" : "") +
                                                   "), got '" + options.offset + "'");
    return cam;
}

// The law's T at every angle the table samples, so that law 7's points are refused before they overflow.
std::vector<double> lawTimes(const CamDimensions& cam, int perDegree)
{
    std::vector<double> times;
    for (int j = 0; j <= 360 * perDegree; j++)
        if (const std::optional<double> T = lawTimeAt(cam, static_cast<double>(j) / perDegree))
            times.push_back(*T);
    return times;
}

void runCam(const CamOptions& options)
{
    const CamDimensions cam = camFromOptions(options);
    const int perDegree = sampleCountFromArgument(options.perDegree, "--per-degree", MAX_PER_DEGREE);
    const std::string profileKind = lowerCaseExtension(options.profile);
    if (!options.profile.empty() && profileKind != ".dxf" && profileKind != ".svg")
        throw CLI::ValidationError("--profile", "must name a .dxf or .svg file, got '" + options.profile + "'");
    requireFiniteLaws({cam.law}, cam.points, lawTimes(cam, perDegree));

    // One row and one contour vertex for each theta = j / K over the turn.
    std::string csv = "theta_deg,s,pressure_angle_deg,pitch_curvature,x,y\n";
    ProfileDrawing drawing;
    drawing.baseRadius = cam.baseRadius;
    for (int j = 0; j < 360 * perDegree; j++) {
        const double theta = static_cast<double>(j) / perDegree;
        const CamPoint point = camPointAt(cam, theta);
        csv += formatNumber(theta) + ',' + formatNumber(point.s) + ',' + formatNumber(point.pressureAngleDeg) + ',' +
               formatNumber(point.pitchCurvature) + ',' + formatNumber(point.contourX) + ',' +
               formatNumber(point.contourY) + '\n';
        drawing.x.push_back(point.contourX);
        drawing.y.push_back(point.contourY);
    }
    if (!options.table.empty())
        writeOutput(options.table, csv, "--table");
    if (!options.profile.empty()) {
        std::ostringstream file;
        if (profileKind == ".dxf")
            writeDxfProfile(file, drawing);
        else
            writeSvgProfile(file, drawing);
        writeOutput(options.profile, file.str(), "--profile");
    }

    const CamCheck check = checkCam(cam, perDegree);
    if (options.json)
        writeCamJson(std::cout, cam, check);
    else
        writeCamReport(std::cout, cam, lawName(cam.law), check);
}

} // namespace

void addCamCommand(CLI::App& app)
{
    auto options = std::make_shared<CamOptions>();
    CLI::App* command = app.add_subcommand(
        "cam", "a disk cam cut for LAW, in mm: pressure angle and curvature checked over the whole turn, "
               "the profile for CAD or cutting");
    command->add_option("LAW", options->law, "law 0..7 or its name")->required();
    addPointsOption(*command, options->points);
    command->add_option("--base-radius", options->baseRadius, "R0: the cam's base circle, mm (default 50)")
        ->type_name("R0");
    command->add_option("--lift", options->lift, "H: the follower's stroke, mm (default 60)")->type_name("H");
    command->add_option("--rise", options->rise, "B1: cam angle of the rise, degrees (default 120)")
        ->type_name("B1");
    command->add_option("--dwell", options->dwell, "D1: cam angle of the dwell at full lift, may be 0 (default 120)")
        ->type_name("D1");
    command->add_option("--return", options->back,
                        "B2: cam angle of the return, degrees (default 120); the rest of the turn is the dwell at "
                        "the base circle")
        ->type_name("B2");
    command->add_option("--follower", options->follower, "knife (default) or roller")
        ->type_name("KIND")
        ->check(CLI::IsMember({"knife", "roller"}));
    command->add_option("--roller-radius", options->rollerRadius, "RF: the roller's radius, mm (default 10)")
        ->type_name("RF");
    command->add_option("--offset", options->offset,
                        "E: the follower's line of motion x = E, mm (default 0). The cam turns clockwise: a "
                        "follower moved to the left of the centre (E < 0) lowers the pressure angle during the "
                        "rise and raises it during the return")
        ->type_name("E");
    command->add_option("--per-degree", options->perDegree,
                        "K: table rows and profile points per degree, 1 to " + std::to_string(MAX_PER_DEGREE) +
                            " (default 10)")
        ->type_name("K");
    command->add_flag("--json", options->json, "print the check as one JSON object");
    command->add_option("--table", options->table,
                        "write theta_deg,s,pressure_angle_deg,pitch_curvature,x,y for theta = j / K to FILE.csv")
        ->type_name("FILE.csv");
    command->add_option("--profile", options->profile,
                        "write the working contour, base circle and centre to FILE.dxf or FILE.svg (mm)")
        ->type_name("FILE");
    command->footer(
        "Theta is the cam angle from the start of the rise. The cam centre is the origin and y points up; the "
        "follower's tip (or roller centre) stands at (E, sqrt(RP^2 - E^2) + s), RP = R0 (+ RF for a roller). The "
        "profile is the cam at rest: the contour point for theta lies theta counter-clockwise from the follower. "
        "Pressure angle: tan(phi) = (ds/dtheta + E) / (sqrt(RP^2 - E^2) + s). A pressure angle above 30° and an "
        "undercut are warned about, not refused.");
    command->callback([options] { runCam(*options); });
}
