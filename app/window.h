// The window phase: one window, the display pass and the keyboard commands; the window itself is per platform.
#pragma once

// The title, UTF-8: the window system's title bar, or the page's title in a browser.
constexpr const char* WINDOW_TITLE = "カム曲線　1-7:カム曲線選択, c:3種カム, W,w:拡大縮小，r:正逆転，s:継続";

// Window size in pixels at creation; the picture stretches with the window (no aspect correction).
constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 800;

// Frames drawn and swapped since the window opened; read by the tests and the benchmark.
extern int framesDrawn;

// Creates the window and runs the event loop, GLUT's or the page's; never returns.
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
// Asks for one display pass once the keys already waiting have been handled.
void requestRedisplay();
