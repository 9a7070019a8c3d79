// The cam check for a reader (text) and for a program (JSON, written with nlohmann-json, keys in a fixed order).
// Lengths in mm, angles in degrees.
#include "camprofile/cam_report.h"
#include "camprofile/shop_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "camdesign/number_text.h"
#include "camprofile/arguments.h"
#include "camprofile/design_file.h"
#include "camprofile/dynamics_report.h"
#include "curves/law_names.h"

namespace {

using Json = nlohmann::ordered_json;

const char* const FOLLOWER_KEYS[] = {"knife", "roller", "flat", "oscillating-roller"};
const char* const KIND_WORDS[] = {"rise", "dwell", "return"};

std::string stretchList(const std::vector<AngleStretch>& stretches)
{
    if (stretches.empty())
        return "none";
    std::string list;
    for (const AngleStretch& s : stretches)
        list += (list.empty() ? "" : ", ") + fixedText(s.fromDeg, 2) + "° to " + fixedText(s.toDeg, 2) + "°";
    return list;
}

Json stretchArray(const std::vector<AngleStretch>& stretches)
{
    Json list = Json::array();
    for (const AngleStretch& s : stretches)
        list.push_back({s.fromDeg, s.toDeg});
    return list;
}

std::string followerText(const CamDesign& cam)
{
    switch (cam.follower) {
    case ROLLER_FOLLOWER:
        return "roller follower of radius " + fixedText(cam.rollerRadius, 3) + " mm";
    case FLAT_FOLLOWER:
        return "flat-faced follower";
    case OSCILLATING_ROLLER_FOLLOWER:
        return "oscillating roller follower of radius " + fixedText(cam.rollerRadius, 3) + " mm, pivot at (" +
               fixedText(cam.pivotDistance, 3) + ", 0) mm, arm " + fixedText(cam.armLength, 3) + " mm";
    default:
        return "knife-edge follower";
    }
}

std::string segmentLines(const CamDesign& cam, const CamCheck& check)
{
    const MotionProgram& program = cam.program;
    const std::string unit = cam.follower == OSCILLATING_ROLLER_FOLLOWER ? "°" : " mm";
    std::string text;
    for (size_t k = 0; k < program.segments.size(); k++) {
        const MotionSegment& segment = program.segments[k];
        const int index = static_cast<int>(k);
        char head[96];
        std::snprintf(head, sizeof head, "  %zu %-6s %7.2f° to %7.2f°", k + 1, KIND_WORDS[segment.kind],
                      segmentStartDeg(program, index), segmentEndDeg(program, index));
        text += head;
        if (segment.kind != DWELL_SEGMENT)
            text += ", lift " + fixedText(segment.lift, 3) + unit + ", law " + std::to_string(segment.law) + " (" +
                    lawName(segment.law) + ")";
        else
            text += ", at " + fixedText(segmentStartLift(program, index), 3) + unit;
        if (cam.follower != FLAT_FOLLOWER)
            text += ", pressure angle up to " + fixedText(check.segmentMaxPressureAngle[k].value, 3) + "° at " +
                    fixedText(check.segmentMaxPressureAngle[k].atDeg, 2) + "°";
        text += '\n';
    }
    if (programHasRest(program))
        text += "  rest of the turn from " + fixedText(programAngleDeg(program), 2) + "°: dwell at zero lift\n";
    return text;
}

std::string flatLines(const CamCheck& check)
{
    const double symmetric = 2 * std::max(std::fabs(check.contactMin.value), std::fabs(check.contactMax.value));
    return "Smallest radius of curvature of the contour (r0 + s + s''): " + fixedText(check.minContourRadius.value, 3) +
           " mm at " + fixedText(check.minContourRadius.atDeg, 2) + "°\nCusps: " + stretchList(check.cusps) +
           "\nContact point from the stem's axis: " + fixedText(check.contactMin.value, 3) + " mm (at " +
           fixedText(check.contactMin.atDeg, 2) + "°) to " + fixedText(check.contactMax.value, 3) + " mm (at " +
           fixedText(check.contactMax.atDeg, 2) + "°): face width " + fixedText(check.faceWidth, 3) +
           " mm; a face symmetric about its stem needs " + fixedText(symmetric, 3) + " mm\n";
}

Json segmentsJson(const CamDesign& cam, const CamCheck& check)
{
    Json list = Json::array();
    for (size_t k = 0; k < cam.program.segments.size(); k++) {
        const MotionSegment& segment = cam.program.segments[k];
        const int index = static_cast<int>(k);
        const bool moving = segment.kind != DWELL_SEGMENT;
        Json entry;
        entry["kind"] = KIND_WORDS[segment.kind];
        entry["from_deg"] = segmentStartDeg(cam.program, index);
        entry["to_deg"] = segmentEndDeg(cam.program, index);
        entry["lift"] = moving ? segment.lift : 0.0;
        entry["law"] = moving ? Json(segment.law) : Json();
        entry["law_name"] = moving ? Json(lawName(segment.law)) : Json();
        entry["points"] = moving && segment.law == 7 ? Json::array({segment.points.Ta, segment.points.Sa,
                                                                    segment.points.Tb, segment.points.Sb})
                                                     : Json();
        entry["max_pressure_angle_deg"] = check.segmentMaxPressureAngle[k].value;
        entry["max_pressure_angle_at_deg"] = check.segmentMaxPressureAngle[k].atDeg;
        list.push_back(entry);
    }
    return list;
}

Json valueIf(bool applies, double value) { return applies ? Json(value) : Json(); }

} // namespace

