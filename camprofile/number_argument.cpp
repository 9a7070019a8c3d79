// Parsing of real numbers with a message that quotes what was typed.
#include "camprofile/number_argument.h"

#include <cmath>
#include <cstdlib>

#include <CLI/CLI.hpp>

double finiteNumberFromArgument(const std::string& text, const std::string& option, const std::string& valueName)
{
    const std::string subject = valueName.empty() ? "" : valueName + " ";
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0')
        throw CLI::ValidationError(option, subject + "must be a number, got '" + text + "'");
    // strtod reads "nan" and "inf", and gives inf for a number beyond the double range.
    if (!std::isfinite(value))
        throw CLI::ValidationError(option, subject + "must be a finite number, got '" + text + "'");
    return value;
}

double positiveNumberFromArgument(const std::string& text, const std::string& option)
{
    const double value = finiteNumberFromArgument(text, option);
    if (value <= 0)
        throw CLI::ValidationError(option, "must be above 0, got '" + text + "'");
    return value;
}
