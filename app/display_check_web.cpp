// The page: without WebGL there is no window, so say so once before the menu, as the desktop program does
// without a display.
#include "app/display_check.h"
#include "app/page_web.h"

#include <cstdio>

bool windowSystemReachable(int, char**)
{
    if (pageHasWebGL())
        return true;
    fputs("camcurves: cannot open a window: this browser offers no WebGL (it may be switched off in its settings "
          "or unsupported by its graphics driver), and the picture needs it.\n",
          stderr);
    return false;
}
