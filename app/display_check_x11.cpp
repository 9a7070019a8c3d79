// X11: the display check, mirroring how glutInit picks its display from the command line and DISPLAY.
#include "app/display_check.h"

#include <X11/Xlib.h>
#include <cstdio>
#include <cstring>

bool windowSystemReachable(int argc, char** argv)
{
    // glutInit takes the last "-display NAME"; the word after "-geometry" is its argument, never an option.
    const char* name = nullptr;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "-geometry") == 0) {
            i++;
        } else if (strcmp(argv[i], "-display") == 0) {
            if (++i >= argc) {
                fputs("camcurves: -display needs a display name, e.g. camcurves -display :0\n", stderr);
                return false;
            }
            name = argv[i];
        }
    }

    Display* connection = XOpenDisplay(name);
    if (connection != nullptr) {
        XCloseDisplay(connection);
        return true;
    }
    // XDisplayName gives what XOpenDisplay tried: the name, else DISPLAY, else "".
    const char* tried = XDisplayName(name);
    if (*tried == '\0')
        fputs("camcurves: cannot open a window: DISPLAY is not set. Start it in a graphical session, over "
              "\"ssh -X\", or as \"xvfb-run camcurves\".\n",
              stderr);
    else
        fprintf(stderr,
                "camcurves: cannot open a window on X display \"%s\": no X server there lets this program in. "
                "Check that it runs and that you may use it, or name another with DISPLAY or -display NAME.\n",
                tried);
    return false;
}
