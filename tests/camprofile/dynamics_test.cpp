// The cam at speed: kinematics against the laws' closed forms, the jump speed against its closed form and at
// 0.999 / 1.001 of itself, torque against the normal force's moment arm, Hertz stress against a hand computation.
// The command: its report, table and turn plot against the library, its refusals. Units: rev/min, kg, N, N/mm,
// mm, m/s, m/s², N·m, MPa; angles in degrees.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "camdesign/cam_dynamics.h"
#include "run_command.h"

namespace {

const int CYCLOID = 2, HARMONIC = 1, MODIFIED_SINE = 4, POLY_345 = 8;

// Rise, dwell, return (and the rest as a dwell at zero lift), one law throughout.
CamDesign camFor(int law, double lift, double rise, double dwell, double back, FollowerKind follower = KNIFE_FOLLOWER,
                 double rollerRadius = 0, double offset = 0)
{
    CamDesign cam;
    cam.program.segments = {{RISE_SEGMENT, rise, lift, law, {}},
                            {DWELL_SEGMENT, dwell, 0, 0, {}},
                            {RETURN_SEGMENT, back, lift, law, {}}};
    cam.follower = follower;
    cam.rollerRadius = rollerRadius;
    cam.offset = offset;
    return cam;
}

CamRunning runningAt(double rpm, double mass, double spring, double preload, double load, double width = 0)
{
    CamRunning running;
    running.speedRpm = rpm;
    running.massKg = mass;
    running.springRate = spring;
    running.preload = preload;
    running.load = load;
    running.camWidth = width;
    return running;
}

bool jumps(const CamDesign& cam, CamRunning running, double rpm)
{
    running.speedRpm = rpm;
    return !camDynamics(cam, running, 10).forces->jumpStretches.empty();
}

} // namespace

// The cycloid's Vm = 2, Am = 2π, Jm = 4π² (the laws' closed forms) scaled to real units: v = h V ω / β,
// a = h A ω² / β², j = h J ω³ / β³ (h in m, β in rad). The shorter of rise and return sets each figure.
TEST(CamDynamics, CycloidKinematicsMatchTheLawsClosedForms)
{
    const struct { double lift, rise, back, rpm; FollowerKind follower; } cases[] = {
        {20, 90, 90, 600, KNIFE_FOLLOWER}, {12, 120, 60, 1500, ROLLER_FOLLOWER}, {8, 40, 100, 250, FLAT_FOLLOWER}};
    for (const auto& c : cases) {
        const CamDesign cam = camFor(CYCLOID, c.lift, c.rise, 60, c.back, c.follower, c.follower == ROLLER_FOLLOWER ? 10 : 0);
        const CamDynamics d = camDynamics(cam, runningAt(c.rpm, 0, 0, 0, 0), 10);
        const double h = c.lift * 1e-3, beta = std::min(c.rise, c.back) * PI / 180, w = 2 * PI * c.rpm / 60;
        EXPECT_NEAR(d.maxVelocity, 2 * h * w / beta, 1e-9 * d.maxVelocity) << c.lift;
        EXPECT_NEAR(d.maxAcceleration, 2 * PI * h * w * w / (beta * beta), 1e-9 * d.maxAcceleration) << c.lift;
        EXPECT_NEAR(d.minAcceleration, -2 * PI * h * w * w / (beta * beta), 1e-9 * d.maxAcceleration) << c.lift;
        EXPECT_NEAR(d.maxJerk, 4 * PI * PI * h * w * w * w / std::pow(beta, 3), 1e-9 * d.maxJerk) << c.lift;
        EXPECT_FALSE(d.jerkInfinite);
        EXPECT_FALSE(d.forces.has_value()) << "no mass, no forces";
    }
    EXPECT_TRUE(camDynamics(camFor(HARMONIC, 10, 90, 0, 90), runningAt(100, 0, 0, 0, 0), 10).jerkInfinite);
}

