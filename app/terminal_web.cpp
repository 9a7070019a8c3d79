// The page's terminal as the console: keys and edited lines come from its data events (web/page.js), which
// also echoes and edits the line as a terminal in canonical mode would; there are no modes to save here.
#include "app/console_input.h"
#include "app/page_web.h"
#include "app/terminal.h"

void installTerminalGuards() {}

void restoreTerminal() {}

bool consoleIsTerminal() { return true; }

int readConsoleBytes(unsigned char* into, int room, bool singleKey)
{
    return pageReadConsole(into, room, singleKey ? 1 : 0);
}
