// std::to_chars for double where the page's C++ library lacks it (Emscripten 3.1.6 on Debian 12): the shortest
// text that reads back as the same double; without a format in printf's fixed or scientific form, the shorter,
// fixed on a tie; with one, fixed, scientific, or general (as printf's %g: fixed for exponents -4 to 5).
// Included into every file of the designer's build by designer_web.cmake, only where the library needs it.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace std {

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format)
{
    // The fewest significant digits that read back as the same double; printf rounds correctly, so these are the
    // digits the standard asks for (the closest of that length).
    char text[320];
    for (int digits = 1; digits <= 17; digits++) {
        snprintf(text, sizeof text, "%.*e", digits - 1, value);
        if (strtod(text, nullptr) == value)
            break;
    }
    const string scientific = text;
    const string::size_type e = scientific.find('e');
    const bool negative = scientific[0] == '-';
    string significand;
    for (string::size_type i = negative ? 1 : 0; i < e; i++)
        if (scientific[i] != '.')
            significand += scientific[i];
    const int exponent = atoi(scientific.c_str() + e + 1);
    const int count = static_cast<int>(significand.size());

    // As printf's %f writes those digits; a whole number is written exactly, every digit its own.
    string fixed;
    if (exponent >= count - 1) {
        snprintf(text, sizeof text, "%.0f", fabs(value));
        fixed = text;
    } else if (exponent >= 0) {
        fixed = significand.substr(0, exponent + 1) + "." + significand.substr(exponent + 1);
    } else {
        fixed = "0." + string(-exponent - 1, '0') + significand;
    }
    if (negative)
        fixed = "-" + fixed;
    const bool general = format == chars_format::general;
    const string& shortest = format == chars_format::fixed || (general && exponent >= -4 && exponent < 6) ? fixed
                             : format == chars_format::scientific || general                     ? scientific
                             : fixed.size() <= scientific.size()                                 ? fixed
                                                                                                 : scientific;
    if (static_cast<size_t>(last - first) < shortest.size())
        return {last, errc::value_too_large};
    memcpy(first, shortest.data(), shortest.size());
    return {first + shortest.size(), errc{}};
}

// Without a format: the shorter of the fixed and scientific forms (the call above given neither format).
inline to_chars_result to_chars(char* first, char* last, double value)
{
    return to_chars(first, last, value, chars_format{});
}

} // namespace std
