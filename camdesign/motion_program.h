// A cam's motion program: rises, dwells and returns in order from theta = 0, each with its own law, and the lift
// over the turn with its derivatives. Angles in degrees; lift in mm (degrees of arm swing for an oscillating
// follower); derivatives per radian of cam angle.
#pragma once

#include <vector>

#include "curves/motion_laws.h"

enum SegmentKind { RISE_SEGMENT, DWELL_SEGMENT, RETURN_SEGMENT };

struct MotionSegment {
    SegmentKind kind;
    double angleDeg;        // > 0, cam angle the segment takes
    double lift;            // mm (degrees of arm swing for an oscillating follower); 0 for a dwell
    int law;                // 0..LAW_COUNT-1; unused for a dwell
    TwoPoints points;       // law 7's points
};

// From theta = 0, in order; the rest of the turn (if the angles add up to less than 360) is a dwell at zero lift.
struct MotionProgram {
    std::vector<MotionSegment> segments;
};

// Lift and its derivatives by the cam angle in RADIANS: s (mm or deg), ds (per rad), dds (per rad^2), ddds (per rad^3).
struct ProgramLift {
    double s, ds, dds, ddds;
};

// A return plays its law backwards. A return that ends within ENDS_AT_ZERO_TOLERANCE times the largest lift of
// zero ends exactly at zero. A boundary belongs to the earlier segment.
ProgramLift programLiftAt(const MotionProgram& program, double thetaDeg);

// Rises and returns that cancel within this share of the largest lift bring the follower back to zero.
constexpr double ENDS_AT_ZERO_TOLERANCE = 1e-9;

// A segment's bounds and the lift before and after it; index segments.size() is the rest of the turn.
double segmentStartDeg(const MotionProgram& program, int index);
double segmentEndDeg(const MotionProgram& program, int index);
double segmentStartLift(const MotionProgram& program, int index);
double segmentEndLift(const MotionProgram& program, int index);
// Sum of the segments' angles, degrees.
double programAngleDeg(const MotionProgram& program);
// The highest lift the follower reaches (mm or degrees).
double programLargestLift(const MotionProgram& program);
// True when the segments leave a dwell at zero lift to the end of the turn (more than 1e-9 degree of it).
bool programHasRest(const MotionProgram& program);

// Segment boundaries and law joints inside segments, ascending, in degrees: where s'' may jump.
std::vector<double> programBreakAngles(const MotionProgram& program);
// Places where s'' jumps (infinite jerk), in degrees; a jump where the rest of the turn meets theta = 0 is at 0.
std::vector<double> infiniteJerkAngles(const MotionProgram& program);