// Without a spring F = m a + F0 + F_load, lowest where the cycloid decelerates most, a = -2π h ω² / β²:
// n = (60 / 2π) sqrt((F0 + F_load) β² / (2π m h)). The preload needed at a speed is m 2π h ω² / β² - F_load.
TEST(CamDynamics, JumpSpeedOfACycloidWithoutSpringIsTheClosedForm)
{
    const struct { double lift, beta, mass, preload, load; FollowerKind follower; } cases[] = {
        {20, 90, 0.5, 40, 0, KNIFE_FOLLOWER}, {10, 60, 0.2, 15, 4.9, ROLLER_FOLLOWER},
        {30, 150, 1.5, 0, 60, FLAT_FOLLOWER}, {5, 45, 0.05, 80, -30, KNIFE_FOLLOWER}};
    for (const auto& c : cases) {
        const CamDesign cam = camFor(CYCLOID, c.lift, c.beta, 30, c.beta, c.follower, c.follower == ROLLER_FOLLOWER ? 8 : 0);
        const double h = c.lift * 1e-3, beta = c.beta * PI / 180, held = c.preload + c.load;
        const double expected = 60 / (2 * PI) * std::sqrt(held * beta * beta / (2 * PI * c.mass * h));
        const CamRunning running = runningAt(1.3 * expected, c.mass, 0, c.preload, c.load);
        const CamDynamics::Forces f = *camDynamics(cam, running, 10).forces;
        EXPECT_NEAR(f.jumpSpeedRpm, expected, 1e-9 * expected) << c.lift;
        const double w = 2 * PI * running.speedRpm / 60;
        EXPECT_NEAR(f.requiredPreload, c.mass * 2 * PI * h * w * w / (beta * beta) - c.load, 1e-9 * c.mass * w * w)
            << c.lift;
        EXPECT_FALSE(f.jumpStretches.empty()) << c.lift;
    }
    // Nothing holds the follower on at the base circle: no speed is safe.
    EXPECT_EQ(camDynamics(camFor(CYCLOID, 10, 90, 0, 90), runningAt(100, 1, 0, 5, -5), 10).forces->jumpSpeedRpm, 0);
}

// With a spring the tightest place moves off the deceleration's peak and has no simple closed form: the reported
// speed is checked by its definition, holding at 0.999 of it and jumping at 1.001, and so is the required preload.
TEST(CamDynamics, WithASpringJumpBeginsAtTheReportedSpeedAndPreload)
{
    const struct { int law; double lift, rise, back, mass, spring, preload, load; } cases[] = {
        {CYCLOID, 20, 90, 80, 0.5, 2, 30, 0}, {MODIFIED_SINE, 15, 70, 110, 0.3, 5, 10, 2},
        {HARMONIC, 10, 100, 100, 0.8, 1, 50, 0}, {POLY_345, 25, 60, 120, 0.4, 8, 0, 20}};
    for (const auto& c : cases) {
        const CamDesign cam = camFor(c.law, c.lift, c.rise, 40, c.back);
        const CamRunning running = runningAt(1000, c.mass, c.spring, c.preload, c.load);
        const CamDynamics::Forces f = *camDynamics(cam, running, 10).forces;
        ASSERT_GT(f.jumpSpeedRpm, 0) << "law " << c.law;
        EXPECT_FALSE(jumps(cam, running, 0.999 * f.jumpSpeedRpm)) << "law " << c.law;
        EXPECT_TRUE(jumps(cam, running, 1.001 * f.jumpSpeedRpm)) << "law " << c.law;
        CamRunning preloaded = running;
        preloaded.speedRpm = 1.2 * f.jumpSpeedRpm;
        const double needed = camDynamics(cam, preloaded, 10).forces->requiredPreload;
        preloaded.preload = needed + 1e-6;
        EXPECT_FALSE(jumps(cam, preloaded, preloaded.speedRpm)) << "law " << c.law;
        preloaded.preload = needed - 1e-3;
        EXPECT_TRUE(jumps(cam, preloaded, preloaded.speedRpm)) << "law " << c.law;
    }
}

