// Test support: a private Xvfb server on a free display number, started and ended by the test itself.
#pragma once

#include <string>
#include <vector>

// Starts Xvfb (1024 x 1024 x 24, frame buffer kept in a file) and sets DISPLAY; false if it fails.
bool startXvfb();

// Ends the server started by startXvfb and removes its frame buffer folder.
void stopXvfb();

// The display name set in DISPLAY, e.g. ":93".
std::string xvfbDisplay();

// The folder that holds Xvfb_screen0, the screen as an XWD file updated live.
std::string xvfbFrameBufferDir();

// The screen rectangle at (left, top), width x height, as 0xRRGGBB pixels row by row from the top, read from
// Xvfb's screen file (an XWD image of 32-bit B G R X pixels); pixels off the screen hold offScreen.
// False when the file could not be read whole (it is rewritten live).
bool readXvfbScreen(int left, int top, int width, int height, unsigned offScreen, std::vector<unsigned>* pixels);
