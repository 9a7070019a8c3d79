// A count on the command line (samples, steps): a whole number within 1..limit.
#pragma once

#include <string>

// Throws CLI::ValidationError naming `option` when text is not a whole number from 1 to limit.
int sampleCountFromArgument(const std::string& text, const std::string& option, int limit);
