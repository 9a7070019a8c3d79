// The browser test's reference: the desktop program's real window on a private Xvfb, driven through the same
// console input and window keys as the page, its picture read back and its console bytes kept.
// Usage: web_native_reference OUT_PREFIX CONSOLE_INPUT WINDOW_KEYS; writes OUT_PREFIX.rgb (800 x 800 RGB, rows
// from the top) and OUT_PREFIX.out (every byte written on standard output).
#include <GL/freeglut.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/start_up.h"
#include "app/window.h"
#include "tests/support/xvfb_server.h"

// Lets freeglut handle what is waiting (the first exposure, a redisplay posted after a dialogue).
static void handleEvents()
{
    for (int i = 0; i < 20; i++) {
        glutMainLoopEvent();
        usleep(2000);
    }
}

static bool savePicture(const std::string& path)
{
    glFinish();
    std::vector<unsigned char> pixels(WINDOW_WIDTH * WINDOW_HEIGHT * 3);
    // Mesa's swap copies the back buffer to the window and keeps it: the back buffer holds the frame shown.
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    FILE* file = fopen(path.c_str(), "wb");
    bool ok = file != nullptr;
    for (int row = WINDOW_HEIGHT - 1; ok && row >= 0; row--)
        ok = fwrite(pixels.data() + row * WINDOW_WIDTH * 3, 1, WINDOW_WIDTH * 3, file) == WINDOW_WIDTH * 3u;
    return file != nullptr && fclose(file) == 0 && ok;
}

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: %s OUT_PREFIX CONSOLE_INPUT WINDOW_KEYS\n", argv[0]);
        return 2;
    }
    const std::string prefix = argv[1];
    int input[2];
    int output = open((prefix + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (output < 0 || pipe(input) != 0 || write(input[1], argv[2], strlen(argv[2])) < 0 || !startXvfb()) {
        fprintf(stderr, "native_reference: cannot set up the console or Xvfb\n");
        return 1;
    }
    close(input[1]);
    dup2(input[0], STDIN_FILENO);
    fflush(stdout);
    dup2(output, STDOUT_FILENO);

    runConsolePhase();
    int glutArgc = 1;
    char name[] = "camcurves";
    char* glutArgv[] = {name, nullptr};
    openWindow(&glutArgc, glutArgv);
    for (int i = 0; i < 500 && framesDrawn == 0; i++)
        handleEvents();
    for (const char* key = argv[3]; *key != '\0'; key++) {
        onKey(static_cast<unsigned char>(*key), 0, 0);
        handleEvents();
    }
    fflush(stdout);
    bool saved = framesDrawn > 0 && savePicture(prefix + ".rgb");
    glutExit();
    stopXvfb();
    return saved ? 0 : 1;
}
