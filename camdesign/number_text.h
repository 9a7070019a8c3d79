// Numbers as text for every report and file, written the same by every build of the command (native or the page's
// WebAssembly, whose C library prints these digits a hundred times slower).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What printf's "%.*f" writes for value with `decimals` places: the exact binary value rounded, halves to even,
// "-" kept on a negative that rounds to zero. decimals from 0 to 17.
std::string fixedText(double value, int decimals);

// A number rounded to a number of places as printf rounds it: its digits as one integer (12.5 at 2 places: 1250)
// and its sign, kept where the digits are all zero, as printf writes "-0.00".
struct FixedDecimal {
    bool negative;
    uint64_t digits;
};
// Empty for NaN, infinities, values of 9e18 / 10^decimals and over, and decimals outside 0 to 17.
std::optional<FixedDecimal> fixedDecimal(double value, int decimals);
// The text printf writes for it: "-0.05" for {true, 5} at 2 places.
std::string fixedDecimalText(FixedDecimal number, int decimals);
