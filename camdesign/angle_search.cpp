// Golden-section search and bisection, shared by the laws' characteristic values, the cam check and its users.
#include "camdesign/angle_search.h"

#include <cmath>

// Enough steps to shrink any bracket of doubles to nothing: 0.618^200 is below 1e-41.
constexpr int MAX_STEPS = 200;

SearchPoint goldenSectionMax(const RealFunction& f, double a, double b, double tolerance)
{
    const double g = (std::sqrt(5.0) - 1) / 2;
    double x1 = b - g * (b - a), x2 = a + g * (b - a);
    double f1 = f(x1), f2 = f(x2);
    SearchPoint best = f1 >= f2 ? SearchPoint{x1, f1} : SearchPoint{x2, f2};
    for (int step = 0; step < MAX_STEPS && b - a > tolerance; step++) {
        if (f1 < f2) {
            a = x1, x1 = x2, f1 = f2;
            x2 = a + g * (b - a), f2 = f(x2);
            if (f2 > best.value)
                best = {x2, f2};
        } else {
            b = x2, x2 = x1, f2 = f1;
            x1 = b - g * (b - a), f1 = f(x1);
            if (f1 > best.value)
                best = {x1, f1};
        }
    }
    const double middle = (a + b) / 2, value = f(middle);
    return value >= best.value ? SearchPoint{middle, value} : best;
}

double bisectCrossing(const RealFunction& f, double a, double b, double tolerance)
{
    const bool aPositive = f(a) > 0;
    for (int step = 0; step < MAX_STEPS && b - a > tolerance; step++) {
        const double m = (a + b) / 2;
        ((f(m) > 0) == aPositive ? a : b) = m;
    }
    return (a + b) / 2;
}
