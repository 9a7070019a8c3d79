// The marks a machinist needs on the drawing: where theta = 0 is, and which way the cam turns.
// Millimetres, cam centre at the origin, y upwards, the cam at rest.
#include <cmath>

#include "camprofile/profile_drawing.h"

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
