// The cam's outline for a drawing file: working contour, base circle and centre, and the writers for DXF and SVG.
// Millimetres, cam centre at the origin, y upwards, the cam at rest.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "camdesign/cam_geometry.h"

struct ProfileDrawing {
    std::vector<double> x, y;  // the working contour, one point per sample; the last joins back to the first
    double baseRadius;
};

enum ProfileFormat { DXF_PROFILE, SVG_PROFILE };

// The contour through the table's K-a-degree points.
ProfileDrawing camProfileDrawing(const CamDesign& cam, int perDegree);
// By the file's extension, .dxf or .svg in any case; nothing for any other.
std::optional<ProfileFormat> profileFormatFor(const std::string& path);
std::string profileFileText(ProfileFormat format, const ProfileDrawing& drawing);

// One closed polyline on layer CAM_CONTOUR, a CIRCLE on BASE_CIRCLE, a point and a cross on CENTRE; $INSUNITS 4.
void writeDxfProfile(std::ostream& out, const ProfileDrawing& drawing);
// Width and height in mm, one model millimetre a user unit; red contour, blue base circle, black centre cross.
void writeSvgProfile(std::ostream& out, const ProfileDrawing& drawing);

// Half the length of each arm of the centre cross: a tenth of the base radius, so it stays inside the cam.
inline double centreCrossArm(const ProfileDrawing& drawing) { return drawing.baseRadius / 10; }
