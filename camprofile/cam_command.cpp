// `camprofile cam`: a disk cam from a motion program, checked over the whole turn, its table and its profile as
// files. Everything is computed and checked before any file is opened. Lengths in mm, angles in degrees.
#include <memory>
#include <string>

#include "camprofile/cam_files.h"
#include "camprofile/cam_turn_plot.h"
#include "camprofile/dynamics_report.h"
#include "camprofile/cam_options.h"
#include "camprofile/cam_report.h"
#include "camprofile/commands.h"
#include "camprofile/output.h"
#include "camprofile/shop_files.h"

namespace {

std::string crossingText(const CamCheck& check)
{
    return check.cusps.empty() ? "the roller undercuts the cam and its contour crosses itself"
                               : "the flat face's contour has a cusp (radius of curvature r0 + s + s'' <= 0) and "
                                 "crosses itself";
}

} // namespace

std::vector<ShopFile> camOutputFiles(const CamRequest& request, const CamFigures& figures, const ShopOptions& shop)
{
    const CamDesign& cam = request.design;
    const CamCheck& check = figures.check;
    const std::optional<CamDynamics>& dynamics = figures.dynamics;
    const std::optional<ProfileFormat> format = profileFormatFor(request.profile);
    if (!request.profile.empty() && !format)
        throw CLI::ValidationError("--profile", "must name a .dxf or .svg file, got '" + request.profile + "'");
    if (!request.plot.empty() && profileFormatFor(request.plot) != SVG_PROFILE)
        throw CLI::ValidationError("--plot", "must name an .svg file, got '" + request.plot + "'");

    if (contourCrossesItself(check) && format == DXF_PROFILE)
        throw CLI::ValidationError("--profile", crossingText(check) + ": no machine can cut it, so no DXF is "
                                                "written (an SVG profile marks where)");
    if (!check.cusps.empty() && !request.table.empty())
        throw CLI::ValidationError("--table", crossingText(check) + ": its curvature passes through infinity, so "
                                              "no table is written");
    std::vector<ShopFile> files;
    std::optional<std::string> table, profile, plot;
    if (!request.table.empty())
        table = camTableCsv(cam, request.perDegree);
    if (format)
        if (std::optional<ProfileDrawing> drawing = camProfileDrawing(cam, check, request.perDegree)) {
            // A contour that crosses itself has no arcs: its SVG shows the points and where they cross.
            if (!contourCrossesItself(check))
                addFittedContour(*drawing, cam, shop.tolerance);
            if (format == SVG_PROFILE)
                addFittedPitchCurve(*drawing, cam, shop.tolerance);
            profile = profileFileText(*format, *drawing);
        }
    if (!request.plot.empty())
        plot = camTurnPlotSvg(cam, check, cam.running, dynamics);
    const bool finite = checkFinite(check) && (request.table.empty() || table) && (!format || profile) &&
                        (!dynamics || dynamicsFinite(*dynamics)) && (request.plot.empty() || plot);
    if (!finite)
        throw CLI::ValidationError("the cam", "its numbers overflow (not finite) with these dimensions and laws: "
                                              "nothing is written");
    if (table)
        files.push_back({request.table, *table, "--table"});
    if (profile)
        files.push_back({request.profile, *profile, "--profile"});
    if (plot)
        files.push_back({request.plot, *plot, "--plot"});
    for (ShopFile& file : shopFiles(cam, check, shop, request.perDegree))
        files.push_back(std::move(file));
    return files;
}

namespace {

void runCam(const CamRequest& request, const ShopOptionTexts& shopTexts)
{
    const CamFigures figures = camFigures(request.design, request.perDegree);
    const std::vector<ShopFile> files = camOutputFiles(request, figures, shopOptionsFrom(shopTexts));
    const std::string report = request.json ? camReportJson(request, figures.check, figures.dynamics)
                                            : camReportText(request, figures.check, figures.dynamics);
    writeFilesAndReport(files, report);
}

} // namespace

void addCamCommand(CLI::App& app)
{
    CLI::App* command = app.add_subcommand(
        "cam", "a disk cam from one law (LAW) or a motion program (--segment ...), in mm: pressure angle and "
               "curvature checked over the whole turn, the profile for CAD or cutting");
    auto shop = std::make_shared<ShopOptionTexts>();
    addCamOptions(*command, [shop](const CamRequest& request) { runCam(request, *shop); });
    addShopOptions(*command, *shop);
    command->footer(
        "Theta is the cam angle from the start of the program. The cam centre is the origin and y points up; a "
        "translating follower's tip (or roller centre) stands at (E, sqrt(RP^2 - E^2) + s), RP = R0 (+ RF for a "
        "roller); a flat face at height R0 + s touches the cam at x = -ds/dtheta; an oscillating arm swings about "
        "(D, 0). The profile is the cam at rest: for a clockwise cam the contour point for theta lies theta "
        "counter-clockwise from the follower; --turn ccw mirrors cam and follower (x -> -x). A pressure angle above "
        "the limit, an undercut, a cusp and a jump of the acceleration are warned about, not refused; a contour "
        "that crosses itself is not written as DXF, and with a cusp not as a table either.\n"
        "Status: 0 done, 1 a file could not be written, 2 a bad command line or design (nothing written).");
}