// The camshaft's torque is the normal force times its moment arm about the cam centre. The arm is measured on the
// drawn cam: the normal is perpendicular to the pitch curve's tangent taken by central differences (a flat face:
// the contour's contact point, normal along the line of motion), and its line passes through the pitch point.
TEST(CamDynamics, TorqueIsTheNormalForceTimesItsMomentArm)
{
    const struct { FollowerKind follower; double rf, offset; TurnSense turn; } cases[] = {
        {KNIFE_FOLLOWER, 0, 12, CLOCKWISE}, {ROLLER_FOLLOWER, 15, -10, COUNTER_CLOCKWISE}, {FLAT_FOLLOWER, 0, 5, CLOCKWISE}};
    const double d = 1e-4;
    for (const auto& c : cases) {
        CamDesign cam = camFor(MODIFIED_SINE, 25, 100, 30, 120, c.follower, c.rf, c.offset);
        cam.turn = c.turn;
        const CamRunning running = runningAt(900, 0.6, 3, 40, 5);
        for (double theta = 7.3; theta < 360; theta += 11) {
            const CamPoint p = camPointAt(cam, theta), a = camPointAt(cam, theta - d), b = camPointAt(cam, theta + d);
            const FollowerAtSpeed f = followerAtSpeed(running, p);
            double nx = b.pitchY - a.pitchY, ny = a.pitchX - b.pitchX;   // the tangent turned a quarter
            if (c.follower == FLAT_FOLLOWER)
                nx = b.contourY - a.contourY, ny = a.contourX - b.contourX;
            const double arm = std::fabs(p.pitchX * ny - p.pitchY * nx) / std::hypot(nx, ny);
            EXPECT_NEAR(std::fabs(f.torque), std::fabs(f.contactForce) * arm * 1e-3, 1e-9 * std::fabs(f.contactForce))
                << c.follower << " at " << theta;
        }
    }
}

// At the reported angle, by hand: F = m s'' ω² + k s + F0 (s'' by central differences of s), F_n = F / cos φ
// with φ from the contour's finite-difference tangent, ρ the circle through three neighbouring contour points,
// 1/R' = 1/ρ + 1/RF, E* = 113.19 GPa (206 GPa, ν = 0.3: 206 / (2 · 0.91)), p = sqrt(F_n E* / (π w R')).
TEST(CamDynamics, HertzStressAtItsReportedAngleMatchesAHandComputation)
{
    // A flat face needs the larger base circle: with r0 = 40 its contour would have cusps (r0 + s + s'' < 0).
    const struct { FollowerKind follower; double rf, r0, width; } cases[] = {
        {ROLLER_FOLLOWER, 12, 40, 10}, {FLAT_FOLLOWER, 0, 90, 15}};
    for (const auto& c : cases) {
        CamDesign cam = camFor(CYCLOID, 18, 80, 40, 100, c.follower, c.rf);
        cam.baseRadius = c.r0;
        const CamRunning running = runningAt(700, 0.4, 4, 60, 0, c.width);
        const std::optional<AngleExtreme> found = camDynamics(cam, running, 10).forces->maxContactStress;
        ASSERT_TRUE(found.has_value()) << c.follower;
        const AngleExtreme stress = *found;
        const double t = stress.atDeg, d = 0.02, w = 2 * PI * 700 / 60, dRad = d * PI / 180;
        const CamPoint a = camPointAt(cam, t - d), p = camPointAt(cam, t), b = camPointAt(cam, t + d);
        const double dds = (b.s - 2 * p.s + a.s) / (dRad * dRad);
        const double force = 0.4 * dds * 1e-3 * w * w + 4 * p.s + 60;
        // The pitch curve's normal against the line of motion, turned back by theta into the follower's frame.
        const double tx = b.pitchX - a.pitchX, ty = b.pitchY - a.pitchY, r = t * PI / 180;
        const double phi = c.follower == FLAT_FOLLOWER ? 0 : std::atan2(ty * std::cos(r) - tx * std::sin(r),
                                                                        -tx * std::cos(r) - ty * std::sin(r));
        const double ax = a.contourX, ay = a.contourY, bx = b.contourX, by = b.contourY;
        const double side1 = std::hypot(p.contourX - ax, p.contourY - ay), side2 = std::hypot(bx - p.contourX, by - p.contourY);
        const double side3 = std::hypot(bx - ax, by - ay);
        const double area2 = std::fabs((p.contourX - ax) * (by - ay) - (p.contourY - ay) * (bx - ax));
        const double rho = side1 * side2 * side3 / (2 * area2);
        const double inverseR = 1 / rho + (c.rf > 0 ? 1 / c.rf : 0);
        const double hand = std::sqrt(force / std::cos(phi) * 113.19e3 * inverseR / (PI * c.width));
        // 113.19 GPa is E* rounded to 3e-5 of itself, which moves p by half as much.
        EXPECT_NEAR(stress.value, hand, 2e-5 * hand) << c.follower << " at " << t;
    }
}

