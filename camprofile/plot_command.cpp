// `camprofile plot`: the S, V, A and J charts of up to three laws on one SVG page.
#include <cmath>
#include <string>
#include <vector>

#include "camprofile/commands.h"
#include "camprofile/arguments.h"
#include "camprofile/output.h"
#include "camprofile/svg_plot.h"

// Points per unit of T along each curve; every segment gets at least MIN_SEGMENT_POINTS.
constexpr double POINTS_PER_RISE = 600;
constexpr int MIN_SEGMENT_POINTS = 20;

namespace {
struct PlotOptions {
    std::vector<std::string> laws;
    std::vector<std::string> points;
    std::string output;
};
}  // namespace

// Each segment from its own start to its end: at a joint, the next double above it starts the next segment.
static std::vector<double> plotTimes(int law, const TwoPoints& points)
{
    double bounds[MAX_LAW_JOINTS + 2];
    const int segments = lawSegmentBounds(law, points, bounds);
    std::vector<double> times;
    for (int k = 0; k < segments; k++) {
        const double lo = bounds[k], hi = bounds[k + 1];
        const int count = std::max(MIN_SEGMENT_POINTS, static_cast<int>(std::ceil(POINTS_PER_RISE * (hi - lo))));
        times.push_back(k == 0 ? lo : std::nextafter(lo, hi));
        for (int i = 1; i < count; i++)
            times.push_back(lo + (hi - lo) * i / count);
        times.push_back(hi);
    }
    return times;
}

static void runPlot(const PlotOptions& options)
{
    if (options.laws.size() > MAX_PLOTTED_LAWS)
        throw CLI::ValidationError("LAW", "at most " + std::to_string(MAX_PLOTTED_LAWS) + " laws on one plot, got " +
                                              std::to_string(options.laws.size()));
    std::vector<int> laws;
    for (const std::string& text : options.laws)
        laws.push_back(lawFromArgument(text));
    const TwoPoints points = pointsForLaws(laws, options.points);

    std::vector<PlottedLaw> plotted;
    for (int law : laws) {
        PlottedLaw entry = {law, plotTimes(law, points), {}, {}};
        requireFiniteLaws({law}, points, entry.times);
        LawCharacteristics values;
        if (!lawCharacteristics(law, points, values))
            throw CLI::ValidationError("--points", "law 7 overflows between 0 and 1: S, V, A and J must be finite");
        entry.infiniteJerks = values.infiniteJerks;
        for (double T : entry.times)
            entry.samples.push_back(evaluateLaw(law, T, points));
        plotted.push_back(entry);
    }
    writeOutput(options.output, motionPlotSvg(plotted));
}

void addPlotCommand(CLI::App& app)
{
    auto options = std::make_shared<PlotOptions>();
    CLI::App* command = app.add_subcommand("plot", "S, V, A and J charts of up to three laws, as an SVG file");
    command->footer("The laws are drawn in red, blue and green in the order given, and named in the legend.\n"
                    "Where the acceleration jumps, the jerk is infinite: an arrow marked +∞ or −∞ stands there.\n");
    command->add_option("LAW", options->laws, "one to three laws, each " + lawArgumentHelp())->required();
    addPointsOption(*command, options->points);
    addOutputOption(*command, options->output, "the SVG file to write")->required();
    command->callback([options] { runPlot(*options); });
}
