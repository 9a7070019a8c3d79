// Writing and reading the design object. A key whose value is null counts as absent; absent keys take the
// command line's defaults; the design's own rules are camdesign's, reported under the key that set the field.
#include "camprofile/design_file.h"

#include <cmath>
#include <fstream>
#include <set>

#include <CLI/CLI.hpp>

#include "camdesign/design_rules.h"
#include "camprofile/arguments.h"
#include "camprofile/cam_options.h"
#include "camprofile/running_options.h"

namespace {

using Json = nlohmann::json;

const char* const FOLLOWER_NAMES[] = {"knife", "roller", "flat", "oscillating-roller"};
const char* const KIND_NAMES[] = {"rise", "dwell", "return"};
const std::set<std::string> DESIGN_KEYS = {"segments", "base_radius", "follower", "roller_radius", "offset",
                                           "pivot_distance", "arm_length", "turn", "max_pressure_angle_limit_deg",
                                           "running"};
const std::set<std::string> SEGMENT_KEYS = {"kind", "angle_deg", "lift", "law", "law_name", "points"};

[[noreturn]] void refuse(const std::string& key, const std::string& message)
{
    throw CLI::ValidationError("--design", "key '" + key + "' " + message);
}

void requireKnownKeys(const Json& object, const std::set<std::string>& keys, const std::string& where)
{
    if (!object.is_object())
        refuse(where.empty() ? "design" : where, "must be an object");
    for (const auto& item : object.items())
        if (!keys.count(item.key()))
            refuse(where + item.key(), "is not a key of the design");
}

bool present(const Json& object, const char* key) { return object.contains(key) && !object[key].is_null(); }

double numberAt(const Json& object, const char* key, const std::string& name, double fallback)
{
    if (!present(object, key))
        return fallback;
    // Integers and reals; JSON holds no nan or inf.
    if (!object[key].is_number())
        refuse(name, "must be a number");
    return object[key].get<double>();
}

std::string textAt(const Json& object, const char* key, const std::string& name, const char* const* choices,
                   int count, const std::string& fallback)
{
    if (!present(object, key))
        return fallback;
    for (int k = 0; k < count; k++)
        if (object[key].is_string() && object[key].get<std::string>() == choices[k])
            return choices[k];
    std::string list;
    for (int k = 0; k < count; k++)
        list += std::string(list.empty() ? "" : ", ") + choices[k];
    refuse(name, "must be one of " + list);
}

int indexOf(const char* const* names, int count, const std::string& name)
{
    for (int k = 0; k < count; k++)
        if (name == names[k])
            return k;
    return 0;
}

int lawAt(const Json& segment, const std::string& where)
{
    const Json& law = segment["law"];
    int number = -1;
    if (law.is_number_integer() && law.get<long long>() >= 0 && law.get<long long>() < LAW_COUNT)
        number = static_cast<int>(law.get<long long>());
    else if (law.is_string())
        for (int k = 0; k < LAW_COUNT; k++)
            if (law.get<std::string>() == LAW_ARGUMENT_NAMES[k])
                number = k;
    if (number < 0)
        refuse(where + "law", "must be a law 0.." + std::to_string(LAW_COUNT - 1) + " or its name");
    if (present(segment, "law_name") &&
        !(segment["law_name"].is_string() && segment["law_name"].get<std::string>() == LAW_ARGUMENT_NAMES[number]))
        refuse(where + "law_name", std::string("must be the name of law ") + std::to_string(number) + ", " +
                                       LAW_ARGUMENT_NAMES[number]);
    return number;
}

MotionSegment segmentFrom(const Json& object, const std::string& where)
{
    requireKnownKeys(object, SEGMENT_KEYS, where);
    if (!present(object, "kind"))
        refuse(where + "kind", "is missing: rise, dwell or return");
    const std::string kind = textAt(object, "kind", where + "kind", KIND_NAMES, 3, "");
    MotionSegment segment = {static_cast<SegmentKind>(indexOf(KIND_NAMES, 3, kind)), 0, 0, 0, {0, 0, 0, 0}};
    if (!present(object, "angle_deg"))
        refuse(where + "angle_deg", "is missing");
    segment.angleDeg = numberAt(object, "angle_deg", where + "angle_deg", 0);
    if (segment.kind == DWELL_SEGMENT) {
        for (const char* key : {"law", "law_name", "points"})
            if (present(object, key))
                refuse(where + key, "does not belong to a dwell");
        if (numberAt(object, "lift", where + "lift", 0) != 0)
            refuse(where + "lift", "of a dwell must be 0 or null");
        return segment;
    }
    for (const char* key : {"lift", "law"})
        if (!present(object, key))
            refuse(where + key, "is missing");
    segment.lift = numberAt(object, "lift", where + "lift", 0);
    segment.law = lawAt(object, where);
    if ((segment.law == 7) != present(object, "points"))
        refuse(where + "points", segment.law == 7 ? "are needed by law 7: [TA, SA, TB, SB]" : "belong to law 7 only");
    if (segment.law == 7) {
        const Json& points = object["points"];
        if (!points.is_array() || points.size() != 4 ||
            !std::all_of(points.begin(), points.end(), [](const Json& v) { return v.is_number(); }))
            refuse(where + "points", "must be an array of four numbers [TA, SA, TB, SB]");
        segment.points = {points[0].get<double>(), points[1].get<double>(), points[2].get<double>(),
                          points[3].get<double>()};
    }
    return segment;
}

std::string keyOf(const DesignFault& fault)
{
    return fault.segment >= 0 ? "segments[" + std::to_string(fault.segment) + "]." + fault.field : fault.field;
}

} // namespace