CamFigures camFigures(const CamDesign& cam, int perDegree)
{
    CamFigures figures{checkCam(cam, perDegree), std::nullopt};
    if (cam.running) {
        figures.dynamics = camDynamics(cam, *cam.running, perDegree);
        const std::vector<std::string>& more = figures.dynamics->warnings;
        figures.check.warnings.insert(figures.check.warnings.end(), more.begin(), more.end());
    }
    return figures;
}

std::string camReportText(const CamRequest& request, const CamCheck& check,
                          const std::optional<CamDynamics>& dynamics)
{
    const CamDesign& cam = request.design;
    const bool oscillating = cam.follower == OSCILLATING_ROLLER_FOLLOWER;
    std::string text;
    if (request.shorthand) {
        const CamDimensions& d = *request.shorthand;
        text = "Cam for law " + std::to_string(d.law) + " (" + lawName(d.law) + "), " + followerText(cam) +
               "\n  base circle radius " + fixedText(cam.baseRadius, 3) + " mm, lift " + fixedText(d.lift, 3) +
               (oscillating ? "° of arm swing" : " mm, offset " + fixedText(cam.offset, 3) + " mm") + "\n  rise " +
               fixedText(d.riseDeg, 2) + "°, outer dwell " +
               fixedText(d.dwellDeg, 2) + "°, return " + fixedText(d.returnDeg, 2) + "°, inner dwell " +
               fixedText(std::max(0.0, 360 - d.riseDeg - d.dwellDeg - d.returnDeg), 2) + "°\n";
    } else {
        text = "Cam of " + std::to_string(cam.program.segments.size()) + " segments, " + followerText(cam) +
               "\n  base circle radius " + fixedText(cam.baseRadius, 3) + " mm, largest lift " +
               fixedText(programLargestLift(cam.program), 3) + (oscillating ? "° of arm swing" : " mm") +
               (oscillating ? "" : ", offset " + fixedText(cam.offset, 3) + " mm") + "\n" + segmentLines(cam, check);
    }
    text += std::string("  turning ") + (cam.turn == CLOCKWISE ? "clockwise" : "counter-clockwise") +
            ", pressure angle limit " + fixedText(cam.maxPressureAngleDeg, 2) + "°\n";
    if (cam.follower != FLAT_FOLLOWER)
        text += "Largest pressure angle: rise " + fixedText(check.riseMaxPressureAngleDeg, 3) + "° at " +
                fixedText(check.riseMaxPressureAngleAtDeg, 2) + "°, return " +
                fixedText(check.returnMaxPressureAngleDeg, 3) + "° at " +
                fixedText(check.returnMaxPressureAngleAtDeg, 2) + "°\nSmallest convex radius of the contour: " +
                fixedText(check.minConvexRadius, 3) + " mm at " + fixedText(check.minConvexRadiusAtDeg, 2) +
                "°\nConcave (pitch curve): " + stretchList(check.concave) + '\n';
    else
        text += "Pressure angle: 0° throughout (flat face)\n" + flatLines(check);
    if (rollerKind(cam.follower))
        text += "Undercut: " + stretchList(check.undercut) + '\n';
    if (const std::optional<AngleExtreme> concave = contourConcaveRadius(cam, check, request.perDegree))
        text += "Smallest concave radius of the contour: " + fixedText(concave->value, 3) + " mm at " +
                fixedText(concave->atDeg, 2) + "° (the largest cutter)\n";
    if (dynamics)
        text += dynamicsReportText(*cam.running, *dynamics);
    text += check.warnings.empty() ? "Warnings: none\n" : "Warnings:\n";
    for (const std::string& warning : check.warnings)
        text += "  " + warning + '\n';
    return text;
}

