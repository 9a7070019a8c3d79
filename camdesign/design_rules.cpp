// The rules of a cam design, checked in the order a reader fixes them: the numbers alone, then the program,
// then the follower on the cam.
#include "camdesign/design_rules.h"

#include <charconv>
#include <cmath>

#include "camdesign/cam_geometry.h"

namespace {

const double DEG_PER_RAD = 180 / PI;

// Shortest round-trip text, without an exponent for the everyday sizes (100000, not 1e+05).
std::string number(double value)
{
    char text[64];
    const double size = std::fabs(value);
    const bool plain = value == 0 || (size >= 1e-6 && size < 1e15);
    const auto format = plain ? std::chars_format::fixed : std::chars_format::general;
    return std::string(text, std::to_chars(text, text + sizeof text, value, format).ptr);
}

std::optional<DesignFault> fault(const std::string& field, int segment, const std::string& message)
{
    return DesignFault{field, segment, message};
}

bool lengthInRange(double value) { return value >= MIN_LENGTH_MM && value <= MAX_LENGTH_MM; }

std::string lengthRange() { return "must be from " + number(MIN_LENGTH_MM) + " to " + number(MAX_LENGTH_MM) + " mm"; }

std::optional<DesignFault> lengthFault(const std::string& field, double value, bool signedLength)
{
    const double size = signedLength ? std::fabs(value) : value;
    if (lengthInRange(size))
        return std::nullopt;
    return fault(field, -1, (signedLength ? "must be 0 or, by absolute value, from " + number(MIN_LENGTH_MM) +
                                                " to " + number(MAX_LENGTH_MM) + " mm"
                                          : lengthRange()) + ", got " + number(value));
}

std::optional<DesignFault> segmentFault(const CamDesign& cam, int k)
{
    const MotionSegment& segment = cam.program.segments[k];
    const bool swing = cam.follower == OSCILLATING_ROLLER_FOLLOWER;
    if (!(segment.angleDeg >= MIN_SEGMENT_DEG && segment.angleDeg <= 360 + TURN_TOLERANCE_DEG))
        return fault("angle_deg", k, "must be from " + number(MIN_SEGMENT_DEG) + "° to 360°, got " +
                                         number(segment.angleDeg));
    if (segment.kind == DWELL_SEGMENT)
        return std::nullopt;
    if (swing && !(segment.lift >= MIN_SWING_DEG && segment.lift <= MAX_SWING_DEG))
        return fault("lift", k, "an arm swing must be from " + number(MIN_SWING_DEG) + "° to " +
                                    number(MAX_SWING_DEG) + "°, got " + number(segment.lift));
    if (!swing && !lengthInRange(segment.lift))
        return fault("lift", k, lengthRange() + ", got " + number(segment.lift));
    if (segment.law < 0 || segment.law >= LAW_COUNT)
        return fault("law", k, "must be a law from 0 to " + std::to_string(LAW_COUNT - 1));
    if (segment.law == 7 && !twoPointsKeepRising(segment.points))
        return fault("points", k, "must keep law 7 rising (0 < TA < TB < 1, S within 0..1 and V >= 0 over the "
                                  "whole law), got TA = " + number(segment.points.Ta) + ", SA = " +
                                      number(segment.points.Sa) + ", TB = " + number(segment.points.Tb) +
                                      ", SB = " + number(segment.points.Sb));
    return std::nullopt;
}

std::optional<DesignFault> programFault(const CamDesign& cam)
{
    const MotionProgram& program = cam.program;
    const int count = static_cast<int>(program.segments.size());
    bool rises = false;
    for (int k = 0; k < count; k++) {
        if (const std::optional<DesignFault> found = segmentFault(cam, k))
            return found;
        rises = rises || program.segments[k].kind == RISE_SEGMENT;
    }
    if (!rises)
        return fault("segments", -1, "need at least one rise");
    const double total = programAngleDeg(program);
    if (total > 360 + TURN_TOLERANCE_DEG)
        return fault("segments", -1, "add up to " + number(total) + "°, more than one turn (360°)");
    // The lift before and after each segment; a return may end a rounding below zero, and then ends at zero.
    const double tolerance = ENDS_AT_ZERO_TOLERANCE * programLargestLift(program);
    double level = 0;
    for (int k = 0; k < count; k++) {
        const MotionSegment& segment = program.segments[k];
        level += segment.kind == RISE_SEGMENT ? segment.lift : segment.kind == RETURN_SEGMENT ? -segment.lift : 0;
        if (level < -tolerance)
            return fault("lift", k, "takes the follower below zero lift (to " + number(level) + ")");
        if (cam.follower == OSCILLATING_ROLLER_FOLLOWER && level > MAX_SWING_DEG)
            return fault("lift", k, "swings the arm " + number(level) + "° in all, more than " +
                                        number(MAX_SWING_DEG) + "°");
    }
    if (std::fabs(level) > tolerance)
        return fault("segments", -1, "end at a lift of " + number(level) + ", not back at zero: the returns must "
                                     "undo the rises");
    return std::nullopt;
}

std::optional<DesignFault> followerFault(const CamDesign& cam)
{
    const bool roller = rollerKind(cam.follower);
    if (roller)
        if (const std::optional<DesignFault> found = lengthFault("roller_radius", cam.rollerRadius, false))
            return found;
    if (cam.follower != OSCILLATING_ROLLER_FOLLOWER) {
        if (cam.offset != 0)
            if (const std::optional<DesignFault> found = lengthFault("offset", cam.offset, true))
                return found;
        // The knife or roller must stand on the base circle: |e| < rp. A flat face touches it anywhere.
        if (cam.follower != FLAT_FOLLOWER && std::fabs(cam.offset) >= pitchRadius(cam))
            return fault("offset", -1, "must lie strictly within ±" + number(pitchRadius(cam)) + " mm (base radius" +
                                           (roller ? " + roller radius" : "") + "), got " + number(cam.offset));
        return std::nullopt;
    }
    if (cam.offset != 0)
        return fault("offset", -1, "belongs to the translating followers, not to the oscillating roller");
    if (const std::optional<DesignFault> found = lengthFault("pivot_distance", cam.pivotDistance, true))
        return found;
    if (cam.pivotDistance == 0)
        return fault("pivot_distance", -1, "must not be 0");
    if (const std::optional<DesignFault> found = lengthFault("arm_length", cam.armLength, false))
        return found;
    const double gamma = armAngleAtRest(cam), rp = pitchRadius(cam);
    if (std::isnan(gamma))
        return fault("pivot_distance", -1, "leaves the roller no place at zero lift: |D| must lie strictly between "
                                           "|RP - L| = " + number(std::fabs(rp - cam.armLength)) + " and RP + L = " +
                                               number(rp + cam.armLength) + " mm (RP = base + roller radius), got " +
                                               number(cam.pivotDistance));
    const double highest = gamma * DEG_PER_RAD + programLargestLift(cam.program);
    if (highest >= 180)
        return fault("arm_length", -1, "the arm starts " + number(gamma * DEG_PER_RAD) + "° from the line to the cam "
                                       "centre and would swing past 180° (to " + number(highest) + "°)");
    return std::nullopt;
}

} // namespace

std::optional<DesignFault> designFault(const CamDesign& cam)
{
    if (const std::optional<DesignFault> found = lengthFault("base_radius", cam.baseRadius, false))
        return found;
    if (!(cam.maxPressureAngleDeg >= MIN_PRESSURE_LIMIT_DEG && cam.maxPressureAngleDeg <= MAX_PRESSURE_LIMIT_DEG))
        return fault("max_pressure_angle_limit_deg", -1, "must be from " + number(MIN_PRESSURE_LIMIT_DEG) + "° to " +
                                                       number(MAX_PRESSURE_LIMIT_DEG) + "°, got " +
                                                       number(cam.maxPressureAngleDeg));
    if (const std::optional<DesignFault> found = programFault(cam))
        return found;
    return followerFault(cam);
}
