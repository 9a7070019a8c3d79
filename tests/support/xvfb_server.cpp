// Test support: Xvfb on a display number of its own choosing.
#include "tests/support/xvfb_server.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

static pid_t serverPid = -1;

bool startXvfb()
{
    int ready[2];
    if (pipe(ready) != 0)
        return false;
    const std::string readyFd = std::to_string(ready[1]);
    if ((serverPid = fork()) == 0) {
        freopen("/dev/null", "w", stderr);
        close(ready[0]);
        execlp("Xvfb", "Xvfb", "-displayfd", readyFd.c_str(), "-screen", "0", "1024x1024x24", "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Xvfb takes the first free display number and writes it down once it accepts clients, the line break
    // last: the pipe stays open until then, or that write would end the server.
    close(ready[1]);
    std::string display = ":";
    for (char c = 0; c != '\n' && read(ready[0], &c, 1) == 1;)
        display += c == '\n' ? "" : std::string(1, c);
    close(ready[0]);
    return display.size() > 1 && setenv("DISPLAY", display.c_str(), 1) == 0;
}

void stopXvfb()
{
    if (serverPid > 0 && kill(serverPid, SIGTERM) == 0)
        waitpid(serverPid, nullptr, 0);
}
