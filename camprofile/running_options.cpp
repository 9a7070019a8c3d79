// The running inputs: one table gives each its option, design key, field, range and help, so that the command line
// and the design file read them by the same rules.
#include "camprofile/running_options.h"

#include "camprofile/number_argument.h"
#include "camprofile/number_format.h"

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

std::string rangeText(const RunningInput& input)
{
    // Poisson's ratio stops short of 0.5, where the material would not compress at all.
    const bool highIncluded = input.field != &CamRunning::poisson;
    return std::string(input.lowIncluded ? "from " : "above ") + formatNumber(input.low) +
           (highIncluded ? " to " : " to below ") + formatNumber(input.high);
}

bool inRange(const RunningInput& input, double value)
{
    const bool highIncluded = input.field != &CamRunning::poisson;
    return (input.lowIncluded ? value >= input.low : value > input.low) &&
           (highIncluded ? value <= input.high : value < input.high);
}

// The rules across the inputs, with `name` giving how a refusal names each input (option or key).
template <typename Name>
void checkTogether(const bool given[8], FollowerKind follower, const Name& name)
{
    for (int i = MASS; i < 8; i++)
        if (given[i] && !given[SPEED])
            throw CLI::ValidationError(name(i), "needs " + name(SPEED) + ": the forces depend on the speed");
    if (given[SPEED] && follower == OSCILLATING_ROLLER_FOLLOWER)
        throw CLI::ValidationError(name(SPEED), "dynamics are for translating followers (knife, roller, flat); an "
                                                "oscillating arm's need its moment of inertia, not known here");
    if (given[WIDTH] && follower == KNIFE_FOLLOWER)
        throw CLI::ValidationError(name(WIDTH), "is for a roller or flat follower: a knife edge's contact stress "
                                                "has no finite value");
    for (int i : {MODULUS, POISSON})
        if (given[i] && !given[WIDTH])
            throw CLI::ValidationError(name(i), "sets the contact stress's material: give " + name(WIDTH) + " too");
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
    CamRunning running;
    for (int i = 0; i < 8; i++) {
        const RunningInput& input = RUNNING_INPUTS[i];
        given[i] = !texts.values[i].empty();
        if (!given[i])
            continue;
        const double value = finiteNumberFromArgument(texts.values[i], input.option);
        if (!inRange(input, value))
            throw CLI::ValidationError(input.option, "must lie " + rangeText(input) + ", got '" + texts.values[i] + "'");
        running.*input.field = value;
    }
    checkTogether(given, follower, [](int i) { return std::string(RUNNING_INPUTS[i].option); });
    if (!given[SPEED])
        return std::nullopt;
    return running;
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

std::optional<CamRunning> runningFromJson(const nlohmann::json& value, FollowerKind follower)
{
    if (value.is_null())
        return std::nullopt;
    if (!value.is_object())
        throw CLI::ValidationError("running", "must be an object or null");
    for (const auto& item : value.items()) {
        bool known = false;
        for (const RunningInput& input : RUNNING_INPUTS)
            known = known || item.key() == input.key;
        if (!known)
            throw CLI::ValidationError("running." + item.key(), "is not a running input");
    }
    bool given[8];
    CamRunning running;
    for (int i = 0; i < 8; i++) {
        const RunningInput& input = RUNNING_INPUTS[i];
        const std::string key = std::string("running.") + input.key;
        given[i] = value.contains(input.key) && !value[input.key].is_null();
        if (!given[i])
            continue;
        if (!value[input.key].is_number())
            throw CLI::ValidationError(key, "must be a number");
        const double number = value[input.key].get<double>();
        if (!inRange(input, number))
            throw CLI::ValidationError(key, "must lie " + rangeText(input) + ", got " + formatNumber(number));
        running.*input.field = number;
    }
    checkTogether(given, follower, [](int i) { return std::string("running.") + RUNNING_INPUTS[i].key; });
    if (!given[SPEED])
        throw CLI::ValidationError("running.speed_rpm", "is needed: the running inputs depend on the speed");
    return running;
}
