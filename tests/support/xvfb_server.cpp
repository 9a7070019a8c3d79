// Test support: Xvfb on the first display number with no server and no lock file; its screen read from its file.
#include "tests/support/xvfb_server.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

static pid_t serverPid = -1;
static std::string screenFile;

static bool exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool startXvfb()
{
    char folder[] = "/tmp/camcurves-xvfb-XXXXXX";
    screenFile = mkdtemp(folder) ? std::string(folder) + "/Xvfb_screen0" : "";
    // Away from the usual desktops; a server that loses the race for a number ends, and the next is tried.
    for (int number = 90 + getpid() % 50; number < 400 && !screenFile.empty(); number++) {
        const std::string name = ":" + std::to_string(number), socket = "/tmp/.X11-unix/X" + name.substr(1);
        if (exists(socket) || exists("/tmp/.X" + name.substr(1) + "-lock") || (serverPid = fork()) < 0)
            continue;
        if (serverPid == 0) {
            freopen("/dev/null", "w", stderr);
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1024x1024x24", "-fbdir", folder, "-nolisten",
                   "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        pid_t ended = 0;
        for (int wait = 0; wait < 200 && (ended = waitpid(serverPid, nullptr, WNOHANG)) == 0; wait++, usleep(25000))
            if (exists(socket) && exists(screenFile))
                return setenv("DISPLAY", name.c_str(), 1) == 0;
        if (ended == 0 && kill(serverPid, SIGKILL) == 0)
            waitpid(serverPid, nullptr, 0);
        serverPid = -1;
    }
    return false;
}

void stopXvfb()
{
    if (serverPid > 0 && kill(serverPid, SIGTERM) == 0)
        waitpid(serverPid, nullptr, 0);
    unlink(screenFile.c_str());
    rmdir(screenFile.substr(0, screenFile.rfind('/')).c_str());
}

bool readXvfbScreen(int left, int top, int width, int height, unsigned offScreen, std::vector<unsigned>* pixels)
{
    pixels->assign(static_cast<size_t>(width) * height, offScreen);
    std::ifstream in(screenFile, std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An XWD file: big-endian header words, a colour map of 12 bytes an entry, then rows of B G R X pixels.
    auto word = [&](int i) {
        return long(file[4 * i]) << 24 | file[4 * i + 1] << 16 | file[4 * i + 2] << 8 | file[4 * i + 3];
    };
    if (file.size() < 100 || long(file.size()) < word(0) + word(19) * 12 + word(12) * word(5))
        return false;
    for (long y = std::max(top, 0); y < std::min<long>(top + height, word(5)); y++)
        for (long x = std::max(left, 0); x < std::min<long>(left + width, word(4)); x++) {
            const unsigned char* p = &file[word(0) + word(19) * 12 + y * word(12) + x * 4];
            (*pixels)[(y - top) * width + (x - left)] = p[2] << 16 | p[1] << 8 | p[0];
        }
    return true;
}
