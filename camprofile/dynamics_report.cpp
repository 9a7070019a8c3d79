// The running figures of a cam for a reader and for a program.
#include "camprofile/dynamics_report.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "camdesign/number_text.h"
#include "camprofile/output.h"

namespace {

// Three significant figures at least, without an exponent: forces and accelerations span many decades.
std::string figure(double value)
{
    const double size = std::fabs(value);
    return fixedText(value, size >= 100 ? 1 : size >= 10 ? 2 : size >= 1 ? 3 : 4);
}

std::string at(const AngleExtreme& value, const char* unit)
{
    return figure(value.value) + " " + unit + " at " + fixedText(value.atDeg, 2) + "°";
}

} // namespace

std::string dynamicsReportText(const CamRunning& running, const CamDynamics& d)
{
    std::ostringstream out;
    out << "At " << figure(running.speedRpm) << " rpm (" << figure(angularSpeed(running)) << " rad/s):\n"
        << "  velocity up to " << figure(d.maxVelocity) << " m/s, acceleration " << figure(d.minAcceleration)
        << " to " << figure(d.maxAcceleration) << " m/s², jerk up to " << figure(d.maxJerk) << " m/s³"
        << (d.jerkInfinite ? " inside the segments (∞ where the acceleration jumps)" : "") << '\n';
    if (!d.forces) {
        out << "  forces: give --mass for the contact force, jump, torque and stress\n";
        return out.str();
    }
    const CamDynamics::Forces& f = *d.forces;
    out << "  contact force " << at(f.minContactForce, "N") << " to " << at(f.maxContactForce, "N") << '\n'
        << "  jump: " << (f.jumpStretches.empty() ? "none" : "yes, see the warnings") << "; it holds up to "
        << figure(f.jumpSpeedRpm) << " rpm; the smallest preload holding it at this speed: "
        << figure(f.requiredPreload) << " N\n"
        << "  camshaft torque " << at(f.minTorque, "N·m") << " to " << at(f.maxTorque, "N·m")
        << ", power up to " << figure(f.maxPower) << " W\n";
    if (f.maxContactStress)
        out << "  Hertz contact stress up to " << at(*f.maxContactStress, "MPa") << " (E* "
            << fixedText(contactModulusMPa(running) / 1000, 2) << " GPa, width " << figure(running.camWidth)
            << " mm)\n";
    return out.str();
}

nlohmann::ordered_json dynamicsJson(const std::optional<CamRunning>& running,
                                    const std::optional<CamDynamics>& dynamics)
{
    if (!running || !dynamics)
        return nullptr;
    const CamDynamics& d = *dynamics;
    nlohmann::ordered_json j;
    j["speed_rpm"] = running->speedRpm;
    j["max_velocity_m_s"] = d.maxVelocity;
    j["max_acceleration_m_s2"] = d.maxAcceleration;
    j["min_acceleration_m_s2"] = d.minAcceleration;
    j["max_jerk_m_s3"] = d.maxJerk;
    j["jerk_infinite"] = d.jerkInfinite;
    const char* const forceKeys[] = {"min_contact_force_N", "min_contact_force_at_deg", "max_contact_force_N",
                                     "max_contact_force_at_deg", "jump", "jump_stretches", "jump_speed_rpm",
                                     "required_preload_N", "max_torque_Nm", "max_torque_at_deg", "min_torque_Nm",
                                     "min_torque_at_deg", "max_power_W", "max_contact_stress_MPa",
                                     "max_contact_stress_at_deg"};
    for (const char* key : forceKeys)
        j[key] = nullptr;
    if (!d.forces)
        return j;
    const CamDynamics::Forces& f = *d.forces;
    j["min_contact_force_N"] = f.minContactForce.value;
    j["min_contact_force_at_deg"] = f.minContactForce.atDeg;
    j["max_contact_force_N"] = f.maxContactForce.value;
    j["max_contact_force_at_deg"] = f.maxContactForce.atDeg;
    j["jump"] = !f.jumpStretches.empty();
    j["jump_stretches"] = nlohmann::ordered_json::array();
    for (const AngleStretch& s : f.jumpStretches)
        j["jump_stretches"].push_back({s.fromDeg, s.toDeg});
    j["jump_speed_rpm"] = f.jumpSpeedRpm;
    j["required_preload_N"] = f.requiredPreload;
    j["max_torque_Nm"] = f.maxTorque.value;
    j["max_torque_at_deg"] = f.maxTorque.atDeg;
    j["min_torque_Nm"] = f.minTorque.value;
    j["min_torque_at_deg"] = f.minTorque.atDeg;
    j["max_power_W"] = f.maxPower;
    if (f.maxContactStress) {
        j["max_contact_stress_MPa"] = f.maxContactStress->value;
        j["max_contact_stress_at_deg"] = f.maxContactStress->atDeg;
    }
    return j;
}

std::optional<std::string> dynamicsCsvColumns(const CamRunning& running, const CamPoint& point)
{
    const FollowerAtSpeed f = followerAtSpeed(running, point);
    const bool forces = running.massKg > 0;
    const double values[5] = {f.velocity, f.acceleration, f.jerk, f.contactForce, f.torque};
    std::string columns;
    for (int k = 0; k < 5; k++) {
        if (k >= 3 && !forces) {
            columns += ',';
            continue;
        }
        if (!std::isfinite(values[k]))
            return std::nullopt;
        columns += ',' + formatNumber(values[k]);
    }
    return columns;
}

bool dynamicsFinite(const CamDynamics& d)
{
    std::vector<double> values = {d.maxVelocity, d.maxAcceleration, d.minAcceleration, d.maxJerk};
    if (d.forces) {
        const CamDynamics::Forces& f = *d.forces;
        values.insert(values.end(), {f.minContactForce.value, f.maxContactForce.value, f.jumpSpeedRpm,
                                     f.requiredPreload, f.maxTorque.value, f.minTorque.value, f.maxPower});
        if (f.maxContactStress)
            values.push_back(f.maxContactStress->value);
    }
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}
