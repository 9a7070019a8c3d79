// A law's sampled table as CSV: the header T,S,V,A,J and one row per T, numbers that read back exactly.
#pragma once

#include <string>
#include <vector>

#include "curves/motion_laws.h"

std::string lawTableCsv(int law, const TwoPoints& points, const std::vector<double>& times);
