// The laws' titles, the one place their names are spelled.
#include "curves/law_names.h"

const char* const LAW_TITLES[LAW_COUNT] = {
    "(0) parabolic cam curve",
    "(1) harmonic cam curve",
    "(2) cycloid cam curve",
    "(3) modified trapezoid cam curve",
    "(4) modified sine cam curve",
    "(5) Gutman F-3 cam curve",
    "(6) modified constant velocity cam curve",
    "(7) 2 intermittent points given cam curve",
    "(8) 3-4-5 polynomial cam curve",
    "(9) 4-5-6-7 polynomial cam curve",
};
