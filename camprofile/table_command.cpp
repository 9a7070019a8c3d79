// `camprofile table`: one law sampled at N + 1 equally spaced T, as CSV with the columns T,S,V,A,J.
#include <string>
#include <vector>

#include "camprofile/arguments.h"
#include "camprofile/commands.h"
#include "camprofile/output.h"

// Samples of a table: enough for any spreadsheet, small enough that the CSV stays below about 10 MB.
constexpr int MAX_TABLE_SAMPLES = 100000;

namespace {
struct TableOptions {
    std::string law;
    std::vector<std::string> points;
    std::string samples = "100";
    std::string output;
};
}  // namespace

// The header T,S,V,A,J and one row per T; every number reads back as the same double.
static std::string lawTableCsv(int law, const TwoPoints& points, const std::vector<double>& times)
{
    std::string csv = "T,S,V,A,J\n";
    for (double T : times) {
        const LawSample sample = evaluateLaw(law, T, points);
        csv += formatNumber(T) + ',' + formatNumber(sample.S) + ',' + formatNumber(sample.V) + ',' +
               formatNumber(sample.A) + ',' + formatNumber(sample.J) + '\n';
    }
    return csv;
}

static void runTable(const TableOptions& options)
{
    const int law = lawFromArgument(options.law);
    const int samples = sampleCountFromArgument(options.samples, "--samples", MAX_TABLE_SAMPLES);
    const TwoPoints points = pointsForLaws({law}, options.points);

    // T = i * timeStep with timeStep = 1.0 / N computed once, as the program's tables do.
    const double timeStep = 1.0 / samples;
    std::vector<double> times(samples + 1);
    for (int i = 0; i <= samples; i++)
        times[i] = static_cast<double>(i) * timeStep;
    requireFiniteLaws({law}, points, times);
    writeOutput(options.output, lawTableCsv(law, points, times));
}

void addTableCommand(CLI::App& app)
{
    auto options = std::make_shared<TableOptions>();
    CLI::App* command = app.add_subcommand("table", "one law sampled at N + 1 points, as CSV: T,S,V,A,J");
    command->footer("T = i * (1.0 / N) for i = 0..N, as the program's tables sample it; every number reads back as\n"
                    "the same double. A sample on a joint belongs to the earlier segment, and J is that segment's\n"
                    "finite value: where the jerk is infinite, 'camprofile laws' says so.\n");
    command->add_option("LAW", options->law, "the law, " + lawArgumentHelp())->required();
    addPointsOption(*command, options->points);
    command->add_option("--samples", options->samples,
                        "N, the number of steps: 1 to " + std::to_string(MAX_TABLE_SAMPLES) + " (default 100)")
        ->type_name("N");
    addOutputOption(*command, options->output, "write the CSV to FILE instead of standard output");
    command->callback([options] { runTable(*options); });
}
