// The platform's side of console input: raw bytes from the terminal (or whatever standard input is).
#pragma once

// True when keys are read one press at a time: a terminal whose modes could be saved, or the page's terminal.
bool consoleIsTerminal();

// Reads what the console gives into into (room > 0 bytes). With singleKey: at least one key press, without
// echo and without Enter, an escape sequence whole; otherwise one read as the console delivers it (a whole
// edited line at a terminal). Returns the count, or 0 at end of input or on an error.
int readConsoleBytes(unsigned char* into, int room, bool singleKey);
