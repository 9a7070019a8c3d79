// Test support: a private Xvfb server on a free display number, started and ended by the test itself.
#pragma once

// Starts Xvfb (one 1024 x 1024 x 24 screen) and sets DISPLAY to it; false if it fails.
bool startXvfb();

// Ends the server started by startXvfb.
void stopXvfb();
