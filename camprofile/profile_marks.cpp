// The follower at theta = 0 drawn over the profile with the pitch curve, and the marks every drawing of the cam
// carries: a tick at theta = 0 and an arrow for the turning sense. Sizes scale with the base radius so that the
// picture reads the same for any cam. Millimetres, cam centre at the origin, y upwards, the cam at rest.
#include "camprofile/profile_marks.h"

#include <algorithm>
#include <cmath>

#include "camdesign/cam_geometry.h"
#include "camdesign/number_text.h"
#include "camprofile/profile_drawing.h"

namespace {

// The stem above a translating follower, and a knife's tip, as shares of the base radius.
constexpr double STEM_SHARE = 0.6, TIP_SHARE = 0.08;
const char* const FOLLOWER_STYLE = "stroke=\"#006400\" stroke-width=\"0.4\" fill=\"none\"";

std::string mm(double value)
{
    return fixedText(value, 6);
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

void cover(ProfileOverlay& overlay, double x, double y, double r = 0)
{
    overlay.xMin = std::min(overlay.xMin, x - r), overlay.xMax = std::max(overlay.xMax, x + r);
    overlay.yMin = std::min(overlay.yMin, y - r), overlay.yMax = std::max(overlay.yMax, y + r);
}

} // namespace

ProfileOverlay profileOverlay(const CamDesign& cam, const std::vector<CamPoint>& turn)
{
    ProfileOverlay overlay;
    if (rollerKind(cam.follower))
        for (const CamPoint& point : turn) {
            overlay.pitchX.push_back(point.pitchX);
            overlay.pitchY.push_back(point.pitchY);
        }
    const CamPoint zero = camPointAt(cam, 0);
    const double r0 = cam.baseRadius, px = zero.pitchX, py = zero.pitchY, stem = STEM_SHARE * r0;
    cover(overlay, 0, 0, r0);
    switch (cam.follower) {
    case KNIFE_FOLLOWER: {
        const double w = TIP_SHARE * r0;
        overlay.follower = "<path d=\"M " + mm(px) + " " + mm(py) + " L " + mm(px - w) + " " + mm(py + 2 * w) + " L " +
                         mm(px + w) + " " + mm(py + 2 * w) + " Z\" " + FOLLOWER_STYLE + "/>\n" +
                         line(px, py + 2 * w, px, py + stem, FOLLOWER_STYLE);
        cover(overlay, px - w, py + stem), cover(overlay, px + w, py);
        break;
    }
    case ROLLER_FOLLOWER:
        overlay.follower = circle(px, py, cam.rollerRadius, FOLLOWER_STYLE) +
                         line(px, py, px, py + cam.rollerRadius + stem, FOLLOWER_STYLE);
        cover(overlay, px, py, cam.rollerRadius), cover(overlay, px, py + cam.rollerRadius + stem);
        break;
    case FLAT_FOLLOWER: {
        // The face spans the contact's travel either side of the stem, with a margin.
        const double axis = zero.contourX - zero.contactOffset, half = std::fabs(zero.contactOffset) + 0.4 * r0;
        overlay.follower = line(axis - half, py, axis + half, py, FOLLOWER_STYLE) +
                         line(axis, py, axis, py + stem, FOLLOWER_STYLE);
        cover(overlay, axis - half, py), cover(overlay, axis + half, py + stem);
        break;
    }
    case OSCILLATING_ROLLER_FOLLOWER: {
        const double pivot = cam.turn == CLOCKWISE ? cam.pivotDistance : -cam.pivotDistance;
        overlay.follower = circle(px, py, cam.rollerRadius, FOLLOWER_STYLE) + line(pivot, 0, px, py, FOLLOWER_STYLE) +
                         circle(pivot, 0, TIP_SHARE * r0 / 2, FOLLOWER_STYLE);
        cover(overlay, px, py, cam.rollerRadius), cover(overlay, pivot, 0, TIP_SHARE * r0);
        break;
    }
    }
    return overlay;
}

std::string svgArcPathData(const std::vector<ArcPiece>& arcs)
{
    // A counter-clockwise arc turns the positive way in the path's own coordinates: sweep flag 1.
    std::string d = "M " + mm(arcs.front().x0) + ' ' + mm(arcs.front().y0);
    for (const ArcPiece& arc : arcs) {
        const std::string end = mm(arc.x1) + ' ' + mm(arc.y1);
        const double radius = arcRadius(arc);
        if (std::isfinite(radius))
            d += " A " + mm(radius) + ' ' + mm(radius) + " 0 0 " + (arc.sweep > 0 ? '1' : '0') + ' ' + end;
        else
            d += " L " + end;
    }
    return d + " Z";
}

std::string profileOverlaySvg(const ProfileOverlay& overlay)
{
    std::string svg;
    if (!overlay.pitchArcs.empty()) {
        svg += "<path id=\"pitch-curve\" stroke=\"#808080\" stroke-width=\"0.2\" stroke-dasharray=\"2,1\" d=\"" +
               svgArcPathData(overlay.pitchArcs) + "\"/>\n";
    } else if (!overlay.pitchX.empty()) {
        svg += "<polygon id=\"pitch-curve\" stroke=\"#808080\" stroke-width=\"0.2\" stroke-dasharray=\"2,1\" points=\"";
        for (size_t i = 0; i < overlay.pitchX.size(); i++)
            svg += (i ? " " : "") + mm(overlay.pitchX[i]) + ',' + mm(overlay.pitchY[i]);
        svg += "\"/>\n";
    }
    return svg + "<g id=\"follower\">\n" + overlay.follower + "</g>\n";
}

ProfileMarks profileMarks(const ProfileDrawing& drawing)
{
    ProfileMarks marks;
    const double r0 = drawing.baseRadius, reach = std::hypot(drawing.zeroX, drawing.zeroY);
    const double inward = reach > 0 ? 1 - r0 / 10 / reach : 1;
    marks.zeroFrom[0] = drawing.zeroX, marks.zeroFrom[1] = drawing.zeroY;
    marks.zeroTo[0] = inward * drawing.zeroX, marks.zeroTo[1] = inward * drawing.zeroY;
    marks.senseRadius = r0 / 2, marks.senseFromDeg = 60, marks.senseToDeg = 120;
    // The head points the way the cam turns, its two strokes 25° either side of the arc's tangent.
    const double tipDeg = drawing.clockwise ? 60 : 120, tip = tipDeg * M_PI / 180, head = r0 / 15;
    const double direction = tip + (drawing.clockwise ? -M_PI / 2 : M_PI / 2);
    marks.arrowTip[0] = marks.senseRadius * std::cos(tip), marks.arrowTip[1] = marks.senseRadius * std::sin(tip);
    for (int side = 0; side < 2; side++) {
        const double back = direction + M_PI + (side ? 1 : -1) * 25 * M_PI / 180;
        marks.arrowEnds[side][0] = marks.arrowTip[0] + head * std::cos(back);
        marks.arrowEnds[side][1] = marks.arrowTip[1] + head * std::sin(back);
    }
    return marks;
}

std::string profileMarksText(const ProfileDrawing& drawing)
{
    const double r0 = drawing.baseRadius, reach = std::hypot(drawing.zeroX, drawing.zeroY), size = 0.08 * r0;
    // Inside the cam beside the tick's inner end, clear of the follower outside and of the arrow further in.
    const double in = reach > 0 ? (reach - 0.25 * r0) / reach : 1;
    const std::string font = "font-family=\"sans-serif\" font-size=\"" + mm(size) + "\"";
    // Text stands outside the flipped group: its y is the model's -y. The sense is named under the arrow.
    return "<text x=\"" + mm(in * drawing.zeroX + 0.5 * size) + "\" y=\"" + mm(-in * drawing.zeroY) + "\" " + font +
           ">θ = 0</text>\n<text x=\"0\" y=\"" + mm(-0.3 * r0) + "\" text-anchor=\"middle\" " + font + ">" +
           (drawing.clockwise ? "turns clockwise" : "turns counter-clockwise") + "</text>\n";
}
