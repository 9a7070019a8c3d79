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

// The shortest digits that read back as |value|, the closest of that length, without the point ("12345"), and
// the decimal exponent of the first: 1.2345 × 10^exponent. Returns the number of digits. JavaScript's
// Number.prototype.toExponential() gives exactly these (to_chars_web.cpp); the page's C library would take them
// from printf and strtod, which compute in software long doubles, a hundred times slower.
extern "C" int toCharsShortestWeb(double value, char* digits, int* exponent);

namespace std {

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format)
{
    char digits[24];
    int exponent = 0;
    const int count = toCharsShortestWeb(fabs(value), digits, &exponent);
    // A whole number is written in full by %f, every digit its own, even beyond the shortest ones.
    char whole[320] = "";
    if (exponent >= count - 1 && fabs(value) < 1e19)
        snprintf(whole, sizeof whole, "%llu", static_cast<unsigned long long>(fabs(value)));
    else if (exponent >= count - 1)
        snprintf(whole, sizeof whole, "%.0f", fabs(value));
    const int wholeLength = static_cast<int>(strlen(whole));

    // Lengths without the sign: printf's %e (two exponent digits at least) and %f.
    const int exponentDigits = abs(exponent) >= 100 ? 3 : 2;
    const int scientificLength = count + (count > 1) + 2 + exponentDigits;
    const int fixedLength = exponent >= count - 1 ? wholeLength
                            : exponent >= 0       ? count + 1
                                                  : 1 + 1 + (-exponent - 1) + count;
    const bool general = format == chars_format::general;
    const bool fixed = format == chars_format::fixed || (general && exponent >= -4 && exponent < 6) ||
                       (format != chars_format::scientific && !general && fixedLength <= scientificLength);

    const bool negative = signbit(value);
    const int length = negative + (fixed ? fixedLength : scientificLength);
    if (last - first < length)
        return {last, errc::value_too_large};
    char* out = first;
    if (negative)
        *out++ = '-';
    if (!fixed) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = '.';
            memcpy(out, digits + 1, count - 1);
            out += count - 1;
        }
        out += snprintf(out, 8, "e%c%0*d", exponent < 0 ? '-' : '+', exponentDigits, abs(exponent));
    } else if (exponent >= count - 1) {
        memcpy(out, whole, wholeLength);
        out += wholeLength;
    } else if (exponent >= 0) {
        memcpy(out, digits, exponent + 1);
        out += exponent + 1;
        *out++ = '.';
        memcpy(out, digits + exponent + 1, count - exponent - 1);
        out += count - exponent - 1;
    } else {
        *out++ = '0';
        *out++ = '.';
        memset(out, '0', -exponent - 1);
        out += -exponent - 1;
        memcpy(out, digits, count);
        out += count;
    }
    return {out, errc{}};
}

// Without a format: the shorter of the fixed and scientific forms (the call above given neither format).
inline to_chars_result to_chars(char* first, char* last, double value)
{
    return to_chars(first, last, value, chars_format{});
}

} // namespace std
