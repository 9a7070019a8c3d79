// A real number on the command line (a length, an angle), refused with the option's name when it is not one.
#pragma once

#include <string>

// Throws CLI::ValidationError naming `option` (and `value`, one of several values it takes, if given) when text
// is not a whole finite number (nan, inf and numbers beyond the double range included).
double finiteNumberFromArgument(const std::string& text, const std::string& option, const std::string& value = "");
// The same, and above 0.
double positiveNumberFromArgument(const std::string& text, const std::string& option);
