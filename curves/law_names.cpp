// The laws' titles, the one place their names are spelled.
#include "curves/law_names.h"

const char* const LAW_TITLES[CURVE_COUNT] = {
    "(0) parabolic cam curve",
    "(1) harmonic cam curve",
    "(2) cycloid cam curve",
    "(3) modified trapezoid cam curve",
    "(4) modified sine cam curve",
    "(5) Gutman F-3 cam curve",
    "(6) modified constant velocity cam curve",
    "(7) 2 intermittent points given cam curve",
};
