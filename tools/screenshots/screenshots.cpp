// Renders the documentation's screenshots: the real window on a private Xvfb, read back and saved as PNG.
// Usage: camcurves-screenshots OUTPUT_FOLDER; writes single-curve.png, comparison.png and curve7.png.
#include <GL/freeglut.h>
#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/start_up.h"
#include "app/terminal.h"
#include "app/window.h"
#include "tests/support/xvfb_server.h"

// Runs the console phase with input as what the user types; its console text is not wanted here.
static void runConsolePhaseWith(const char* input)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return;
    ssize_t written = write(pipeEnds[1], input, strlen(input));
    (void)written;
    close(pipeEnds[1]);
    dup2(pipeEnds[0], STDIN_FILENO);
    close(pipeEnds[0]);
    forgetConsoleInput();

    fflush(stdout);
    int savedOut = dup(STDOUT_FILENO);
    int nowhere = open("/dev/null", O_WRONLY);
    dup2(nowhere, STDOUT_FILENO);
    runConsolePhase();
    fflush(stdout);
    dup2(savedOut, STDOUT_FILENO);
    close(nowhere);
    close(savedOut);
}

// Draws one frame as a key would and writes it, rows from the top as PNG wants them.
static bool saveFrame(const std::string& path)
{
    displayPass();
    glFinish();
    std::vector<unsigned char> pixels(WINDOW_WIDTH * WINDOW_HEIGHT * 3);
    // Mesa's software rasterizer never fills the front buffer of a double-buffered window (it reads back
    // black); its swap copies the back buffer to the window and keeps it, so the back buffer holds the frame shown.
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, WINDOW_WIDTH, WINDOW_HEIGHT, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int row = WINDOW_HEIGHT - 1; row >= 0; row--)
        png_write_row(png, pixels.data() + row * WINDOW_WIDTH * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    fclose(file);
    printf("wrote %s\n", path.c_str());
    return true;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    if (!startXvfb()) {
        fprintf(stderr, "could not start Xvfb\n");
        return 1;
    }

    // Start-up as a user would do it with the start key 4, then the window as runWindow opens it.
    runConsolePhaseWith("4");
    int glutArgc = 1;
    char name[] = "camcurves";
    char* glutArgv[] = {name, nullptr};
    openWindow(&glutArgc, glutArgv);
    // Let the window be mapped and drawn once before frames are read back from it.
    for (int i = 0; i < 1000 && framesDrawn == 0; i++) {
        glutMainLoopEvent();
        usleep(5000);
    }

    bool ok = true;
    // Modified sine at mid-rise: follower half-way up, markers at T = 0.5.
    appState.stepIndex = 50;
    ok = saveFrame(folder + "/single-curve.png") && ok;

    // Cycloid, modified sine and modified constant velocity compared.
    runConsolePhaseWith("c246");
    ok = saveFrame(folder + "/comparison.png") && ok;

    // Curve 7 through A(0.3, 0.2) and B(0.7, 0.8); start-up asks for the points twice.
    runConsolePhaseWith("70.3 0.2 0.7 0.8\n0.3 0.2 0.7 0.8\n");
    appState.stepIndex = 30;
    ok = saveFrame(folder + "/curve7.png") && ok;

    // Close the connection first: a server that goes away under it makes Xlib end the process.
    glutExit();
    stopXvfb();
    return ok ? 0 : 1;
}
