// Numbers as text for every report and file, written the same by every build of the command (native or the page's
// WebAssembly, whose C library prints these digits a hundred times slower).
#pragma once

#include <string>

// What printf's "%.*f" writes for value with `decimals` places: the exact binary value rounded, halves to even,
// "-" kept on a negative that rounds to zero. decimals from 0 to 17.
std::string fixedText(double value, int decimals);
