// Start-up: the console phase and the hand-over to the window.
#pragma once

// Menu, start key, sample counts, geometry, tables and the key dialogue (everything before the window).
void runConsolePhase();

// The program's entry: the console phase, then the window's event loop, which never returns.
[[noreturn]] void startUp(int argc, char** argv);
