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

// The shortest digits that read back as |value|, the closest of that length, as "d.ddde+X"; returns the length.
// JavaScript's Number.prototype.toExponential() gives exactly these (to_chars_web.cpp): the page's C library
// would take the digits from printf and strtod, which compute in software long doubles, a hundred times slower.
extern "C" int toCharsShortestWeb(double value, char* text, int size);

namespace std {

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format)
{
    char text[40];
    const int length = toCharsShortestWeb(fabs(value), text, sizeof text);
    const char* const e = static_cast<const char*>(memchr(text, 'e', length));
    string significand;
    for (const char* c = text; c < e; c++)
        if (*c != '.')
            significand += *c;
    const int exponent = atoi(e + 1);
    const int count = static_cast<int>(significand.size());
    const string sign = signbit(value) ? "-" : "";

    // printf's %e: at least two digits of exponent, with its sign.
    string scientific = sign + significand.substr(0, 1) + (count > 1 ? "." + significand.substr(1) : "") + "e" +
                        (exponent < 0 ? "-" : "+") + (abs(exponent) < 10 ? "0" : "") + to_string(abs(exponent));
    // printf's %f with those digits; a whole number is written exactly, every digit its own.
    string fixed;
    if (exponent >= count - 1) {
        if (fabs(value) < 1e19) {
            fixed = to_string(static_cast<unsigned long long>(fabs(value)));
        } else {
            char whole[320];
            snprintf(whole, sizeof whole, "%.0f", fabs(value));
            fixed = whole;
        }
    } else if (exponent >= 0) {
        fixed = significand.substr(0, exponent + 1) + "." + significand.substr(exponent + 1);
    } else {
        fixed = "0." + string(-exponent - 1, '0') + significand;
    }
    fixed = sign + fixed;
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
