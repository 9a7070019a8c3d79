// Start-up: the console phase and the hand-over to the window.
#pragma once

// Menu, start key, sample counts, geometry, tables and the key dialogue (everything before the window).
void runConsolePhase();

// The program's entry: the display check, the console phase, then the window's event loop, which never
// returns. Ends with status 1 before the menu when the display cannot be opened.
[[noreturn]] void startUp(int argc, char** argv);
