// G-code for one closed pass of the cutter round the outside of the cam, climb milling with the spindle turning M3.
// Millimetres, four decimals, absolute; arc centres I, J relative to each arc's start.
#include "camprofile/gcode_writer.h"

#include <cmath>

#include "camdesign/number_text.h"

namespace {

// Below this bow an arc is written as a line, sparing a controller a centre kilometres away.
const double LINE_BOW_MM = 1e-5;

std::string coordinate(double value)
{
    const std::string written = fixedText(value, 4);
    return written == "-0.0000" ? "0.0000" : written;
}

// What a controller reads back from a written coordinate.
double rounded(double value) { return std::round(value * 1e4) / 1e4; }

// Parentheses end a G-code comment early; brackets stand in for them.
std::string commentText(std::string text)
{
    for (char& c : text)
        if (c == '(')
            c = '[';
        else if (c == ')')
            c = ']';
    return text;
}

void writeArc(std::ostream& out, const ArcPiece& arc)
{
    const double chord = std::hypot(arc.x1 - arc.x0, arc.y1 - arc.y0);
    const std::string end = "X" + coordinate(arc.x1) + " Y" + coordinate(arc.y1);
    if (chord / 2 * std::fabs(std::tan(arc.sweep / 4)) < LINE_BOW_MM) {
        out << "G1 " << end << '\n';
        return;
    }
    double cx, cy;
    arcCentre(arc, cx, cy);
    // From the start as the controller holds it, so that the centre's own rounding is all that is added.
    out << (arc.sweep < 0 ? "G2 " : "G3 ") << end << " I" << coordinate(cx - rounded(arc.x0)) << " J"
        << coordinate(cy - rounded(arc.y0)) << '\n';
}

} // namespace

void writeToolpathGcode(std::ostream& out, const std::vector<ArcPiece>& path, double normalX, double normalY,
                        const ToolpathJob& job)
{
    const double startX = path.front().x0, startY = path.front().y0;
    const std::string approach = "X" + coordinate(startX + GCODE_APPROACH_MM * normalX) + " Y" +
                                 coordinate(startY + GCODE_APPROACH_MM * normalY);
    // The feed to a thousandth, without trailing zeros: F100, F12.5.
    std::string feedText = fixedText(job.feed, 3);
    feedText.erase(feedText.find_last_not_of('0') + 1);
    if (feedText.back() == '.')
        feedText.pop_back();
    out << "%\n";
    for (const std::string& line : job.comments)
        out << '(' << commentText(line) << ")\n";
    out << "G21 G90 G17 G94\n"
        << "G0 " << approach << '\n'
        << "M3\n"
        << "G1 X" << coordinate(startX) << " Y" << coordinate(startY) << " F" << feedText << '\n';
    // Clockwise round the cam: the fitted path backwards, each arc turned round.
    for (auto arc = path.rbegin(); arc != path.rend(); ++arc)
        writeArc(out, reversedArc(*arc));
    out << "G1 " << approach << '\n' << "M5\n" << "M30\n" << "%\n";
}
