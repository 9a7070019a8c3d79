// What a machine shop and an inspector get from `camprofile cam`: the profile's contour as fitted arcs, the
// cutter's path as G-code, the pitch curve as a drawing, the contour's polar table. Lengths in mm, angles in
// degrees, feed in mm/min; the cam at rest, centre at the origin, y upwards.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "camdesign/cam_check.h"
#include "camprofile/profile_drawing.h"

// The options as typed, read once the command line is complete so that refusals can quote them.
struct ShopOptionTexts {
    std::string tolerance = "0.001";
    std::string cutterRadius, feed = "100";
    std::string toolpath, pitch, polar;
};

// The same, checked.
struct ShopOptions {
    double tolerance = 0.001;            // 1e-6 ... 1: how far the arcs may stand from the exact curve
    std::optional<double> cutterRadius;  // RC, with --toolpath
    double feed = 100;
    std::string toolpath, pitch, polar;  // files to write, empty for none
};

// A number option within lowest ... highest (inclusive); throws CLI::ValidationError naming the option and the
// range in `unit` otherwise.
double numberWithin(const std::string& text, const std::string& option, double lowest, double highest,
                    const std::string& unit);

// Declares --tolerance, --cutter-radius, --toolpath, --feed, --pitch and --polar on a command.
void addShopOptions(CLI::App& command, ShopOptionTexts& texts);
// Throws CLI::ValidationError naming the option when a value breaks its rule (ranges named; RC and the toolpath
// go together; the G-code's four decimals need a tolerance of 2 x GCODE_ROUNDING_MM at least).
ShopOptions shopOptionsFrom(const ShopOptionTexts& texts);

// The contour's arcs for the profile drawing, within the tolerance.
void addFittedContour(ProfileDrawing& drawing, const CamDesign& cam, double tolerance);
// A roller's pitch curve in the SVG picture as arcs within `tolerance` too; left as points where none fit.
void addFittedPitchCurve(ProfileDrawing& drawing, const CamDesign& cam, double tolerance);

// Every shop file asked for, as (path, text, option), computed in full before any is written. Throws
// CLI::ValidationError (status 2) when the cam cannot give one: a contour that crosses itself, a cutter larger
// than the smallest concave radius, a pitch curve of a flat face, a ray from the centre meeting the contour twice.
struct ShopFile {
    std::string path, text, option;
};
std::vector<ShopFile> shopFiles(const CamDesign& cam, const CamCheck& check, const ShopOptions& options,
                                int perDegree);

// Every file `camprofile cam` writes for a request (table, profile, turn plot, the shop's files), computed and
// checked in full before any is written; throws CLI::ValidationError (status 2) for what cannot be written.
// Defined with the command.
struct CamRequest;
struct CamFigures;
std::vector<ShopFile> camOutputFiles(const CamRequest& request, const CamFigures& figures, const ShopOptions& shop);
// Writes every file, then the report on standard output: the report comes last, once everything it speaks of is
// written (status 1 from the first file that cannot be).
void writeFilesAndReport(const std::vector<ShopFile>& files, const std::string& report);

// The working contour's smallest concave radius and where (the largest cutter that fits it); nothing where it is
// nowhere concave or crosses itself.
std::optional<AngleExtreme> contourConcaveRadius(const CamDesign& cam, const CamCheck& check, int perDegree);

// One line naming the cam (follower, its dimensions, base radius, turning sense) for a file's header.
std::string camSummary(const CamDesign& cam);
