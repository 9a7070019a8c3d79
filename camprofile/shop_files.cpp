// The shop's files of `camprofile cam`: arcs fitted to the contour, the cutter's path, the pitch curve and the polar
// table, each refused with its reason where the cam cannot give it. Lengths in mm, angles in degrees.
#include "camprofile/shop_files.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "camdesign/cam_outline.h"
#include "camdesign/design_rules.h"
#include "camdesign/number_text.h"
#include "camprofile/gcode_writer.h"
#include "camprofile/arguments.h"
#include "camprofile/cam_files.h"
#include "camprofile/output.h"

namespace {

const double MIN_TOLERANCE_MM = 1e-6, MAX_TOLERANCE_MM = 1;

// Arcs for the curve, or the reason none fit (a corner: a contour with a cusp on it) as a refusal.
ArcFit fitted(const CamDesign& cam, CamCurveKind kind, double offset, double tolerance, const std::string& option)
{
    try {
        return fitCamCurve(cam, kind, offset, tolerance);
    } catch (const std::runtime_error& e) {
        throw CLI::ValidationError(option, std::string("cannot be fitted with arcs: ") + e.what());
    }
}

ProfileDrawing drawingOf(const CamDesign& cam, CamCurveKind kind, const ArcFit& fit)
{
    ProfileDrawing drawing;
    drawing.baseRadius = cam.baseRadius;
    drawing.arcs = fit.arcs;
    const CamPoint zero = camPointAt(cam, 0);
    drawing.zeroX = kind == PITCH_CURVE ? zero.pitchX : zero.contourX;
    drawing.zeroY = kind == PITCH_CURVE ? zero.pitchY : zero.contourY;
    drawing.clockwise = cam.turn == CLOCKWISE;
    if (kind == PITCH_CURVE)
        drawing.contourLayer = "CAM_PITCH";
    return drawing;
}

std::string toolpathText(const CamDesign& cam, const ShopOptions& options, int perDegree)
{
    const double rc = *options.cutterRadius;
    if (const std::optional<AngleExtreme> concave = minConcaveRadius(cam, perDegree); concave && rc > concave->value)
        throw CLI::ValidationError("--cutter-radius", formatNumber(rc) + " mm is larger than the contour's smallest "
                                   "concave radius, " + fixedText(concave->value, 3) + " mm at " +
                                   fixedText(concave->atDeg, 2) + "°: the cutter would cut into the cam");
    // Fitted closer by what the G-code's rounding may add, so that the written path keeps the tolerance.
    const ArcFit path = fitted(cam, WORKING_CONTOUR, rc, options.tolerance - GCODE_ROUNDING_MM, "--toolpath");
    const CurveSample start = offsetCurve(camCurve(cam, WORKING_CONTOUR), rc)(0);
    const double speed = std::hypot(start.dx, start.dy);
    ToolpathJob job;
    job.feed = options.feed;
    job.comments = {"camprofile: one pass round the outside of the cam",
                    camSummary(cam),
                    "cutter radius " + formatNumber(rc) + " mm: its centre follows the contour moved out by " +
                        formatNumber(rc) + " mm, within " + formatNumber(options.tolerance) + " mm",
                    "cam at rest, centre X0 Y0; starts at the contour's theta = 0, clockwise (climb milling)",
                    "no Z moves: the depth is the machinist's"};
    std::ostringstream text;
    writeToolpathGcode(text, path.arcs, start.dy / speed, -start.dx / speed, job);
    return text.str();
}

std::string polarText(const CamDesign& cam, int perDegree)
{
    const std::optional<std::vector<double>> radii = polarRadii(cam, perDegree);
    if (!radii)
        throw CLI::ValidationError("--polar", "a ray from the cam centre meets the contour twice: its radius by "
                                              "polar angle is not one number");
    std::string text = "polar_angle_deg,radius\n";
    for (size_t j = 0; j < radii->size(); j++)
        text += formatNumber(static_cast<double>(j) / perDegree) + ',' + formatNumber((*radii)[j]) + '\n';
    return text;
}

} // namespace

double numberWithin(const std::string& text, const std::string& option, double lowest, double highest,
                    const std::string& unit)
{
    const double value = finiteNumberFromArgument(text, option);
    if (value < lowest || value > highest)
        throw CLI::ValidationError(option, "must lie between " + formatNumber(lowest) + " and " +
                                               formatNumber(highest) + ' ' + unit + ", got '" + text + "'");
    return value;
}

void addShopOptions(CLI::App& command, ShopOptionTexts& texts)
{
    command.add_option("--tolerance", texts.tolerance,
                       "MM: the profile's and pitch curve's arcs and the cutter's path stay within MM of the exact "
                       "curve, both ways; 1e-6 to 1")
        ->type_name("MM")
        ->capture_default_str();
    command.add_option("--cutter-radius", texts.cutterRadius, "RC: the cutter's or grinding wheel's radius, mm")
        ->type_name("RC");
    command.add_option("--toolpath", texts.toolpath,
                       "write the cutter centre's path round the outside of the cam (G2/G3, mm, absolute, no Z) to "
                       "FILE.nc; needs --cutter-radius")
        ->type_name("FILE.nc");
    command.add_option("--feed", texts.feed, "F: the toolpath's feed, mm/min")->type_name("F")->capture_default_str();
    command.add_option("--pitch", texts.pitch,
                       "write the pitch curve (knife tip or roller centre path) to FILE.dxf or FILE.svg")
        ->type_name("FILE");
    command.add_option("--polar", texts.polar,
                       "write polar_angle_deg,radius of the contour at rest to FILE.csv: the angle from +y, "
                       "counter-clockwise, every 1/K degree")
        ->type_name("FILE.csv");
}

