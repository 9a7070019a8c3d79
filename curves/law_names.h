// The laws' English names as the window shows them: each text panel title is "(k) " and the law's name.
#pragma once

#include "curves/motion_laws.h"

// Text panel titles, indexed by law; the window shows the first CURVE_COUNT.
extern const char* const LAW_TITLES[LAW_COUNT];

// Characters of the "(k) " that opens each title.
constexpr int LAW_TITLE_NUMBER_LENGTH = 4;

// The name alone, as the legend shows it: "parabolic cam curve", ..., "2 intermittent points given cam curve".
inline const char* lawName(int curve) { return LAW_TITLES[curve] + LAW_TITLE_NUMBER_LENGTH; }
