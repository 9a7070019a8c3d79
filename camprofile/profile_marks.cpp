// The follower at theta = 0 drawn over the profile, the pitch curve, and where theta = 0 is and which way the cam
// turns. Sizes scale with the base radius so that the picture reads the same for any cam. Millimetres, y upwards.
#include "camprofile/profile_marks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "camdesign/cam_geometry.h"

namespace {

// The stem above a translating follower, and a knife's tip, as shares of the base radius.
constexpr double STEM_SHARE = 0.6, TIP_SHARE = 0.08;
// The turning arrow's radius and sweep.
constexpr double ARROW_SHARE = 0.45, ARROW_SWEEP_DEG = 100;
const char* const FOLLOWER_STYLE = "stroke=\"#006400\" stroke-width=\"0.4\" fill=\"none\"";
const char* const MARK_STYLE = "stroke=\"#000000\" stroke-width=\"0.3\" fill=\"none\"";

std::string mm(double value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string line(double x1, double y1, double x2, double y2, const char* style)
{
    return "<line x1=\"" + mm(x1) + "\" y1=\"" + mm(y1) + "\" x2=\"" + mm(x2) + "\" y2=\"" + mm(y2) + "\" " + style +
           "/>\n";
}

std::string circle(double x, double y, double r, const char* style)
{
    return "<circle cx=\"" + mm(x) + "\" cy=\"" + mm(y) + "\" r=\"" + mm(r) + "\" " + style + "/>\n";
}

void cover(ProfileMarks& marks, double x, double y, double r = 0)
{
    marks.xMin = std::min(marks.xMin, x - r), marks.xMax = std::max(marks.xMax, x + r);
    marks.yMin = std::min(marks.yMin, y - r), marks.yMax = std::max(marks.yMax, y + r);
}

} // namespace

ProfileMarks profileMarks(const CamDesign& cam, int perDegree)
{
    ProfileMarks marks;
    if (rollerKind(cam.follower))
        for (int j = 0; j < 360 * perDegree; j++) {
            const CamPoint point = camPointAt(cam, static_cast<double>(j) / perDegree);
            marks.pitchX.push_back(point.pitchX);
            marks.pitchY.push_back(point.pitchY);
        }
    const CamPoint zero = camPointAt(cam, 0);
    marks.zeroX = zero.contourX;
    marks.zeroY = zero.contourY;
    marks.clockwise = cam.turn == CLOCKWISE;
    const double r0 = cam.baseRadius, px = zero.pitchX, py = zero.pitchY, stem = STEM_SHARE * r0;
    cover(marks, 0, 0, r0);
    switch (cam.follower) {
    case KNIFE_FOLLOWER: {
        const double w = TIP_SHARE * r0;
        marks.follower = "<path d=\"M " + mm(px) + " " + mm(py) + " L " + mm(px - w) + " " + mm(py + 2 * w) + " L " +
                         mm(px + w) + " " + mm(py + 2 * w) + " Z\" " + FOLLOWER_STYLE + "/>\n" +
                         line(px, py + 2 * w, px, py + stem, FOLLOWER_STYLE);
        cover(marks, px - w, py + stem), cover(marks, px + w, py);
        break;
    }
    case ROLLER_FOLLOWER:
        marks.follower = circle(px, py, cam.rollerRadius, FOLLOWER_STYLE) +
                         line(px, py, px, py + cam.rollerRadius + stem, FOLLOWER_STYLE);
        cover(marks, px, py, cam.rollerRadius), cover(marks, px, py + cam.rollerRadius + stem);
        break;
    case FLAT_FOLLOWER: {
        // The face spans the contact's travel either side of the stem, with a margin.
        const double axis = zero.contourX - zero.contactOffset, half = std::fabs(zero.contactOffset) + 0.4 * r0;
        marks.follower = line(axis - half, py, axis + half, py, FOLLOWER_STYLE) +
                         line(axis, py, axis, py + stem, FOLLOWER_STYLE);
        cover(marks, axis - half, py), cover(marks, axis + half, py + stem);
        break;
    }
    case OSCILLATING_ROLLER_FOLLOWER: {
        const double pivot = cam.turn == CLOCKWISE ? cam.pivotDistance : -cam.pivotDistance;
        marks.follower = circle(px, py, cam.rollerRadius, FOLLOWER_STYLE) + line(pivot, 0, px, py, FOLLOWER_STYLE) +
                         circle(pivot, 0, TIP_SHARE * r0 / 2, FOLLOWER_STYLE);
        cover(marks, px, py, cam.rollerRadius), cover(marks, pivot, 0, TIP_SHARE * r0);
        break;
    }
    }
    return marks;
}

std::string profileMarksSvg(const ProfileMarks& marks, double baseRadius)
{
    std::string svg;
    if (!marks.pitchX.empty()) {
        svg += "<polygon id=\"pitch-curve\" stroke=\"#808080\" stroke-width=\"0.2\" stroke-dasharray=\"2,1\" points=\"";
        for (size_t i = 0; i < marks.pitchX.size(); i++)
            svg += (i ? " " : "") + mm(marks.pitchX[i]) + ',' + mm(marks.pitchY[i]);
        svg += "\"/>\n";
    }
    svg += "<g id=\"follower\">\n" + marks.follower + "</g>\n";
    // theta = 0: a tick across the contour on the line from the centre.
    const double r = std::hypot(marks.zeroX, marks.zeroY), ux = marks.zeroX / r, uy = marks.zeroY / r;
    const double tick = 0.1 * baseRadius;
    svg += "<g id=\"theta-zero\">\n" +
           line(ux * (r - tick), uy * (r - tick), ux * (r + tick), uy * (r + tick), MARK_STYLE);
    // The turning arrow: an arc about the centre ending in a head, clockwise or not.
    const double a = ARROW_SHARE * baseRadius, sweep = ARROW_SWEEP_DEG * PI / 180;
    const double start = PI / 2 + (marks.clockwise ? sweep / 2 : -sweep / 2);
    const double end = start + (marks.clockwise ? -sweep : sweep);
    const double ex = a * std::cos(end), ey = a * std::sin(end);
    // The head points along the arc's direction of travel at its end.
    const double along = marks.clockwise ? 1 : -1, tx = along * std::sin(end), ty = -along * std::cos(end);
    const double head = 0.08 * baseRadius;
    svg += "<path d=\"M " + mm(a * std::cos(start)) + " " + mm(a * std::sin(start)) + " A " + mm(a) + " " + mm(a) +
           " 0 0 " + (marks.clockwise ? "0" : "1") + " " + mm(ex) + " " + mm(ey) + "\" " + MARK_STYLE + "/>\n";
    svg += "<path d=\"M " + mm(ex + head * tx) + " " + mm(ey + head * ty) + " L " +
           mm(ex - head * (tx * 0.6 + ty * 0.5)) + " " + mm(ey - head * (ty * 0.6 - tx * 0.5)) + " L " +
           mm(ex - head * (tx * 0.6 - ty * 0.5)) + " " + mm(ey - head * (ty * 0.6 + tx * 0.5)) +
           " Z\" fill=\"#000000\"/>\n";
    return svg + "</g>\n";
}

std::string profileMarksText(const ProfileMarks& marks, double baseRadius)
{
    const double r = std::hypot(marks.zeroX, marks.zeroY), size = 0.08 * baseRadius;
    const double x = marks.zeroX / r * (r + 0.15 * baseRadius), y = marks.zeroY / r * (r + 0.15 * baseRadius);
    const std::string font = "font-family=\"sans-serif\" font-size=\"" + mm(size) + "\"";
    // Text is written outside the flipped group: its y is the model's -y.
    return "<text x=\"" + mm(x + 0.5 * size) + "\" y=\"" + mm(-y) + "\" " + font +
           ">θ = 0</text>\n<text x=\"0\" y=\"" +
           mm(-ARROW_SHARE * baseRadius - 0.6 * size) + "\" text-anchor=\"middle\" " + font + ">" +
           (marks.clockwise ? "turns clockwise" : "turns counter-clockwise") + "</text>\n";
}
