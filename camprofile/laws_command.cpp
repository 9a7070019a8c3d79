// `camprofile laws`: the characteristic values Vm, Am, Jm and (A·V)m of every law, as a text table or JSON.
#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "camdesign/law_characteristics.h"
#include "camprofile/commands.h"
#include "camprofile/arguments.h"
#include "camprofile/output.h"
#include "curves/law_names.h"
#include "curves/motion_tables.h"

namespace {
struct LawsOptions {
    std::vector<std::string> points;
    bool json = false;
};

struct LawRow {
    int law;
    LawCharacteristics values;
};
}  // namespace

// Width of the name column: the longest name, "2 intermittent points given cam curve", and two spaces.
constexpr int NAME_WIDTH = 40;

static std::string fixed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%10.4f", value);
    return text;
}

static std::string textTable(const std::vector<LawRow>& rows)
{
    std::string text = "law  " + std::string("name") + std::string(NAME_WIDTH - 4, ' ') +
                       "        Vm        Am        Jm      (A·V)m\n";
    for (const LawRow& row : rows) {
        const std::string name = lawName(row.law);
        text += std::to_string(row.law) + "    " + name + std::string(NAME_WIDTH - name.size(), ' ') +
                fixed(row.values.Vm) + fixed(row.values.Am) + fixed(row.values.Jm) +
                (row.values.infiniteJerks.empty() ? "  " : " ∞") + fixed(row.values.AVm) + '\n';
    }
    text += "Jm: largest |J| inside the segments; ∞: the jerk is also infinite where A jumps.\n";
    return text;
}

static std::string jsonTable(const std::vector<LawRow>& rows)
{
    nlohmann::ordered_json table = nlohmann::ordered_json::array();
    for (const LawRow& row : rows)
        table.push_back({{"law", row.law},
                         {"name", lawName(row.law)},
                         {"Vm", row.values.Vm},
                         {"Am", row.values.Am},
                         {"Jm", row.values.Jm},
                         {"jerk_infinite", !row.values.infiniteJerks.empty()},
                         {"AVm", row.values.AVm}});
    return table.dump(2) + '\n';
}

static void runLaws(const LawsOptions& options)
{
    std::vector<int> laws;
    for (int law = 0; law < LAW_COUNT; law++)
        if (law != TWO_POINT_CURVE || !options.points.empty())
            laws.push_back(law);
    const TwoPoints points = pointsForLaws(laws, options.points);

    std::vector<LawRow> rows;
    for (int law : laws) {
        LawRow row = {law, {}};
        if (!lawCharacteristics(law, points, row.values))
            throw CLI::ValidationError("--points", "law 7 overflows between 0 and 1: S, V, A and J must be finite");
        rows.push_back(row);
    }
    writeOutput("", options.json ? jsonTable(rows) : textTable(rows));
}

void addLawsCommand(CLI::App& app)
{
    auto options = std::make_shared<LawsOptions>();
    CLI::App* command = app.add_subcommand("laws", "characteristic values Vm, Am, Jm and (A·V)m of every law");
    command->footer("One row per law 0..9, law 7 only when --points are given. Vm = max |V|, Am = max |A|,\n"
                    "Jm = the largest |J| inside the segments, marked ∞ where A jumps and the jerk is infinite,\n"
                    "(A·V)m = max A·V. Computed from the laws' formulas, not from sampled tables.\n");
    addPointsOption(*command, options->points);
    command->add_flag("--json", options->json,
                      "print a JSON array of objects with the keys law, name, Vm, Am, Jm, jerk_infinite, AVm");
    command->callback([options] { runLaws(*options); });
}
