// camprofile: the characteristic values, sampled tables and S-V-A-J plots of the cam motion laws, and a real cam.
#include <iostream>

#include <CLI/CLI.hpp>

#include "camprofile/commands.h"

// Status of a command line that camprofile refuses.
constexpr int USAGE_ERROR = 2;

int main(int argc, char** argv)
{
    CLI::App app{"camprofile: numbers and plots of the normalized cam motion laws (T, S run 0..1 over the rise),\n"
                 "and a real disk cam from a law or a motion program: its check, dynamics, table, plot and profile,\n"
                 "the smallest base radius that meets the limits, and the shop's files (DXF arcs, G-code)",
                 "camprofile"};
    app.require_subcommand(1, 1);
    app.footer("LAW is 0..9 or a name: parabolic, harmonic, cycloid, modified-trapezoid, modified-sine,\n"
               "gutman-f3, modified-constant-velocity, two-point, polynomial-345, polynomial-4567.\n"
               "Law 7 needs --points TA SA TB SB.\n"
               "Status: 0 done, 1 a file could not be written, 2 a bad command line,\n"
               "3 (size) no base radius up to 100000 mm meets the limits.\n");
    addLawsCommand(app);
    addTableCommand(app);
    addPlotCommand(app);
    addCamCommand(app);
    addSizeCommand(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::RuntimeError& e) {
        // Already reported by the command itself.
        return e.get_exit_code();
    } catch (const CLI::ParseError& e) {
        // CLI11 reports a misspelt command as a missing one; name the word instead.
        if (app.get_subcommands().empty() && argc > 1 && argv[1][0] != '-') {
            std::cerr << "camprofile: unknown command '" << argv[1] << "': give laws, table, plot or cam\n";
            return USAGE_ERROR;
        }
        std::cerr << "camprofile: " << e.what() << "\nRun 'camprofile --help' for more information.\n";
        return USAGE_ERROR;
    }
    return 0;
}