// One roller cam at two speeds through the command: the report's figures are the library's, it holds below the
// reported jump speed and jumps above it, the table's columns read back as the follower's state, the plot is
// SVG that xmllint and rsvg-convert read, and the report's design gives the same cam back.
TEST(CamDynamicsCommand, ReportTableAndPlotAtTwoSpeeds)
{
    const std::string cam = "cam --segment rise,100,25,cycloid --segment dwell,50 --segment return,120,25,modified-sine "
                            "--base-radius 45 --follower roller --roller-radius 12 --offset 6 --mass 0.6 "
                            "--spring-rate 2.5 --preload 35 --load 4 --cam-width 8 --per-degree 2";
    CamDesign design = camFor(CYCLOID, 25, 100, 50, 120, ROLLER_FOLLOWER, 12, 6);
    design.program.segments[2].law = MODIFIED_SINE;
    design.baseRadius = 45;
    const std::string table = scratch("dyn.csv"), plot = scratch("dyn.svg"), saved = scratch("dyn.json");
    const Outcome slow = camprofile(cam + " --speed 400 --json --table " + table + " --plot " + plot);
    ASSERT_EQ(slow.status, 0) << slow.err;
    const nlohmann::json report = nlohmann::json::parse(slow.out), d = report["dynamics"];
    std::string keys;
    for (const auto& item : d.items())
        keys += item.key() + ' ';
    EXPECT_EQ(keys, "jerk_infinite jump jump_speed_rpm jump_stretches max_acceleration_m_s2 max_contact_force_N "
                    "max_contact_force_at_deg max_contact_stress_MPa max_contact_stress_at_deg max_jerk_m_s3 "
                    "max_power_W max_torque_Nm max_torque_at_deg max_velocity_m_s min_acceleration_m_s2 "
                    "min_contact_force_N min_contact_force_at_deg min_torque_Nm min_torque_at_deg "
                    "required_preload_N speed_rpm ");
    const CamRunning running = runningAt(400, 0.6, 2.5, 35, 4, 8);
    const CamDynamics expected = camDynamics(design, running, 2);
    EXPECT_EQ(d["jump_speed_rpm"].get<double>(), expected.forces->jumpSpeedRpm);
    EXPECT_EQ(d["max_contact_stress_MPa"].get<double>(), expected.forces->maxContactStress->value);
    EXPECT_EQ(d["max_torque_Nm"].get<double>(), expected.forces->maxTorque.value);
    const double jumpSpeed = d["jump_speed_rpm"];
    EXPECT_FALSE(d["jump"].get<bool>());
    for (double factor : {0.999, 1.001}) {
        const Outcome run = camprofile(cam + " --json --speed " + std::to_string(factor * jumpSpeed));
        const nlohmann::json at = nlohmann::json::parse(run.out)["dynamics"];
        EXPECT_EQ(at["jump"].get<bool>(), factor > 1) << factor;
        EXPECT_EQ(at["jump_stretches"].empty(), factor < 1) << factor;
    }

    std::istringstream csv(readFile(table));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "theta_deg,s,pressure_angle_deg,pitch_curvature,x,y,velocity_m_s,acceleration_m_s2,jerk_m_s3,"
                    "contact_force_N,torque_Nm");
    for (int row = 0; std::getline(csv, line); row++) {
        double v[11];
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3],
                              &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10]), 11) << line;
        const FollowerAtSpeed f = followerAtSpeed(running, camPointAt(design, row / 2.0));
        EXPECT_TRUE(v[6] == f.velocity && v[7] == f.acceleration && v[8] == f.jerk && v[9] == f.contactForce &&
                    v[10] == f.torque) << line;
    }
    expectValidSvg(plot);
    const std::string svg = readFile(plot);
    for (const char* title : {"velocity v, m/s", "jerk j, m/s³", "contact force F_n, N", "camshaft torque T, N·m",
                              "rise 25 mm cycloid", "return 25 mm modified-sine"})
        EXPECT_NE(svg.find(title), std::string::npos) << title;

    std::ofstream(saved) << slow.out;
    EXPECT_EQ(camprofile("cam --design " + saved + " --json").out, slow.out);
    const nlohmann::json kinematic = nlohmann::json::parse(camprofile("cam cycloid --speed 300 --json").out)["dynamics"];
    EXPECT_TRUE(kinematic["max_velocity_m_s"].is_number() && kinematic["jump"].is_null() &&
                kinematic["max_torque_Nm"].is_null());
}

