// The tests' own G-code reader: words, modal motion G0-G3, absolute XY, arc centres by incremental I and J, as a
// controller plays them; the cutter's centre path sampled along every cutting move. Millimetres.
#pragma once

#include <cctype>
#include <cmath>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "curve_distance.h"

struct GcodeReplay {
    std::vector<std::string> problems;   // anything a controller would refuse or a machinist would not expect
    std::string modes;                   // every G and M word, in order, space separated
    std::vector<XY> rapids;              // ends of the G0 moves
    std::vector<std::vector<XY>> cuts;   // each cutting move's points, its start first
    int arcMoves = 0, lineMoves = 0;
    double feed = 0;
};

// Arcs are sampled so that their chords sag by at most `sag` mm; an arc's radius may change from its start to its
// end by what rounding leaves, and is interpolated across.
inline GcodeReplay replayGcode(const std::string& text, double sag = 1e-7)
{
    GcodeReplay replay;
    const std::regex word("([A-Z])([-+]?[0-9]*\\.?[0-9]+)");
    const std::regex fourDecimals("-?[0-9]+\\.[0-9]{4}");
    std::istringstream lines(text);
    std::string line;
    int motion = -1;
    XY at{0, 0};
    bool known = false;
    for (int number = 1; std::getline(lines, line); number++) {
        line = std::regex_replace(line, std::regex("\\([^)]*\\)|;.*$"), "");
        if (line.find_first_not_of(" \t\r%") == std::string::npos)
            continue;
        std::map<char, double> words;
        std::map<char, std::string> texts;
        const std::string where = "line " + std::to_string(number) + ": ";
        std::string rest = line;
        for (std::smatch m; std::regex_search(rest, m, word); rest = m.suffix()) {
            if (m.prefix().str().find_first_not_of(" \t\r") != std::string::npos)
                replay.problems.push_back(where + "not a word: '" + m.prefix().str() + "'");
            const char letter = m[1].str()[0];
            if (letter == 'G' || letter == 'M') {
                replay.modes += (replay.modes.empty() ? "" : " ") + m[0].str();
                if (letter == 'G' && std::stoi(m[2]) <= 3)
                    motion = std::stoi(m[2]);
            } else {
                words[letter] = std::stod(m[2]);
                texts[letter] = m[2];
            }
        }
        if (rest.find_first_not_of(" \t\r") != std::string::npos)
            replay.problems.push_back(where + "left over: '" + rest + "'");
        for (const auto& [letter, value] : texts)
            if (std::string("XYIJ").find(letter) != std::string::npos && !std::regex_match(value, fourDecimals))
                replay.problems.push_back(where + letter + value + " not to four decimals");
        if (words.count('Z'))
            replay.problems.push_back(where + "a Z move");
        if (words.count('F'))
            replay.feed = words['F'];
        if (!words.count('X') && !words.count('Y'))
            continue;
        const XY to{words.count('X') ? words['X'] : at.x, words.count('Y') ? words['Y'] : at.y};
        if (motion == 0) {
            replay.rapids.push_back(to);
        } else if (!known || motion < 0) {
            replay.problems.push_back(where + "a cutting move from an unknown point");
        } else if (motion == 1) {
            replay.cuts.push_back({at, to});
            replay.lineMoves++;
        } else {
            // G2 turns clockwise, G3 counter-clockwise, from the start round the centre to the end.
            const XY c{at.x + words['I'], at.y + words['J']};
            const double r0 = std::hypot(at.x - c.x, at.y - c.y), r1 = std::hypot(to.x - c.x, to.y - c.y);
            if (std::fabs(r1 - r0) > 5e-4)
                replay.problems.push_back(where + "start and end radius differ by " + std::to_string(r1 - r0));
            const double a0 = std::atan2(at.y - c.y, at.x - c.x), a1 = std::atan2(to.y - c.y, to.x - c.x);
            double sweep = std::remainder(a1 - a0, 2 * M_PI);
            if (motion == 2 && sweep > 0)
                sweep -= 2 * M_PI;
            if (motion == 3 && sweep < 0)
                sweep += 2 * M_PI;
            const int steps = 1 + static_cast<int>(std::fabs(sweep) / (2 * std::sqrt(2 * sag / std::max(r0, 1e-9))));
            std::vector<XY> points;
            for (int i = 0; i <= steps; i++) {
                const double f = static_cast<double>(i) / steps, r = r0 + f * (r1 - r0), a = a0 + f * sweep;
                points.push_back(i == steps ? to : XY{c.x + r * std::cos(a), c.y + r * std::sin(a)});
            }
            replay.cuts.push_back(points);
            replay.arcMoves++;
        }
        at = to;
        known = true;
    }
    return replay;
}
