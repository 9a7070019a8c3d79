// Where a command's text goes (a file named by -o, or standard output) and how its numbers are written.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

// The shortest text that reads back as the same double.
std::string formatNumber(double value);

// Adds -o FILE to a command; without it (or with "-") the text goes to standard output.
CLI::Option* addOutputOption(CLI::App& command, std::string& path, const std::string& what);

// Writes text to path, or to standard output when path is empty or "-". When that fails it prints the reason on
// standard error, naming `option`, and throws CLI::RuntimeError(1), which ends camprofile with status 1.
void writeOutput(const std::string& path, const std::string& text, const std::string& option = "-o");
