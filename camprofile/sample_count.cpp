// Parsing of counts with a message that states the allowed range.
#include "camprofile/sample_count.h"

#include <cerrno>
#include <cstdlib>

#include <CLI/CLI.hpp>

int sampleCountFromArgument(const std::string& text, const std::string& option, int limit)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < 1 || value > limit)
        throw CLI::ValidationError(option, "must be a whole number from 1 to " + std::to_string(limit) + ", got '" +
                                               text + "'");
    return static_cast<int>(value);
}
