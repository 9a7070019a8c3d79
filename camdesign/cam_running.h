// The running inputs beside a cam's geometry: speed, the follower's mass, spring, preload, load, cam width, material.
// Units: rev/min, kg, N/mm, N, mm, GPa.
#pragma once

// How the cam runs and what presses the follower on it: the running inputs beside the cam's geometry.
struct CamRunning {
    double speedRpm = 0;            // n, camshaft speed, rev/min, > 0
    double massKg = 0;              // m, the follower's moving mass, kg; 0: not given, so no forces
    double springRate = 0;          // k, N/mm, >= 0
    double preload = 0;             // F0, the spring's force at zero lift, N, >= 0
    double load = 0;                // F_load, a constant force towards the cam, N; negative pulls it away
    double camWidth = 0;            // w, the contact's length across the cam, mm; 0: not given, so no stress
    double youngsModulusGPa = 206;  // E of cam and follower alike, GPa
    double poisson = 0.3;           // nu of cam and follower alike
};
