// Drawing primitives and window text, in window coordinates; one implementation a platform (_x11, _web).
// Both matrices are the identity: x and y run -1..1 across the viewport, y upwards; 400 pixels a unit at 800 x 800.
#pragma once

#include "app/app_state.h"

// A colour handed unchanged to glColor4f; alpha has no effect, since blending is never enabled.
struct Rgba {
    float r;
    float g;
    float b;
    float a;
};

// The only colours the program draws with.
constexpr Rgba RED = {1.0f, 0.0f, 0.0f, 0.0f};
constexpr Rgba GREEN = {0.0f, 1.0f, 0.0f, 0.0f};
constexpr Rgba BLUE = {0.0f, 0.0f, 1.0f, 0.0f};

// Corners of every disk and circle, whatever its radius.
constexpr int CIRCLE_SEGMENTS = 120;
constexpr double CIRCLE_PI = 3.1415926536;
// Radians to degrees for glRotated, as a divisor.
constexpr double DEG_TO_RAD = 0.01745329252;

// The one font of all window text: GLUT_BITMAP_HELVETICA_18, 18-pixel glyphs whatever the zoom.
extern void* const TEXT_FONT;

// Every coordinate and length of a primitive passes through here (v * 400 / 400).
inline double toWindow(double v) { return v * 400 / 400; }

// Each primitive switches lighting off for its own drawing and on again afterwards.
void drawLine(const Point2& from, const Point2& to, const Rgba& colour);
// width in window units (0.01 is 4 pixels); leaves the line width at 2 pixels.
void drawThickLine(const Point2& from, const Point2& to, double width, const Rgba& colour);
void drawDisk(const Point2& centre, double radius, const Rgba& colour);
void drawCircle(const Point2& centre, double radius, const Rgba& colour);
// Rectangle with one corner at corner, turned counter-clockwise by angle (radians) about it.
void drawFilledRect(const Point2& corner, double width, double height, double angle, const Rgba& colour);
void drawRectOutline(const Point2& corner, double width, double height, double angle, const Rgba& colour);

// Text at raster position (x, y); it sets no colour, so under lighting it comes out near-black.
void drawText(float x, float y, void* font, const char* text);
