// The cam library's one golden-section search and one bisection of a sign change, over any real argument
// (cam angles in degrees, normalized time, a length): every extreme and every stretch end is refined by these.
#pragma once

#include <functional>

using RealFunction = std::function<double(double)>;

struct SearchPoint {
    double x;
    double value;
};

// The largest value of f in [a, b], which the caller has bracketed around a single peak: golden-section steps
// until the bracket is at most `tolerance` wide (or no longer shrinks). Returns the best point evaluated, so it
// is never worse than the bracket's middle.
SearchPoint goldenSectionMax(const RealFunction& f, double a, double b, double tolerance);

// Where f > 0 turns true or false between a and b, whose sides differ: bisection down to `tolerance`. A jump of
// f is found as well as a root.
double bisectCrossing(const RealFunction& f, double a, double b, double tolerance);
