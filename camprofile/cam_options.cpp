// The options of `camprofile cam`. Numbers stay text until the rules run, so that a refusal can quote what was
// typed; the design's own rules (ranges, the program, the follower on the cam) are camdesign's, and a fault is
// reported under the option that set the field.
#include "camprofile/cam_options.h"

#include <memory>
#include <sstream>

#include "camdesign/design_rules.h"
#include "camprofile/arguments.h"
#include "camprofile/design_file.h"
#include "camprofile/output.h"
#include "camprofile/running_options.h"

namespace {

struct CamOptions {
    std::string law;
    std::vector<std::string> points, segments;
    std::string baseRadius = "50", lift = "60", rise = "120", dwell = "120", back = "120";
    std::string follower = "knife", rollerRadius, offset = "0", pivotDistance, armLength;
    std::string turn = "cw", maxPressureAngle = "30", design;
    std::string perDegree = "10";
    bool json = false;
    std::string table, profile, plot;
    RunningTexts running;
};

// The options that describe the cam, as against those that only say what to write.
const char* const DESIGN_OPTIONS[] = {"LAW", "--points", "--segment", "--base-radius", "--lift", "--rise", "--dwell",
                                      "--return", "--follower", "--roller-radius", "--offset", "--pivot-distance",
                                      "--arm-length", "--turn", "--max-pressure-angle"};
const char* const SHORTHAND_OPTIONS[] = {"--points", "--lift", "--rise", "--dwell", "--return"};

// The option that sets each design field, for the one-line refusals; a segment's fields are named by the segment.
const std::pair<const char*, const char*> FIELD_OPTIONS[] = {
    {"base_radius", "--base-radius"}, {"roller_radius", "--roller-radius"}, {"offset", "--offset"},
    {"pivot_distance", "--pivot-distance"}, {"arm_length", "--arm-length"},
    {"max_pressure_angle_limit_deg", "--max-pressure-angle"}};

bool given(const CLI::App& command, const char* name) { return command.count(name) > 0; }

FollowerKind followerKind(const std::string& name)
{
    return name == "roller" ? ROLLER_FOLLOWER : name == "flat" ? FLAT_FOLLOWER
           : name == "oscillating-roller" ? OSCILLATING_ROLLER_FOLLOWER : KNIFE_FOLLOWER;
}

// KIND,ANGLE[,LIFT,LAW[,TA,SA,TB,SB]]
MotionSegment segmentFromText(const std::string& text, int number)
{
    const std::string option = "--segment " + std::to_string(number);
    std::vector<std::string> fields;
    std::stringstream stream(text);
    for (std::string field; std::getline(stream, field, ',');)
        fields.push_back(field);
    if (!text.empty() && text.back() == ',')
        fields.push_back("");
    const std::string kind = fields.empty() ? "" : fields[0];
    if (kind != "rise" && kind != "dwell" && kind != "return")
        throw CLI::ValidationError(option, "must start with rise, dwell or return, got '" + text + "'");
    MotionSegment segment = {kind == "rise" ? RISE_SEGMENT : kind == "dwell" ? DWELL_SEGMENT : RETURN_SEGMENT,
                             0, 0, 0, {0, 0, 0, 0}};
    if (segment.kind == DWELL_SEGMENT) {
        if (fields.size() != 2)
            throw CLI::ValidationError(option, "a dwell is dwell,ANGLE, got '" + text + "'");
        segment.angleDeg = finiteNumberFromArgument(fields[1], option, "ANGLE");
        return segment;
    }
    if (fields.size() != 4 && fields.size() != 8)
        throw CLI::ValidationError(option, "a " + kind + " is " + kind + ",ANGLE,LIFT,LAW (law 7 followed by TA,SA,TB,SB), "
                                           "got '" + text + "'");
    segment.angleDeg = finiteNumberFromArgument(fields[1], option, "ANGLE");
    segment.lift = finiteNumberFromArgument(fields[2], option, "LIFT");
    segment.law = lawFromArgument(fields[3], option);
    if ((segment.law == 7) != (fields.size() == 8))
        throw CLI::ValidationError(option, segment.law == 7 ? "law 7 needs its points: " + kind +
                                                                  ",ANGLE,LIFT,7,TA,SA,TB,SB"
                                                            : "only law 7 takes points, got '" + text + "'");
    if (segment.law == 7)
        segment.points = pointsFromWords({fields.begin() + 4, fields.end()}, option);
    return segment;
}

// The option that set a field the design's rules refuse.
std::string optionFor(const DesignFault& fault, const CamRequest& request)
{
    if (fault.segment < 0 && fault.field != "segments") {
        for (const auto& [field, option] : FIELD_OPTIONS)
            if (fault.field == field)
                return option;
        return fault.field;
    }
    if (!request.shorthand)
        return fault.segment < 0 ? "--segment" : "--segment " + std::to_string(fault.segment + 1);
    if (fault.segment < 0)
        return "--rise, --dwell, --return";
    if (fault.field == "lift" || fault.field == "points" || fault.field == "law")
        return fault.field == "law" ? "LAW" : "--" + fault.field;
    const SegmentKind kind = request.design.program.segments[fault.segment].kind;
    return kind == RISE_SEGMENT ? "--rise" : kind == DWELL_SEGMENT ? "--dwell" : "--return";
}

// A segment's field as the --segment syntax names it.
std::string segmentWord(const std::string& field)
{
    return field == "angle_deg" ? "ANGLE" : field == "lift" ? "LIFT" : field == "law" ? "LAW" : field;
}

// The one-law form, as it always was: a dwell of 0 is left out.
CamDimensions shorthandFromOptions(const CamOptions& options)
{
    CamDimensions cam;
    cam.law = lawFromArgument(options.law);
    cam.points = pointsForLaws({cam.law}, options.points);
    cam.lift = finiteNumberFromArgument(options.lift, "--lift");
    cam.riseDeg = positiveNumberFromArgument(options.rise, "--rise");
    cam.returnDeg = positiveNumberFromArgument(options.back, "--return");
    cam.dwellDeg = finiteNumberFromArgument(options.dwell, "--dwell");
    if (cam.dwellDeg < 0)
        throw CLI::ValidationError("--dwell", "must be 0 or more, got '" + options.dwell + "'");
    return cam;
}

// The rules across options, then the design's own rules under the options' names.
CamRequest requestFromOptions(const CLI::App& command, const CamOptions& options)
{
    CamRequest request;
    request.perDegree = sampleCountFromArgument(options.perDegree, "--per-degree", MAX_PER_DEGREE);
    request.json = options.json;
    request.table = options.table;
    request.profile = options.profile;
    request.plot = options.plot;
    if (request.table == "-")
        throw CLI::ValidationError("--table", "standard output carries the report: give a file name");

    if (!options.design.empty()) {
        for (const char* name : DESIGN_OPTIONS)
            if (given(command, name))
                throw CLI::ValidationError(name, "cannot stand beside --design, which holds the whole cam; only "
                                                 "output options may");
        refuseRunningOptionsBesideDesign(options.running);
        request.design = designFromFile(options.design);
        return request;
    }
    const bool segments = !options.segments.empty();
    if (segments == given(command, "LAW"))
        throw CLI::ValidationError(segments ? "LAW" : "--segment",
                                   segments ? "and --segment exclude each other: give one law with --lift, --rise, "
                                              "--dwell, --return, or the whole program as --segment options"
                                            : "give a LAW (one law's rise, dwell and return) or the program as "
                                              "--segment KIND,ANGLE[,LIFT,LAW] options, or --design FILE.json");
    if (segments)
        for (const char* name : SHORTHAND_OPTIONS)
            if (given(command, name))
                throw CLI::ValidationError(name, "belongs to the one-law form LAW; with --segment each segment "
                                                 "carries its own angle, lift, law and points");

    CamDesign& cam = request.design;
    cam.follower = followerKind(options.follower);
    const bool roller = rollerKind(cam.follower), oscillating = cam.follower == OSCILLATING_ROLLER_FOLLOWER;
    if (!roller && given(command, "--roller-radius"))
        throw CLI::ValidationError("--roller-radius", "is for the roller followers only (--follower roller or "
                                                      "oscillating-roller)");
    if (oscillating && given(command, "--offset"))
        throw CLI::ValidationError("--offset", "belongs to the translating followers; the oscillating roller's arm "
                                               "is placed by --pivot-distance and --arm-length");
    for (const char* name : {"--pivot-distance", "--arm-length"}) {
        if (!oscillating && given(command, name))
            throw CLI::ValidationError(name, "is for --follower oscillating-roller only");
        if (oscillating && !given(command, name))
            throw CLI::ValidationError(name, "is needed by --follower oscillating-roller (with --pivot-distance D "
                                             "and --arm-length L)");
    }
    if (segments) {
        for (size_t k = 0; k < options.segments.size(); k++)
            cam.program.segments.push_back(segmentFromText(options.segments[k], static_cast<int>(k) + 1));
    } else {
        request.shorthand = shorthandFromOptions(options);
        cam.program = camDesignFor(*request.shorthand).program;
    }
    cam.baseRadius = finiteNumberFromArgument(options.baseRadius, "--base-radius");
    if (roller)
        cam.rollerRadius = options.rollerRadius.empty()
                               ? DEFAULT_ROLLER_RADIUS
                               : finiteNumberFromArgument(options.rollerRadius, "--roller-radius");
    if (!oscillating)
        cam.offset = finiteNumberFromArgument(options.offset, "--offset");
    else {
        cam.pivotDistance = finiteNumberFromArgument(options.pivotDistance, "--pivot-distance");
        cam.armLength = finiteNumberFromArgument(options.armLength, "--arm-length");
    }
    cam.turn = options.turn == "ccw" ? COUNTER_CLOCKWISE : CLOCKWISE;
    cam.maxPressureAngleDeg = finiteNumberFromArgument(options.maxPressureAngle, "--max-pressure-angle");
    cam.running = runningFromOptions(options.running, cam.follower);
    if (const std::optional<DesignFault> fault = designFault(cam))
        throw CLI::ValidationError(optionFor(*fault, request),
                                   (fault->segment >= 0 && !request.shorthand ? segmentWord(fault->field) + " " : "") +
                                       fault->message);
    return request;
}

} // namespace

