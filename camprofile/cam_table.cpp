// The cam's CSV table, one row per sampled cam angle.
#include "camprofile/cam_table.h"

#include "camprofile/number_format.h"

std::string camTableCsv(const CamDesign& cam, int perDegree)
{
    std::string csv = "theta_deg,s,pressure_angle_deg,pitch_curvature,x,y\n";
    for (int j = 0; j < 360 * perDegree; j++) {
        const double theta = tableAngle(j, perDegree);
        const CamPoint point = camPointAt(cam, theta);
        csv += formatNumber(theta) + ',' + formatNumber(point.s) + ',' + formatNumber(point.pressureAngleDeg) + ',' +
               formatNumber(point.pitchCurvature) + ',' + formatNumber(point.contourX) + ',' +
               formatNumber(point.contourY) + '\n';
    }
    return csv;
}
