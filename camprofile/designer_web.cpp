// The designer page's way into camprofile: the command's own main, run on an argument list as often as the page
// asks, its standard output and error kept for the page, its files in the module's in-memory file system; and the
// follower's lift over the turn, for drawing it on the turning cam.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "camdesign/cam_geometry.h"
#include "camprofile/cam_files.h"
#include "camprofile/design_file.h"

// camprofile's main, compiled under this name for the page (see designer_web.cmake).
int camprofileMain(int argc, char** argv);

namespace {

std::string standardOutput, standardError;
// The contour's largest distance from the centre (mm), then the lift at each of the table's angles.
std::vector<double> turnValues;

// Splits the page's argument list: one argument a line.
std::vector<std::string> argumentLines(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        words.push_back(line);
    return words;
}

} // namespace

extern "C" {

// Runs `camprofile ARGS...` (args: one argument a line, without the program's name) and returns its status.
// Each run starts as a fresh process would: std::cout and std::cerr with their default formatting and no error
// state, writing into buffers that designerStdout() and designerStderr() then give.
EMSCRIPTEN_KEEPALIVE int designerRun(const char* args)
{
    std::vector<std::string> words = argumentLines(args);
    words.insert(words.begin(), "camprofile");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    std::ostringstream out, err;
    std::ios defaultFormat(nullptr);
    defaultFormat.copyfmt(std::cout);
    std::streambuf* const coutBuffer = std::cout.rdbuf(out.rdbuf());
    std::streambuf* const cerrBuffer = std::cerr.rdbuf(err.rdbuf());
    int status = 0;
    try {
        status = camprofileMain(static_cast<int>(words.size()), argv.data());
    } catch (const std::exception& e) {
        // A fault the command does not report itself: shown, never a silent success.
        err << "camprofile: " << e.what() << '\n';
        status = 1;
    }
    std::cout.rdbuf(coutBuffer);
    std::cerr.rdbuf(cerrBuffer);
    for (std::ostream* stream : {&std::cout, &std::cerr}) {
        stream->copyfmt(defaultFormat);
        stream->clear();
    }
    standardOutput = out.str();
    standardError = err.str();
    return status;
}

// For the design file at designPath (read as --design reads it): the follower's lift (mm, or degrees of arm swing)
// at the table's angles j / perDegree, j = 0 .. 360 perDegree - 1, the same as the table's s column, after the
// contour's largest radius (mm); designerTurnValues() gives them. Returns how many lifts, 0 for a design the command
// refuses (its run says why).
EMSCRIPTEN_KEEPALIVE int designerTurn(const char* designPath, int perDegree)
{
    turnValues.assign(1, 0.0);
    try {
        const CamDesign cam = designFromFile(designPath);
        for (int j = 0; j < 360 * perDegree; j++) {
            const CamPoint point = camPointAt(cam, tableAngle(j, perDegree));
            turnValues.push_back(point.s);
            turnValues[0] = std::max(turnValues[0], std::hypot(point.contourX, point.contourY));
        }
    } catch (const std::exception&) {
        turnValues.assign(1, 0.0);
    }
    return static_cast<int>(turnValues.size()) - 1;
}

// The values of the last designerTurn(): the largest radius, then the lifts.
EMSCRIPTEN_KEEPALIVE const double* designerTurnValues() { return turnValues.data(); }

// What the last run wrote on standard output, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* designerStdout() { return standardOutput.c_str(); }

// What the last run wrote on standard error, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* designerStderr() { return standardError.c_str(); }

} // extern "C"
