// Text panel of the single-curve view and legend of the comparison view, at fixed window positions.
#pragma once

// Three digit characters of v, leading zeros kept, truncated; v is held to 0..999 first.
void formatThreeDigits(double v, char* digits);

// The selected curve's title, then lift, base circle radius and setup angle in degrees.
void drawTextPanel();

// Colour labels of the three compared curves, each followed by its name (curves 0..6 only).
void drawLegend(const int* curves);
