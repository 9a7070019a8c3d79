// The window title in the window system's own text encoding.
#pragma once

// Sets the current GLUT window's title so that a window manager shows these UTF-8 characters.
void setWindowTitleUtf8(const char* title);