ShopOptions shopOptionsFrom(const ShopOptionTexts& texts)
{
    ShopOptions options;
    options.tolerance = numberWithin(texts.tolerance, "--tolerance", MIN_TOLERANCE_MM, MAX_TOLERANCE_MM, "mm");
    options.feed = numberWithin(texts.feed, "--feed", MIN_LENGTH_MM, MAX_LENGTH_MM, "mm/min");
    if (!texts.cutterRadius.empty())
        options.cutterRadius =
            numberWithin(texts.cutterRadius, "--cutter-radius", MIN_LENGTH_MM, MAX_LENGTH_MM, "mm");
    if (options.cutterRadius.has_value() != !texts.toolpath.empty())
        throw CLI::ValidationError("--cutter-radius, --toolpath", "go together: the path is the cutter's centre");
    if (!texts.toolpath.empty() && options.tolerance < 2 * GCODE_ROUNDING_MM)
        throw CLI::ValidationError("--tolerance", "must be at least " + fixedText(2 * GCODE_ROUNDING_MM, 4) +
                                                      " mm with --toolpath: the G-code's four decimals take up to " +
                                                      fixedText(GCODE_ROUNDING_MM, 5) + " mm of it");
    if (!texts.pitch.empty() && !profileFormatFor(texts.pitch))
        throw CLI::ValidationError("--pitch", "must name a .dxf or .svg file, got '" + texts.pitch + "'");
    for (const auto& [path, option] : {std::pair{texts.toolpath, "--toolpath"}, {texts.pitch, "--pitch"},
                                       {texts.polar, "--polar"}})
        if (path == "-")
            throw CLI::ValidationError(option, "cannot be standard output, which carries the report");
    options.toolpath = texts.toolpath, options.pitch = texts.pitch, options.polar = texts.polar;
    return options;
}

void addFittedContour(ProfileDrawing& drawing, const CamDesign& cam, double tolerance)
{
    drawing.arcs = fitted(cam, WORKING_CONTOUR, 0, tolerance, "--profile").arcs;
}

void addFittedPitchCurve(ProfileDrawing& drawing, const CamDesign& cam, double tolerance)
{
    if (drawing.overlay.pitchX.empty())
        return;
    try {
        drawing.overlay.pitchArcs = fitCamCurve(cam, PITCH_CURVE, 0, tolerance).arcs;
    } catch (const std::runtime_error&) {
        drawing.overlay.pitchArcs.clear();
    }
}

std::vector<ShopFile> shopFiles(const CamDesign& cam, const CamCheck& check, const ShopOptions& options,
                                int perDegree)
{
    std::vector<ShopFile> files;
    const bool crosses = contourCrossesItself(check);
    for (const auto& [path, option] : {std::pair{options.toolpath, "--toolpath"}, {options.polar, "--polar"}})
        if (!path.empty() && crosses)
            throw CLI::ValidationError(option, "the contour crosses itself (undercut or cusp): no machine can cut it");
    if (!options.toolpath.empty())
        files.push_back({options.toolpath, toolpathText(cam, options, perDegree), "--toolpath"});
    if (!options.pitch.empty()) {
        if (cam.follower == FLAT_FOLLOWER)
            throw CLI::ValidationError("--pitch", "a flat face has no pitch curve: its contour is the profile");
        const ProfileDrawing drawing =
            drawingOf(cam, PITCH_CURVE, fitted(cam, PITCH_CURVE, 0, options.tolerance, "--pitch"));
        files.push_back({options.pitch, profileFileText(*profileFormatFor(options.pitch), drawing), "--pitch"});
    }
    if (!options.polar.empty())
        files.push_back({options.polar, polarText(cam, perDegree), "--polar"});
    return files;
}

std::optional<AngleExtreme> contourConcaveRadius(const CamDesign& cam, const CamCheck& check, int perDegree)
{
    return contourCrossesItself(check) ? std::nullopt : minConcaveRadius(cam, perDegree);
}

std::string camSummary(const CamDesign& cam)
{
    static const char* const FOLLOWERS[] = {"knife-edge", "roller", "flat-faced", "oscillating roller"};
    std::string text = std::string(FOLLOWERS[cam.follower]) + " follower";
    if (rollerKind(cam.follower))
        text += " of radius " + formatNumber(cam.rollerRadius) + " mm";
    if (cam.follower == OSCILLATING_ROLLER_FOLLOWER)
        text += ", pivot at " + formatNumber(cam.pivotDistance) + " mm, arm " + formatNumber(cam.armLength) + " mm";
    else
        text += ", offset " + formatNumber(cam.offset) + " mm";
    return text + ", base radius " + formatNumber(cam.baseRadius) + " mm, " +
           std::to_string(cam.program.segments.size()) + " segments, turning " +
           (cam.turn == CLOCKWISE ? "clockwise" : "counter-clockwise");
}

void writeFilesAndReport(const std::vector<ShopFile>& files, const std::string& report)
{
    for (const ShopFile& file : files)
        writeOutput(file.path, file.text, file.option);
    writeOutput("", report);
}
