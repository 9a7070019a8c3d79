// The lift of a motion program over the turn: each segment's law scaled to its angle and lift, one after another.
// Angles in degrees outside, radians in the derivatives; lift in mm (or degrees of arm swing).
#include "camdesign/motion_program.h"

#include <algorithm>
#include <cmath>

namespace {

const double RAD_PER_DEG = PI / 180;
// Less rest than this is none: the angles may add up to 360 within a rounding.
const double REST_TOLERANCE_DEG = 1e-9;
// An acceleration jump smaller than this share of the program's scale h / beta^2 is rounding, not a jump.
const double JUMP_TOLERANCE = 1e-9;

// Where a segment lies and the lift it starts from and ends at.
struct SegmentPlace {
    double startDeg, endDeg;
    double startLift, endLift;
};

double largestLift(const MotionProgram& program)
{
    double level = 0, highest = 0;
    for (const MotionSegment& segment : program.segments) {
        level += segment.kind == RISE_SEGMENT ? segment.lift : segment.kind == RETURN_SEGMENT ? -segment.lift : 0;
        highest = std::max(highest, level);
    }
    return highest;
}

// Walks the segments up to `index`, or up to the first that holds thetaDeg when it is given.
SegmentPlace walk(const MotionProgram& program, int& index, const double* thetaDeg)
{
    const double snap = ENDS_AT_ZERO_TOLERANCE * largestLift(program);
    SegmentPlace place = {0, 0, 0, 0};
    const int count = static_cast<int>(program.segments.size());
    for (int k = 0; k < count; k++) {
        const MotionSegment& segment = program.segments[k];
        place.endDeg = place.startDeg + segment.angleDeg;
        place.endLift = place.startLift + (segment.kind == RISE_SEGMENT     ? segment.lift
                                           : segment.kind == RETURN_SEGMENT ? -segment.lift
                                                                            : 0);
        if (segment.kind == RETURN_SEGMENT && std::fabs(place.endLift) <= snap)
            place.endLift = 0;
        if (thetaDeg ? *thetaDeg <= place.endDeg : k == index) {
            index = k;
            return place;
        }
        place.startDeg = place.endDeg;
        place.startLift = place.endLift;
    }
    index = count;
    place.endDeg = std::max(place.startDeg, 360.0);
    place.endLift = place.startLift;
    return place;
}

SegmentPlace placeOf(const MotionProgram& program, int index) { return walk(program, index, nullptr); }

// The law's normalized time at theta: u over a rise, 1 - u over a return (its law played backwards).
double lawTime(const MotionSegment& segment, const SegmentPlace& place, double thetaDeg)
{
    // Clamped: the last bit of a division can carry T just outside 0..1 at a segment's end.
    const double u = std::clamp((thetaDeg - place.startDeg) / segment.angleDeg, 0.0, 1.0);
    return segment.kind == RISE_SEGMENT ? u : 1 - u;
}

ProgramLift liftIn(const MotionSegment& segment, const SegmentPlace& place, const LawSample& law)
{
    if (segment.kind == DWELL_SEGMENT)
        return {place.startLift, 0, 0, 0};
    const double beta = segment.angleDeg * RAD_PER_DEG;
    if (segment.kind == RISE_SEGMENT) {
        const double h = segment.lift;
        return {place.startLift + h * law.S, h * law.V / beta, h * law.A / (beta * beta),
                h * law.J / (beta * beta * beta)};
    }
    // s = end + h S(1 - u): the velocity and jerk change sign, the acceleration does not.
    const double h = place.startLift - place.endLift;
    return {place.endLift + h * law.S, -h * law.V / beta, h * law.A / (beta * beta),
            -h * law.J / (beta * beta * beta)};
}

// s'' just inside a segment at its start (atStart) or its end, as a law's one-sided value there.
double endAcceleration(const MotionProgram& program, int index, bool atStart)
{
    if (index >= static_cast<int>(program.segments.size()))
        return 0;
    const MotionSegment& segment = program.segments[index];
    if (segment.kind == DWELL_SEGMENT)
        return 0;
    // A rise starts at T = 0; a return starts at T = 1 and runs back to 0.
    const bool lawStart = atStart == (segment.kind == RISE_SEGMENT);
    const LawSample law = evaluateLaw(segment.law, lawStart ? 0.0 : 1.0, segment.points);
    return liftIn(segment, placeOf(program, index), law).dds;
}

// The program's scale of s'': the largest h / beta^2 of its rises and returns.
double accelerationScale(const MotionProgram& program)
{
    double scale = 0;
    for (const MotionSegment& segment : program.segments) {
        const double beta = segment.angleDeg * RAD_PER_DEG;
        if (segment.kind != DWELL_SEGMENT)
            scale = std::max(scale, segment.lift / (beta * beta));
    }
    return scale;
}

std::vector<double> lawJointsOf(const MotionSegment& segment)
{
    double joints[MAX_LAW_JOINTS];
    const int count = segment.kind == DWELL_SEGMENT ? 0 : lawJoints(segment.law, segment.points, joints);
    return std::vector<double>(joints, joints + count);
}

// A joint at law time T inside a segment, as a cam angle.
double jointAngle(const MotionSegment& segment, const SegmentPlace& place, double T)
{
    return place.startDeg + (segment.kind == RISE_SEGMENT ? T : 1 - T) * segment.angleDeg;
}

} // namespace