nlohmann::ordered_json designJson(const CamDesign& cam)
{
    nlohmann::ordered_json design, segments = nlohmann::ordered_json::array();
    for (const MotionSegment& segment : cam.program.segments) {
        nlohmann::ordered_json entry;
        const bool moving = segment.kind != DWELL_SEGMENT;
        entry["kind"] = KIND_NAMES[segment.kind];
        entry["angle_deg"] = segment.angleDeg;
        entry["lift"] = moving ? Json(segment.lift) : Json();
        entry["law"] = moving ? Json(segment.law) : Json();
        entry["law_name"] = moving ? Json(LAW_ARGUMENT_NAMES[segment.law]) : Json();
        entry["points"] = moving && segment.law == 7 ? Json::array({segment.points.Ta, segment.points.Sa,
                                                                    segment.points.Tb, segment.points.Sb})
                                                     : Json();
        segments.push_back(entry);
    }
    const bool oscillating = cam.follower == OSCILLATING_ROLLER_FOLLOWER;
    design["segments"] = segments;
    design["base_radius"] = cam.baseRadius;
    design["follower"] = FOLLOWER_NAMES[cam.follower];
    design["roller_radius"] = rollerKind(cam.follower) ? Json(cam.rollerRadius) : Json();
    design["offset"] = oscillating ? Json() : Json(cam.offset);
    design["pivot_distance"] = oscillating ? Json(cam.pivotDistance) : Json();
    design["arm_length"] = oscillating ? Json(cam.armLength) : Json();
    design["turn"] = cam.turn == CLOCKWISE ? "cw" : "ccw";
    design["max_pressure_angle_limit_deg"] = cam.maxPressureAngleDeg;
    design["running"] = runningJson(cam.running);
    return design;
}

CamDesign designFromFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw CLI::ValidationError("--design", "cannot read '" + path + "'");
    Json whole;
    try {
        whole = Json::parse(file);
    } catch (const Json::exception& e) {
        throw CLI::ValidationError("--design", "'" + path + "' is not JSON: " + e.what());
    }
    const bool report = whole.is_object() && whole.contains("design") && whole["design"].is_object();
    const Json& object = report ? whole["design"] : whole;
    requireKnownKeys(object, DESIGN_KEYS, "");

    CamDesign cam;
    if (!present(object, "segments") || !object["segments"].is_array() || object["segments"].empty())
        refuse("segments", "must be a non-empty array of segments");
    for (size_t k = 0; k < object["segments"].size(); k++)
        cam.program.segments.push_back(segmentFrom(object["segments"][k], "segments[" + std::to_string(k) + "]."));
    cam.baseRadius = numberAt(object, "base_radius", "base_radius", cam.baseRadius);
    cam.follower = static_cast<FollowerKind>(
        indexOf(FOLLOWER_NAMES, 4, textAt(object, "follower", "follower", FOLLOWER_NAMES, 4, "knife")));
    const bool roller = rollerKind(cam.follower), oscillating = cam.follower == OSCILLATING_ROLLER_FOLLOWER;
    const struct { const char* key; bool belongs; } keys[] = {
        {"roller_radius", roller}, {"offset", !oscillating}, {"pivot_distance", oscillating},
        {"arm_length", oscillating}};
    for (const auto& key : keys) {
        if (!key.belongs && present(object, key.key))
            refuse(key.key, "does not belong to the " + std::string(FOLLOWER_NAMES[cam.follower]) + " follower");
        if (key.belongs && oscillating && !present(object, key.key) && key.key != std::string("roller_radius"))
            refuse(key.key, "is needed by the oscillating-roller follower");
    }
    cam.rollerRadius = roller ? numberAt(object, "roller_radius", "roller_radius", DEFAULT_ROLLER_RADIUS) : 0;
    cam.offset = numberAt(object, "offset", "offset", 0);
    cam.pivotDistance = numberAt(object, "pivot_distance", "pivot_distance", 0);
    cam.armLength = numberAt(object, "arm_length", "arm_length", 0);
    const char* const turns[] = {"cw", "ccw"};
    cam.turn = textAt(object, "turn", "turn", turns, 2, "cw") == "ccw" ? COUNTER_CLOCKWISE : CLOCKWISE;
    cam.maxPressureAngleDeg =
        numberAt(object, "max_pressure_angle_limit_deg", "max_pressure_angle_limit_deg", cam.maxPressureAngleDeg);
    cam.running = runningFromJson(present(object, "running") ? object["running"] : Json(), cam.follower, refuse);
    if (const std::optional<DesignFault> fault = designFault(cam))
        refuse(keyOf(*fault), fault->message);
    return cam;
}
