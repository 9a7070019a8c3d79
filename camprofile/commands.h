// The subcommands of camprofile; each registers itself, its options and its action on the top-level command.
#pragma once

#include <CLI/CLI.hpp>

void addLawsCommand(CLI::App& app);
void addTableCommand(CLI::App& app);
void addPlotCommand(CLI::App& app);
void addCamCommand(CLI::App& app);
void addSizeCommand(CLI::App& app);
