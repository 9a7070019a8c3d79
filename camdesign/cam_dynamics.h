// The cam at speed: a translating follower's velocity, acceleration and jerk, the force that keeps it on the cam,
// jump, the camshaft's torque and power, and the contact's Hertz stress, at one angle and over the whole turn.
// Units: rev/min, kg, N, N/mm, mm (lengths), m/s, m/s², m/s³, N·m, W, MPa, GPa; cam angles in degrees.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "camdesign/cam_check.h"
#include "camdesign/cam_design.h"
#include "camdesign/cam_running.h"

// ω = 2π n / 60, rad/s.
double angularSpeed(const CamRunning& running);

// The follower at one cam angle at the running speed (forces 0 without a mass).
struct FollowerAtSpeed {
    double velocity;       // v = s' ω, m/s
    double acceleration;   // a = s'' ω², m/s²
    double jerk;           // j = s''' ω³, m/s³: the owning segment's value, also where s'' jumps
    double force;          // F = m a + k s + F0 + F_load along the line of motion, N; < 0: the follower leaves
    double contactForce;   // F_n = F / cos φ along the contact normal (F for a flat face), N
    double torque;         // T = F s' (s' in m/rad), frictionless, N·m; < 0 where the follower drives the cam
};

FollowerAtSpeed followerAtSpeed(const CamRunning& running, const CamPoint& point);

// E* of two bodies of the running material: 1/E* = 2 (1 - ν²) / E, in MPa.
double contactModulusMPa(const CamRunning& running);

// Hertz line contact between the working contour and a roller or a flat face at one angle:
// p = sqrt(F_n E* / (π w R')), 1/R' = 1/ρ_cam + 1/RF. Nothing where no stress applies: a knife edge, no cam
// width, no pressing force, or a contour that cannot carry the follower there (1/R' <= 0: undercut or cusp).
std::optional<double> contactStressAt(const CamRunning& running, const CamDesign& cam, const CamPoint& point,
                                      double contactForce);

// The running figures over the whole turn. The force figures are present only with a mass.
struct CamDynamics {
    double maxVelocity;      // largest |v|, m/s
    double maxAcceleration;  // m/s²
    double minAcceleration;  // m/s²
    double maxJerk;          // largest |j| inside the segments, one-sided values at their ends included
    bool jerkInfinite;       // s'' jumps somewhere, so the jerk is infinite there
    struct Forces {
        AngleExtreme minContactForce, maxContactForce;   // N
        std::vector<AngleStretch> jumpStretches;    // F < 0: the follower leaves the cam
        double jumpSpeedRpm;       // the highest speed keeping F >= 0 all round; 0 where none does
        double requiredPreload;    // the smallest F0 >= 0 keeping F >= 0 at this speed and spring rate, N
        AngleExtreme maxTorque, minTorque;               // N·m
        double maxPower;           // largest T ω, W
        std::optional<AngleExtreme> maxContactStress;    // MPa, with a cam width and a roller or flat face
    };
    std::optional<Forces> forces;
    std::vector<std::string> warnings;
};

// Samples the turn at perDegree points a degree (at least ten), at every segment bound and law joint from both
// sides, then refines each extreme and stretch end between the samples. For translating followers only.
CamDynamics camDynamics(const CamDesign& cam, const CamRunning& running, int perDegree);
