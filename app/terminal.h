// Console input: the single-key read and the number read, which share one byte buffer.
#pragma once

// What readKey returns at end of input: matches no key.
constexpr int KEY_NONE = -1;

// Lead codes before the second code of an arrow or function key, as the console runtime gives them.
constexpr int KEY_LEAD_FUNCTION = 0;
constexpr int KEY_LEAD_EXTENDED = 224;

// Remembers the terminal's modes and restores them at exit and on SIGINT, SIGTERM and SIGHUP.
void installTerminalGuards();

// One key press at once, without echo and without Enter. On a terminal an arrow or function key
// gives two codes on two calls (a lead code, then the key's code); elsewhere one byte a call.
int readKey();

enum NumberResult { NUMBER_OK, NUMBER_BAD, NUMBER_END };

// Reads the next white-space separated word as a finite decimal number, across line breaks.
NumberResult readNumber(double* value);

// Drops the rest of the current input line, its line break included.
void discardInputLine();

// Puts the terminal back into the modes it had when installTerminalGuards ran.
void restoreTerminal();

// Forgets buffered bytes, a pending key code and a seen end of input, as when standard input is replaced.
void forgetConsoleInput();
