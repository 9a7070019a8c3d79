// The page around the web program (web/page.js): what the program waits for and what it tells the page.
#pragma once

extern "C" {
// Suspends the program until the page's terminal has bytes for it: one key press with singleKey, else one
// edited line; copies at most room of them into into and returns the count (0 at end of input).
int pageReadConsole(unsigned char* into, int room, int singleKey);

// Suspends the program until a key is typed in the canvas (or was typed before, in order); returns its code.
int pageNextWindowKey();

// Whether canvas keys are waiting to be handled.
int pageWindowKeysWaiting();

// The key last handed over has been handled; drewFrame if its frame is drawn and finished.
void pageKeyHandled(int drewFrame);

// A frame has been drawn into the canvas.
void pageFrameDrawn();

// Whether this browser can give the canvas a WebGL context at all.
int pageHasWebGL();

// The page's title, from UTF-8.
void pageSetTitle(const char* title);
}