ProgramLift programLiftAt(const MotionProgram& program, double thetaDeg)
{
    int index = 0;
    const SegmentPlace place = walk(program, index, &thetaDeg);
    if (index == static_cast<int>(program.segments.size()))
        return {place.startLift, 0, 0, 0};
    const MotionSegment& segment = program.segments[index];
    if (segment.kind == DWELL_SEGMENT)
        return {place.startLift, 0, 0, 0};
    return liftIn(segment, place, evaluateLaw(segment.law, lawTime(segment, place, thetaDeg), segment.points));
}

double segmentStartDeg(const MotionProgram& program, int index) { return placeOf(program, index).startDeg; }
double segmentEndDeg(const MotionProgram& program, int index) { return placeOf(program, index).endDeg; }
double segmentStartLift(const MotionProgram& program, int index) { return placeOf(program, index).startLift; }
double segmentEndLift(const MotionProgram& program, int index) { return placeOf(program, index).endLift; }

double programAngleDeg(const MotionProgram& program)
{
    return placeOf(program, static_cast<int>(program.segments.size())).startDeg;
}

double programLargestLift(const MotionProgram& program) { return largestLift(program); }

bool programHasRest(const MotionProgram& program) { return programAngleDeg(program) < 360 - REST_TOLERANCE_DEG; }

std::vector<double> programBreakAngles(const MotionProgram& program)
{
    std::vector<double> angles;
    const int count = static_cast<int>(program.segments.size());
    for (int k = 0; k < count; k++) {
        const SegmentPlace place = placeOf(program, k);
        angles.push_back(place.startDeg);
        angles.push_back(place.endDeg);
        for (double T : lawJointsOf(program.segments[k]))
            angles.push_back(jointAngle(program.segments[k], place, T));
    }
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    return angles;
}

std::vector<double> infiniteJerkAngles(const MotionProgram& program)
{
    const double tolerance = JUMP_TOLERANCE * accelerationScale(program);
    const int count = static_cast<int>(program.segments.size());
    std::vector<double> angles;
    // Between each segment and the one before it; the first meets the rest of the turn, or the last segment.
    for (int k = 0; k < count; k++) {
        const int before = k > 0 ? k - 1 : programHasRest(program) ? count : count - 1;
        const double jump = endAcceleration(program, k, true) - endAcceleration(program, before, false);
        if (std::fabs(jump) > tolerance)
            angles.push_back(segmentStartDeg(program, k));
    }
    if (count > 0 && programHasRest(program) && std::fabs(endAcceleration(program, count - 1, false)) > tolerance)
        angles.push_back(segmentEndDeg(program, count - 1));
    // Inside a law, at its own joints.
    for (int k = 0; k < count; k++) {
        const MotionSegment& segment = program.segments[k];
        const SegmentPlace place = placeOf(program, k);
        for (double T : lawJointsOf(segment)) {
            const double left = evaluateLaw(segment.law, T, segment.points).A;
            const double right = evaluateLaw(segment.law, std::nextafter(T, 2.0), segment.points).A;
            const double beta = segment.angleDeg * RAD_PER_DEG;
            if (std::fabs(right - left) * segment.lift / (beta * beta) > tolerance)
                angles.push_back(jointAngle(segment, place, T));
        }
    }
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    return angles;
}