void addCamOptions(CLI::App& command, const std::function<void(const CamRequest&)>& run)
{
    auto options = std::make_shared<CamOptions>();
    command.add_option("LAW", options->law, "the one-law form: law " + lawArgumentHelp());
    addPointsOption(command, options->points);
    command.add_option("--segment", options->segments,
                       "KIND,ANGLE[,LIFT,LAW[,TA,SA,TB,SB]], repeated, in order from theta = 0: KIND rise, dwell or "
                       "return; ANGLE in degrees; LIFT in mm (degrees of arm swing for the oscillating follower); "
                       "LAW a number or name, law 7 followed by its points. The rest of the turn is a dwell at zero "
                       "lift; the program must end at zero lift")
        ->type_name("SEGMENT")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->allow_extra_args(false);
    const struct { const char* name; std::string* text; const char* type; const char* help; } numbers[] = {
        {"--base-radius", &options->baseRadius, "R0", "R0: the cam's base circle, mm"},
        {"--lift", &options->lift, "H", "H: the follower's stroke, mm (one-law form)"},
        {"--rise", &options->rise, "B1", "B1: cam angle of the rise, degrees (one-law form)"},
        {"--dwell", &options->dwell, "D1", "D1: cam angle of the dwell at full lift, degrees, may be 0 (one-law form)"},
        {"--return", &options->back, "B2",
         "B2: cam angle of the return, degrees; the rest of the turn is the dwell at the base circle (one-law form)"},
        {"--offset", &options->offset, "E",
         "E: a translating follower's line of motion x = E, mm. For a clockwise cam a follower moved to the left of "
         "the centre (E < 0) lowers the pressure angle during the rise and raises it during the return"},
        {"--pivot-distance", &options->pivotDistance, "D",
         "D: the oscillating arm's pivot stands at (D, 0), mm, either sign, not 0"},
        {"--arm-length", &options->armLength, "L", "L: the oscillating arm's length, pivot to roller centre, mm"},
        {"--max-pressure-angle", &options->maxPressureAngle, "DEG",
         "the pressure angle above which the check warns, 1 to 89 degrees"},
    };
    for (const auto& option : numbers)
        command.add_option(option.name, *option.text, option.help)->type_name(option.type)->capture_default_str();
    command.add_option("--follower", options->follower, "knife, roller, flat or oscillating-roller")
        ->type_name("KIND")
        ->capture_default_str()
        ->check(CLI::IsMember({"knife", "roller", "flat", "oscillating-roller"}));
    command.add_option("--roller-radius", options->rollerRadius,
                       "RF: the roller's radius, mm (" + formatNumber(DEFAULT_ROLLER_RADIUS) + " unless given)")
        ->type_name("RF");
    command.add_option("--turn", options->turn, "the cam's turning sense, cw or ccw (the mirror image of cw)")
        ->type_name("SENSE")
        ->capture_default_str()
        ->check(CLI::IsMember({"cw", "ccw"}));
    command.add_option("--design", options->design,
                       "read the whole cam from FILE.json: the design object of a --json report, or the report")
        ->type_name("FILE.json");
    command.add_option("--per-degree", options->perDegree,
                       "K: table rows and profile points per degree, 1 to " + std::to_string(MAX_PER_DEGREE))
        ->type_name("K")
        ->capture_default_str();
    command.add_flag("--json", options->json, "print the check as one JSON object");
    command.add_option("--table", options->table,
                       "write theta_deg,s,pressure_angle_deg,pitch_curvature,x,y for theta = j / K to FILE.csv")
        ->type_name("FILE.csv");
    command.add_option("--profile", options->profile,
                       "write the working contour, base circle and centre to FILE.dxf or FILE.svg (mm)")
        ->type_name("FILE");
    addRunningOptions(command, options->running);
    command.add_option("--plot", options->plot,
                       "draw the whole turn to FILE.svg: lift and its derivatives (v, a, j with --speed), pressure "
                       "angle, contour radius, and with --mass the contact force and camshaft torque")
        ->type_name("FILE.svg");
    CLI::App* self = &command;
    command.callback([self, options, run] { run(requestFromOptions(*self, *options)); });
}
