// Shortest round-trip formatting through std::to_chars.
#include "camprofile/number_format.h"

#include <charconv>

std::string formatNumber(double value)
{
    // 32 characters hold the longest shortest form, e.g. -2.2250738585072014e-308.
    char text[32];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}
