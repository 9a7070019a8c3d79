// POSIX terminal of the native program: non-canonical, no-echo key reads on file descriptor 0, modes restored.
#include "app/console_input.h"
#include "app/terminal.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// How long the rest of an escape sequence may lag behind its ESC byte.
constexpr int ESCAPE_WAIT_MS = 30;

static struct termios savedModes;
static volatile sig_atomic_t haveSavedModes;

void restoreTerminal()
{
    if (haveSavedModes)
        tcsetattr(STDIN_FILENO, TCSANOW, &savedModes);
}

static void onFatalSignal(int signalNumber)
{
    restoreTerminal();
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

static void guardSignal(int signalNumber)
{
    struct sigaction action = {};
    struct sigaction previous = {};
    sigaction(signalNumber, nullptr, &previous);
    // A signal the parent chose to ignore (nohup) stays ignored.
    if (previous.sa_handler == SIG_IGN)
        return;
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
}

void installTerminalGuards()
{
    static bool installed;
    if (installed)
        return;
    installed = true;
    if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &savedModes) == 0) {
        haveSavedModes = 1;
        atexit(restoreTerminal);
    }
    guardSignal(SIGINT);
    guardSignal(SIGTERM);
    guardSignal(SIGHUP);
}

bool consoleIsTerminal() { return haveSavedModes; }

// One read(), repeated when a signal interrupts it.
static int readSome(unsigned char* into, int room)
{
    for (;;) {
        ssize_t got = read(STDIN_FILENO, into, room);
        if (got >= 0 || errno != EINTR)
            return got > 0 ? static_cast<int>(got) : 0;
    }
}

// A key reads with the terminal in non-canonical, no-echo mode; if its byte is an ESC alone, the rest of
// an escape sequence gets a moment to follow. The modes are restored before returning.
int readConsoleBytes(unsigned char* into, int room, bool singleKey)
{
    if (!singleKey)
        return readSome(into, room);
    struct termios raw = savedModes;
    raw.c_lflag &= ~(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    int got = readSome(into, room);
    if (got == 1 && into[0] == 0x1b && room > 1) {
        struct pollfd waitFor = {STDIN_FILENO, POLLIN, 0};
        if (poll(&waitFor, 1, ESCAPE_WAIT_MS) > 0)
            got += readSome(into + 1, room - 1);
    }
    restoreTerminal();
    return got;
}
