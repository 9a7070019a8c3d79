// Test support: start Xvfb on the first display number with no server and no lock file.
#include "tests/support/xvfb_server.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

static pid_t serverPid = -1;
static std::string displayName;
static std::string frameBufferDir;

static bool pathExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool startXvfb()
{
    char folder[] = "/tmp/camcurves-xvfb-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return false;
    frameBufferDir = folder;
    // Start from a number away from the usual desktops; several test programs may run one after another.
    for (int number = 90 + static_cast<int>(getpid() % 50); number < 400; number++) {
        std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
        if (pathExists(socket) || pathExists(lock))
            continue;
        std::string name = ":" + std::to_string(number);
        pid_t pid = fork();
        if (pid == 0) {
            freopen("/dev/null", "w", stderr);
            freopen("/dev/null", "w", stdout);
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1024x1024x24", "-fbdir", folder, "-nolisten",
                   "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        // Ready when the socket exists; a server that lost the race for this number exits.
        for (int wait = 0; wait < 200; wait++) {
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                break;
            }
            if (pathExists(socket) && pathExists(std::string(folder) + "/Xvfb_screen0")) {
                serverPid = pid;
                displayName = name;
                setenv("DISPLAY", name.c_str(), 1);
                usleep(100000);
                return true;
            }
            usleep(25000);
        }
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    return false;
}

void stopXvfb()
{
    if (serverPid > 0) {
        kill(serverPid, SIGTERM);
        waitpid(serverPid, nullptr, 0);
        serverPid = -1;
    }
    if (!frameBufferDir.empty()) {
        std::string screen = frameBufferDir + "/Xvfb_screen0";
        unlink(screen.c_str());
        rmdir(frameBufferDir.c_str());
    }
}

std::string xvfbDisplay() { return displayName; }

std::string xvfbFrameBufferDir() { return frameBufferDir; }

bool readXvfbScreen(int left, int top, int width, int height, unsigned offScreen, std::vector<unsigned>* pixels)
{
    pixels->assign(static_cast<size_t>(width) * height, offScreen);
    std::ifstream in(frameBufferDir + "/Xvfb_screen0", std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < 100)
        return false;
    auto word = [&](int i) -> long {
        const unsigned char* b = &file[4 * i];
        return (long(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
    };
    // Header, then the colour map of 12 bytes an entry, then the rows.
    const long start = word(0) + word(19) * 12, perLine = word(12), screenW = word(4), screenH = word(5);
    if (long(file.size()) < start + perLine * screenH)
        return false;
    for (int r = 0; r < height; r++)
        for (int c = 0; c < width; c++) {
            long x = c + left, y = r + top, at = start + y * perLine + x * 4;
            if (x >= 0 && y >= 0 && x < screenW && y < screenH)
                (*pixels)[static_cast<size_t>(r) * width + c] = (file[at + 2] << 16) | (file[at + 1] << 8) | file[at];
        }
    return true;
}
