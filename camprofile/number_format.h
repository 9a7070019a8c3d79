// Numbers as camprofile writes them: the shortest text that reads back as the same double.
#pragma once

#include <string>

std::string formatNumber(double value);