// Each bad running input: status 2, the option (or design key) named, and not one file written.
TEST(CamDynamicsCommand, RefusesBadRunningInputsWritingNothing)
{
    const std::string table = scratch("refused.csv"), plot = scratch("refused.svg");
    const std::string roller = "cam cycloid --follower roller --table " + table + " --plot " + plot;
    const struct { std::string arguments, named; } cases[] = {
        {roller + " --mass 1", "--mass"},
        {roller + " --speed 0", "--speed"},
        {roller + " --speed 1e6", "--speed"},
        {roller + " --speed 0x20", "--speed"},
        {roller + " --speed nan", "--speed"},
        {roller + " --speed 100 --mass -1", "--mass"},
        {roller + " --speed 100 --spring-rate -0.1", "--spring-rate"},
        {roller + " --speed 100 --preload inf", "--preload"},
        {roller + " --speed 100 --poisson 0.5 --cam-width 5", "--poisson"},
        {roller + " --speed 100 --youngs-modulus 200", "--youngs-modulus"},
        {"cam cycloid --speed 100 --cam-width 5 --table " + table, "--cam-width"},
        {"cam --segment rise,90,20,cycloid --segment return,90,20,cycloid --follower oscillating-roller "
         "--pivot-distance 120 --arm-length 100 --speed 60 --table " + table, "--speed"},
        {roller + " --speed 100 --plot " + table + ".png", "--plot"},
    };
    for (const auto& c : cases) {
        std::remove(table.c_str());
        std::remove(plot.c_str());
        const Outcome result = camprofile(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments;
        EXPECT_NE(result.err.find(c.named), std::string::npos) << c.arguments << ": " << result.err;
        EXPECT_TRUE(readFile(table).empty() && readFile(plot).empty()) << c.arguments;
    }
    // The design file's running object by the same rules, named by its key.
    const std::string design = scratch("running.json");
    std::ofstream(design) << R"({"segments": [{"kind": "rise", "angle_deg": 90, "lift": 20, "law": 2},
        {"kind": "return", "angle_deg": 90, "lift": 20, "law": 2}], "running": {"speed_rpm": 100, "mass_kg": 0}})";
    const Outcome result = camprofile("cam --design " + design);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("running.mass_kg"), std::string::npos) << result.err;
}
