// The running inputs: one table gives each its option, design key, field, range and help, so that the command line
// and the design file read them by the same rules.
#include "camprofile/running_options.h"

#include <cstdio>

#include "camprofile/arguments.h"
#include "camprofile/output.h"

namespace {

struct RunningInput {
    const char* option;
    const char* typeName;
    const char* key;
    double CamRunning::*field;
    double low, high;
    bool lowIncluded;
    const char* help;
};

// The ranges hold every real cam with room to spare; E and ν are those of both bodies alike.
const RunningInput RUNNING_INPUTS[8] = {
    {"--speed", "RPM", "speed_rpm", &CamRunning::speedRpm, 0, 1e5, false,
     "camshaft speed, rev/min: turns on the follower's velocity, acceleration and jerk in m/s, m/s², m/s³"},
    {"--mass", "KG", "mass_kg", &CamRunning::massKg, 0, 1e4, false,
     "the follower's moving mass, kg: turns on the contact force, jump, torque and stress"},
    {"--spring-rate", "N/MM", "spring_rate_N_mm", &CamRunning::springRate, 0, 1e6, true,
     "the return spring's rate, N/mm (0 unless given)"},
    {"--preload", "N", "preload_N", &CamRunning::preload, 0, 1e7, true,
     "the spring's force at zero lift, N (0 unless given)"},
    {"--load", "N", "load_N", &CamRunning::load, -1e7, 1e7, true,
     "a constant force pressing the follower towards the cam, N, negative pulling it away (0 unless given; a "
     "vertical follower's weight goes here)"},
    {"--cam-width", "MM", "cam_width_mm", &CamRunning::camWidth, 0.001, 1e5, true,
     "the contact's length across the cam, mm: turns on the Hertz contact stress (roller or flat follower)"},
    {"--youngs-modulus", "GPA", "youngs_modulus_GPa", &CamRunning::youngsModulusGPa, 0.001, 1e4, true,
     "Young's modulus of cam and follower, GPa (206, steel, unless given)"},
    {"--poisson", "NU", "poisson", &CamRunning::poisson, 0, 0.5, true,
     "Poisson's ratio of cam and follower, 0 to below 0.5 (0.3 unless given)"},
};
enum { SPEED, MASS, SPRING, PRELOAD, LOAD, WIDTH, MODULUS, POISSON };

// A bound as a reader writes it: 100000, not 1e+05.
std::string plain(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string rangeText(const RunningInput& input)
{
    // Poisson's ratio stops short of 0.5, where the material would not compress at all.
    const bool highIncluded = input.field != &CamRunning::poisson;
    return std::string(input.lowIncluded ? "from " : "above ") + plain(input.low) +
           (highIncluded ? (input.lowIncluded ? " to " : " and at most ") : " to below ") + plain(input.high);
}

bool inRange(const RunningInput& input, double value)
{
    const bool highIncluded = input.field != &CamRunning::poisson;
    return (input.lowIncluded ? value >= input.low : value > input.low) &&
           (highIncluded ? value <= input.high : value < input.high);
}

// The running inputs from what was given of them: given[i] with its value and its text as typed (or written).
// Ranges first, then the rules across the inputs; `refuse(i, message)` throws, naming input i as its caller does.
template <typename Refuse>
std::optional<CamRunning> runningFrom(const bool given[8], const double values[8], const std::string texts[8],
                                      FollowerKind follower, const std::string names[8], const Refuse& refuse)
{
    CamRunning running;
    for (int i = 0; i < 8; i++) {
        if (!given[i])
            continue;
        if (!inRange(RUNNING_INPUTS[i], values[i]))
            refuse(i, "must lie " + rangeText(RUNNING_INPUTS[i]) + ", got " + texts[i]);
        running.*RUNNING_INPUTS[i].field = values[i];
    }
    for (int i = MASS; i < 8; i++)
        if (given[i] && !given[SPEED])
            refuse(i, "needs " + names[SPEED] + ": the forces depend on the speed");
    if (given[SPEED] && follower == OSCILLATING_ROLLER_FOLLOWER)
        refuse(SPEED, "dynamics are for translating followers (knife, roller, flat); an oscillating arm's "
                      "dynamics need its moment of inertia, not known here");
    if (given[WIDTH] && follower == KNIFE_FOLLOWER)
        refuse(WIDTH, "is for a roller or flat follower: a knife edge's contact stress has no finite value");
    for (int i : {MODULUS, POISSON})
        if (given[i] && !given[WIDTH])
            refuse(i, "sets the contact stress's material: give " + names[WIDTH] + " too");
    if (!given[SPEED])
        return std::nullopt;
    return running;
}

} // namespace

void addRunningOptions(CLI::App& command, RunningTexts& texts)
{
    for (int i = 0; i < 8; i++)
        command.add_option(RUNNING_INPUTS[i].option, texts.values[i],
                           std::string(RUNNING_INPUTS[i].help) + "; " + rangeText(RUNNING_INPUTS[i]))
            ->type_name(RUNNING_INPUTS[i].typeName);
}

bool anyRunningOption(const RunningTexts& texts)
{
    for (const std::string& text : texts.values)
        if (!text.empty())
            return true;
    return false;
}

std::optional<CamRunning> runningFromOptions(const RunningTexts& texts, FollowerKind follower)
{
    bool given[8];
    double values[8] = {};
    std::string quoted[8], names[8];
    for (int i = 0; i < 8; i++) {
        names[i] = RUNNING_INPUTS[i].option;
        given[i] = !texts.values[i].empty();
        if (given[i])
            values[i] = finiteNumberFromArgument(texts.values[i], names[i]);
        quoted[i] = "'" + texts.values[i] + "'";
    }
    return runningFrom(given, values, quoted, follower, names, [&](int i, const std::string& message) {
        throw CLI::ValidationError(names[i], message);
    });
}

void refuseRunningOptionsBesideDesign(const RunningTexts& texts)
{
    for (int i = 0; i < 8; i++)
        if (!texts.values[i].empty())
            throw CLI::ValidationError(RUNNING_INPUTS[i].option, "cannot stand beside --design, which holds the "
                                                                 "running inputs too (its \"running\" object)");
}

nlohmann::ordered_json runningJson(const std::optional<CamRunning>& running)
{
    if (!running)
        return nullptr;
    nlohmann::ordered_json object;
    for (const RunningInput& input : RUNNING_INPUTS)
        object[input.key] = (*running).*input.field;
    // Not given is 0 in CamRunning, and the design file says so as null.
    if (running->massKg == 0)
        object["mass_kg"] = nullptr;
    if (running->camWidth == 0)
        object["cam_width_mm"] = nullptr;
    return object;
}

std::optional<CamRunning> runningFromJson(const nlohmann::json& value, FollowerKind follower,
                                          const DesignRefusal& refuse)
{
    if (value.is_null())
        return std::nullopt;
    if (!value.is_object())
        refuse("running", "must be an object or null");
    for (const auto& item : value.items()) {
        bool known = false;
        for (const RunningInput& input : RUNNING_INPUTS)
            known = known || item.key() == input.key;
        if (!known)
            refuse("running." + item.key(), "is not a running input");
    }
    bool given[8];
    double values[8] = {};
    std::string written[8], names[8];
    for (int i = 0; i < 8; i++) {
        const char* key = RUNNING_INPUTS[i].key;
        names[i] = std::string("running.") + key;
        given[i] = value.contains(key) && !value[key].is_null();
        if (given[i] && !value[key].is_number())
            refuse(names[i], "must be a number");
        if (given[i])
            values[i] = value[key].get<double>();
        written[i] = formatNumber(values[i]);
    }
    const std::optional<CamRunning> running = runningFrom(
        given, values, written, follower, names, [&](int i, const std::string& message) { refuse(names[i], message); });
    if (!running)
        refuse(names[SPEED], "is needed: the running inputs depend on the speed");
    return running;
}
