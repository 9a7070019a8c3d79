// `camprofile size`: the smallest base radius (and, if asked, the best offset) that keeps the pressure angle and the
// curvature within their limits, the cam's report at that radius, and which limit binds. Lengths in mm, angles in
// degrees.
#include <cmath>
#include <iostream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "camdesign/cam_sizing.h"
#include "camdesign/design_rules.h"
#include "camprofile/cam_options.h"
#include "camprofile/cam_report.h"
#include "camprofile/commands.h"
#include "camprofile/output.h"
#include "camprofile/shop_files.h"

// The status of a cam that no base radius up to LARGEST_BASE_RADIUS_MM makes meet the limits.
constexpr int NO_CAM_MEETS_THE_LIMITS = 3;

namespace {

struct SizeOptions {
    std::string minRadiusFactor = "1", minRadius = "0.001";
    bool optimiseOffset = false;
    ShopOptionTexts shop;
};

const char* const BINDING_KEYS[] = {"pressure_angle", "curvature", "cusp"};
const char* const BINDING_TEXTS[] = {"the pressure angle", "the pitch curve's smallest convex radius",
                                     "the contour's smallest radius of curvature"};

SizingLimits limitsFrom(const CLI::App& command, const CamDesign& cam, const SizeOptions& options)
{
    if (cam.follower == OSCILLATING_ROLLER_FOLLOWER)
        throw CLI::ValidationError("--follower", "oscillating-roller is not sized: its pivot and arm bound the base "
                                                 "radius, so choose them with `camprofile cam`");
    const bool roller = cam.follower == ROLLER_FOLLOWER, flat = cam.follower == FLAT_FOLLOWER;
    if (!roller && command.count("--min-radius-factor"))
        throw CLI::ValidationError("--min-radius-factor", "binds a roller follower only");
    if (!flat && command.count("--min-radius"))
        throw CLI::ValidationError("--min-radius", "binds a flat-faced follower only");
    if (flat && options.optimiseOffset)
        throw CLI::ValidationError("--optimise-offset", "does not apply to a flat face: its offset only places the "
                                                        "stem and changes neither the contour nor the radius");
    SizingLimits limits;
    limits.maxPressureAngleDeg = cam.maxPressureAngleDeg;
    limits.minRadiusFactor = numberWithin(options.minRadiusFactor, "--min-radius-factor", 1, 100, "times RF");
    limits.minRadius = numberWithin(options.minRadius, "--min-radius", MIN_LENGTH_MM, MAX_LENGTH_MM, "mm");
    return limits;
}

void runSize(const CLI::App& command, const CamRequest& request, const SizeOptions& options)
{
    if (command.count("--base-radius"))
        throw CLI::ValidationError("--base-radius", "is what camprofile size finds: leave it out");
    const SizingLimits limits = limitsFrom(command, request.design, options);
    const ShopOptions shop = shopOptionsFrom(options.shop);
    const std::optional<CamSize> size = sizeCam(request.design, limits, options.optimiseOffset, request.perDegree);
    if (!size) {
        std::cerr << "camprofile: no base radius up to " << static_cast<long>(LARGEST_BASE_RADIUS_MM)
                  << " mm meets the limits: even there the "
                  << (request.design.follower == FLAT_FOLLOWER ? "contour's radius of curvature stays below "
                                                                 "--min-radius"
                                                               : "pressure angle or the pitch curve's bend stays "
                                                                 "beyond its limit")
                  << "; a longer rise or return, or a smaller lift, needs less\n";
        throw CLI::RuntimeError(NO_CAM_MEETS_THE_LIMITS);
    }
    CamRequest sized = request;
    sized.design.baseRadius = size->baseRadius;
    sized.design.offset = size->offset;
    if (sized.shorthand)
        sized.shorthand->baseRadius = size->baseRadius, sized.shorthand->offset = size->offset;
    const CamFigures figures = camFigures(sized.design, sized.perDegree);
    const std::vector<ShopFile> files = camOutputFiles(sized, figures, shop);
    std::string report;
    if (request.json) {
        nlohmann::ordered_json json;
        json["base_radius"] = size->baseRadius;
        json["offset"] = size->offset;
        json["binding"] = BINDING_KEYS[size->binding];
        json["cam"] = nlohmann::ordered_json::parse(camReportJson(sized, figures.check, figures.dynamics));
        report = json.dump(2) + '\n';
    } else {
        const double below = (std::round(size->baseRadius * SIZE_STEPS_PER_MM) - 1) / SIZE_STEPS_PER_MM;
        report = "Smallest base radius " + formatNumber(size->baseRadius) + " mm" +
                 (options.optimiseOffset ? " with the best offset, " + formatNumber(size->offset) + " mm" : "") +
                 ": bound by " + BINDING_TEXTS[size->binding] + " (" + formatNumber(below) + " mm would break it)\n" +
                 camReportText(sized, figures.check, figures.dynamics);
    }
    writeFilesAndReport(files, report);
}

} // namespace

void addSizeCommand(CLI::App& app)
{
    CLI::App* command = app.add_subcommand(
        "size", "the smallest base radius for a cam (everything `cam` takes but --base-radius) that meets the "
                "limits, rounded up to 0.001 mm, its report, and which limit binds");
    auto options = std::make_shared<SizeOptions>();
    addCamOptions(*command, [command, options](const CamRequest& request) { runSize(*command, request, *options); });
    // Declared by the cam's options, refused here: the search sets it, and a design file's is ignored.
    command->get_option("--base-radius")->group("");
    command->get_option("--max-pressure-angle")
        ->description("the limit the pressure angle must keep over the rises and returns, 1 to 89 degrees");
    command->get_option("--design")
        ->description("read the cam from FILE.json (a --json report's design object, or the report); its base radius "
                      "is ignored");
    command->add_option("--min-radius-factor", options->minRadiusFactor,
                        "F: a roller's pitch curve must nowhere bend tighter than F x RF (1, the default, is exactly "
                        "no undercut; textbooks advise 2 to 3), 1 to 100")
        ->type_name("F")
        ->capture_default_str();
    command->add_option("--min-radius", options->minRadius,
                        "MM: a flat face's contour must keep its radius of curvature at least MM (the default: no "
                        "cusp)")
        ->type_name("MM")
        ->capture_default_str();
    command->add_flag("--optimise-offset", options->optimiseOffset,
                      "also find the offset E (translating knife or roller) that gives the smallest radius");
    addShopOptions(*command, options->shop);
    command->footer(
        "Limits: the pressure angle at most --max-pressure-angle over the rises and returns (knife and roller); a "
        "roller's pitch curve bends no tighter than F x RF; a flat face's contour keeps radius --min-radius. The "
        "search brackets and bisects the base radius on the whole-turn check of each limit; the largest radius "
        "any limit needs binds. --json gives base_radius, offset, binding (pressure_angle, curvature or cusp) and "
        "the cam's report under cam. An oscillating follower is refused.\n"
        "Status: 0 done, 1 a file could not be written, 2 a bad command line or design (nothing written), 3 no "
        "base radius up to 100000 mm meets the limits.");
}