std::string camReportJson(const CamRequest& request, const CamCheck& check,
                          const std::optional<CamDynamics>& dynamics)
{
    const CamDesign& cam = request.design;
    const std::optional<CamDimensions>& d = request.shorthand;
    const bool flat = cam.follower == FLAT_FOLLOWER, oscillating = cam.follower == OSCILLATING_ROLLER_FOLLOWER;
    Json report;
    report["law"] = d ? Json(d->law) : Json();
    report["base_radius"] = cam.baseRadius;
    report["lift"] = programLargestLift(cam.program);
    report["rise_deg"] = d ? Json(d->riseDeg) : Json();
    report["dwell_deg"] = d ? Json(d->dwellDeg) : Json();
    report["return_deg"] = d ? Json(d->returnDeg) : Json();
    report["rest_deg"] = d ? Json(std::max(0.0, 360 - d->riseDeg - d->dwellDeg - d->returnDeg)) : Json();
    report["follower"] = FOLLOWER_KEYS[cam.follower];
    report["roller_radius"] = rollerKind(cam.follower) ? cam.rollerRadius : 0.0;
    report["offset"] = valueIf(!oscillating, cam.offset);
    report["pivot_distance"] = valueIf(oscillating, cam.pivotDistance);
    report["arm_length"] = valueIf(oscillating, cam.armLength);
    report["turn"] = cam.turn == CLOCKWISE ? "cw" : "ccw";
    report["max_pressure_angle_limit_deg"] = cam.maxPressureAngleDeg;
    report["segments"] = segmentsJson(cam, check);
    report["rise_max_pressure_angle_deg"] = check.riseMaxPressureAngleDeg;
    report["rise_max_pressure_angle_at_deg"] = check.riseMaxPressureAngleAtDeg;
    report["return_max_pressure_angle_deg"] = check.returnMaxPressureAngleDeg;
    report["return_max_pressure_angle_at_deg"] = check.returnMaxPressureAngleAtDeg;
    report["min_convex_radius"] = check.minConvexRadius;
    report["min_convex_radius_at_deg"] = check.minConvexRadiusAtDeg;
    report["concave"] = stretchArray(check.concave);
    report["undercut"] = stretchArray(check.undercut);
    const std::optional<AngleExtreme> concave = contourConcaveRadius(cam, check, request.perDegree);
    report["min_concave_radius"] = concave ? Json(concave->value) : Json();
    report["min_concave_radius_at_deg"] = concave ? Json(concave->atDeg) : Json();
    report["cusps"] = flat ? stretchArray(check.cusps) : Json();
    report["min_contour_radius"] = valueIf(flat, check.minContourRadius.value);
    report["min_contour_radius_at_deg"] = valueIf(flat, check.minContourRadius.atDeg);
    report["contact_min"] = valueIf(flat, check.contactMin.value);
    report["contact_min_at_deg"] = valueIf(flat, check.contactMin.atDeg);
    report["contact_max"] = valueIf(flat, check.contactMax.value);
    report["contact_max_at_deg"] = valueIf(flat, check.contactMax.atDeg);
    report["face_width"] = valueIf(flat, check.faceWidth);
    report["infinite_jerk_at_deg"] = check.infiniteJerkAngles;
    if (dynamics)
        report["dynamics"] = dynamicsJson(cam.running, dynamics);
    report["warnings"] = check.warnings;
    report["design"] = designJson(cam);
    return report.dump(2) + '\n';
}

bool checkFinite(const CamCheck& check)
{
    std::vector<double> values = {check.riseMaxPressureAngleDeg, check.riseMaxPressureAngleAtDeg,
                                  check.returnMaxPressureAngleDeg, check.returnMaxPressureAngleAtDeg,
                                  check.minConvexRadius, check.minConvexRadiusAtDeg, check.minContourRadius.value,
                                  check.contactMin.value, check.contactMax.value, check.faceWidth};
    for (const AngleExtreme& extreme : check.segmentMaxPressureAngle)
        values.push_back(extreme.value);
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}
