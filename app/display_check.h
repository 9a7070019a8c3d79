// Before the console dialogue: can the window system that glutInit will use be reached at all?
#pragma once

// Opens and closes the X display that glutInit will open: the last "-display NAME" on the command line,
// else DISPLAY. If it cannot be opened, writes one line on standard error naming the display and what
// to do, and returns false; writes nothing otherwise.
bool windowSystemReachable(int argc, char** argv);
