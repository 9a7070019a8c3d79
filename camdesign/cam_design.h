// Everything that defines a disk cam: its motion program, base circle, follower and turning sense; and the old
// one-law shorthand (rise, dwell, return, rest) that builds one. Lengths in mm, angles in degrees.
#pragma once

#include <optional>

#include "camdesign/cam_running.h"
#include "camdesign/motion_program.h"

enum FollowerKind { KNIFE_FOLLOWER, ROLLER_FOLLOWER, FLAT_FOLLOWER, OSCILLATING_ROLLER_FOLLOWER };
enum TurnSense { CLOCKWISE, COUNTER_CLOCKWISE };

// Everything that defines the cam (the design object of the JSON report / --design file).
struct CamDesign {
    MotionProgram program;
    double baseRadius = 50;            // r0, mm
    FollowerKind follower = KNIFE_FOLLOWER;
    double rollerRadius = 0;           // rf, mm (roller kinds)
    double offset = 0;                 // e, mm (translating followers)
    double pivotDistance = 0;          // D, mm (oscillating)
    double armLength = 0;              // L, mm (oscillating)
    TurnSense turn = CLOCKWISE;
    double maxPressureAngleDeg = 30;   // warning limit
    std::optional<CamRunning> running; // how it runs, when dynamics are asked for
};

// The one-law shorthand of the command line: rise, dwell at full lift, return, and the rest of the turn a dwell.
struct CamDimensions {
    int law = 0;
    TwoPoints points{};        // law 7's intermediate points, unused by the other laws
    double baseRadius = 50;    // r0: the cam's own base circle
    double lift = 60;          // h
    double riseDeg = 120;      // beta1
    double dwellDeg = 120;     // delta1, at full lift; 0 leaves it out
    double returnDeg = 120;    // beta2; the inner dwell takes the rest of the turn
    double rollerRadius = 0;   // rf; 0 for a knife edge
    double offset = 0;         // e: the follower moves on the line x = e
};

// The translating knife (rollerRadius 0) or roller cam the shorthand describes, turning clockwise.
CamDesign camDesignFor(const CamDimensions& dimensions);

inline bool rollerKind(FollowerKind kind) { return kind == ROLLER_FOLLOWER || kind == OSCILLATING_ROLLER_FOLLOWER; }
// rp: the pitch circle's radius, r0 + rf for a roller, r0 otherwise.
inline double pitchRadius(const CamDesign& cam) { return cam.baseRadius + (rollerKind(cam.follower) ? cam.rollerRadius : 0); }
