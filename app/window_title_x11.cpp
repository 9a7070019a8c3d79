// X11 window title: freeglut stores title bytes as Latin-1 STRING, so set WM_NAME and _NET_WM_NAME from UTF-8.
#include "app/window_title.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>

void setWindowTitleUtf8(const char* title)
{
    Display* display = glXGetCurrentDisplay();
    Window window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0)
        return;
    // WM_NAME and WM_ICON_NAME as compound text that decodes to the same characters.
    Xutf8SetWMProperties(display, window, title, title, nullptr, 0, nullptr, nullptr, nullptr);
    // Window managers prefer the UTF-8 names; set them whatever Xutf8SetWMProperties did.
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(title);
    int length = static_cast<int>(strlen(title));
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8, PropModeReplace, bytes,
                    length);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON_NAME", False), utf8, 8, PropModeReplace,
                    bytes, length);
    XFlush(display);
}
