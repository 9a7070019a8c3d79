// The window phase: one GLUT window, the display pass and the keyboard commands.
#pragma once

// Window size in pixels at creation; the picture stretches with the window (no aspect correction).
constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 800;

// Frames drawn and swapped since the window opened; read by the tests and the benchmark.
extern int framesDrawn;

// Creates the window and runs GLUT's event loop; never returns.
[[noreturn]] void runWindow(int* argc, char** argv);

// Steps 1 to 6 of runWindow: everything but the event loop.
void openWindow(int* argc, char** argv);

void createMainWindow();
void setClearColour();
void displayPass();
void onReshape(int width, int height);
void onKey(unsigned char key, int x, int y);
void beginFrame();
void endFrame();
