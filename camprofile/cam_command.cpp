// `camprofile cam`: a disk cam cut for one law, checked over the whole turn, its table and its profile as files.
// Lengths in mm, angles in degrees; the cam turns clockwise, the follower moves on the vertical line x = offset.
#include <cmath>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "camdesign/cam_check.h"
#include "camprofile/cam_report.h"
#include "camprofile/cam_table.h"
#include "camprofile/commands.h"
#include "camprofile/law_argument.h"
#include "camprofile/number_argument.h"
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

// Numbers stay text until the action, so that every refusal can quote what was typed; the defaults are the
// window's cam.
struct CamOptions {
    std::string law;
    std::vector<std::string> points;
    std::string baseRadius = formatNumber(CamDimensions{}.baseRadius);
    std::string lift = formatNumber(CamDimensions{}.lift);
    std::string rise = formatNumber(CamDimensions{}.riseDeg);
    std::string dwell = formatNumber(CamDimensions{}.dwellDeg);
    std::string back = formatNumber(CamDimensions{}.returnDeg);
    std::string follower = "knife";
    std::string rollerRadius;
    std::string offset = formatNumber(CamDimensions{}.offset);
    std::string perDegree = "10";
    bool json = false;
    std::string table, profile;
};

CamDimensions camFromOptions(const CamOptions& options)
{
    CamDimensions cam;
    cam.law = lawFromArgument(options.law);
    cam.points = pointsForLaws({cam.law}, options.points);
    cam.baseRadius = positiveNumberFromArgument(options.baseRadius, "--base-radius");
    cam.lift = positiveNumberFromArgument(options.lift, "--lift");
    cam.riseDeg = positiveNumberFromArgument(options.rise, "--rise");
    cam.returnDeg = positiveNumberFromArgument(options.back, "--return");
    cam.dwellDeg = finiteNumberFromArgument(options.dwell, "--dwell");
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
        cam.rollerRadius = options.rollerRadius.empty()
                               ? DEFAULT_ROLLER_RADIUS
                               : positiveNumberFromArgument(options.rollerRadius, "--roller-radius");
    cam.offset = finiteNumberFromArgument(options.offset, "--offset");
    const double rp = cam.baseRadius + cam.rollerRadius;
    if (std::fabs(cam.offset) >= rp)
        throw CLI::ValidationError("--offset", "must lie strictly within ±" + formatNumber(rp) +
                                                   " mm (base radius" + (roller ? " + roller radius" : "") +
                                                   "), got '" + options.offset + "'");
    return cam;
}

// The law's T on a grid as fine as the table's, so that law 7's points are refused before they overflow.
std::vector<double> lawTimes(int perDegree)
{
    std::vector<double> times;
    for (int j = 0; j <= 360 * perDegree; j++)
        times.push_back(tableAngle(j, perDegree) / 360);
    return times;
}

void runCam(const CamOptions& options)
{
    const CamDimensions dimensions = camFromOptions(options);
    const CamDesign cam = camDesignFor(dimensions);
    const int perDegree = sampleCountFromArgument(options.perDegree, "--per-degree", MAX_PER_DEGREE);
    const std::optional<ProfileFormat> format = profileFormatFor(options.profile);
    if (!options.profile.empty() && !format)
        throw CLI::ValidationError("--profile", "must name a .dxf or .svg file, got '" + options.profile + "'");
    requireFiniteLaws({dimensions.law}, dimensions.points, lawTimes(perDegree));

    if (!options.table.empty())
        writeOutput(options.table, camTableCsv(cam, perDegree), "--table");
    if (format)
        writeOutput(options.profile, profileFileText(*format, camProfileDrawing(cam, perDegree)), "--profile");
    const CamCheck check = checkCam(cam, perDegree);
    if (options.json)
        writeCamJson(std::cout, dimensions, check);
    else
        writeCamReport(std::cout, dimensions, lawName(dimensions.law), check);
}

} // namespace

void addCamCommand(CLI::App& app)
{
    auto options = std::make_shared<CamOptions>();
    CLI::App* command = app.add_subcommand(
        "cam", "a disk cam cut for LAW, in mm: pressure angle and curvature checked over the whole turn, "
               "the profile for CAD or cutting");
    command->add_option("LAW", options->law, "law 0..9 or its name")->required();
    addPointsOption(*command, options->points);
    command->add_option("--base-radius", options->baseRadius, "R0: the cam's base circle, mm")
        ->type_name("R0")
        ->capture_default_str();
    command->add_option("--lift", options->lift, "H: the follower's stroke, mm")
        ->type_name("H")
        ->capture_default_str();
    command->add_option("--rise", options->rise, "B1: cam angle of the rise, degrees")
        ->type_name("B1")
        ->capture_default_str();
    command->add_option("--dwell", options->dwell, "D1: cam angle of the dwell at full lift, degrees, may be 0")
        ->type_name("D1")
        ->capture_default_str();
    command->add_option("--return", options->back,
                        "B2: cam angle of the return, degrees; the rest of the turn is the dwell at the base circle")
        ->type_name("B2")
        ->capture_default_str();
    command->add_option("--follower", options->follower, "knife or roller")
        ->type_name("KIND")
        ->capture_default_str()
        ->check(CLI::IsMember({"knife", "roller"}));
    command->add_option("--roller-radius", options->rollerRadius,
                        "RF: the roller's radius, mm (" + formatNumber(DEFAULT_ROLLER_RADIUS) + " unless given)")
        ->type_name("RF");
    command->add_option("--offset", options->offset,
                        "E: the follower's line of motion x = E, mm. The cam turns clockwise: a follower moved to the "
                        "left of the centre (E < 0) lowers the pressure angle during the rise and raises it during "
                        "the return")
        ->type_name("E")
        ->capture_default_str();
    command->add_option("--per-degree", options->perDegree,
                        "K: table rows and profile points per degree, 1 to " + std::to_string(MAX_PER_DEGREE))
        ->type_name("K")
        ->capture_default_str();
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
