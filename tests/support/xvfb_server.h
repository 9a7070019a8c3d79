// Test support: a private Xvfb server on a free display number, started and ended by the test itself.
#pragma once

#include <vector>

// Starts Xvfb (1024 x 1024 x 24, the screen kept in a file) and sets DISPLAY; false if it fails.
bool startXvfb();

// Ends the server started by startXvfb and removes its screen file.
void stopXvfb();

// The screen rectangle at (left, top), width x height, as 0xRRGGBB pixels row by row from the top;
// pixels off the screen hold offScreen. False when the screen file could not be read whole (it is rewritten live).
bool readXvfbScreen(int left, int top, int width, int height, unsigned offScreen, std::vector<unsigned>* pixels);
