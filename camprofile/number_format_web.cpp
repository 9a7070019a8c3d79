// Shortest round-trip formatting for the page, whose C++ library (Emscripten 3.1.6 on Debian 12) has no
// std::to_chars for double: the same text as number_format.cpp gives, built from printf's correctly rounded digits.
#include "camprofile/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

std::string formatNumber(double value)
{
    // The fewest significant digits that read back as the same double; printf rounds correctly, so these are the
    // digits std::to_chars picks (the closest of that length).
    char text[320];
    for (int digits = 1; digits <= 17; digits++) {
        std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    const std::string scientific = text;
    const std::string::size_type e = scientific.find('e');
    const bool negative = scientific[0] == '-';
    std::string significand;
    for (std::string::size_type i = negative ? 1 : 0; i < e; i++)
        if (scientific[i] != '.')
            significand += scientific[i];
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    const int count = static_cast<int>(significand.size());

    // As printf's %f would write those digits; a whole number is written exactly, all its digits its own.
    std::string fixed;
    if (exponent >= count - 1) {
        std::snprintf(text, sizeof text, "%.0f", std::fabs(value));
        fixed = text;
    } else if (exponent >= 0)
        fixed = significand.substr(0, exponent + 1) + "." + significand.substr(exponent + 1);
    else
        fixed = "0." + std::string(-exponent - 1, '0') + significand;
    if (negative)
        fixed = "-" + fixed;
    // std::to_chars: the shorter of the two forms, the fixed one on a tie.
    return fixed.size() <= scientific.size() ? fixed : scientific;
}
