// The one-law shorthand as a motion program: rise, dwell at full lift (unless 0), return; the rest is a dwell.
#include "camdesign/cam_design.h"

CamDesign camDesignFor(const CamDimensions& dimensions)
{
    CamDesign cam;
    const int law = dimensions.law;
    cam.program.segments.push_back({RISE_SEGMENT, dimensions.riseDeg, dimensions.lift, law, dimensions.points});
    if (dimensions.dwellDeg > 0)
        cam.program.segments.push_back({DWELL_SEGMENT, dimensions.dwellDeg, 0, law, dimensions.points});
    cam.program.segments.push_back({RETURN_SEGMENT, dimensions.returnDeg, dimensions.lift, law, dimensions.points});
    cam.baseRadius = dimensions.baseRadius;
    cam.follower = dimensions.rollerRadius > 0 ? ROLLER_FOLLOWER : KNIFE_FOLLOWER;
    cam.rollerRadius = dimensions.rollerRadius;
    cam.offset = dimensions.offset;
    return cam;
}
