// What `camprofile cam` writes: the table over the turn and the profile drawing, all computed before any file is
// opened. Lift in mm (arm swing in degrees), angles in degrees, curvature in 1/mm, the cam at rest in mm.
#pragma once

#include <optional>
#include <string>

#include "camdesign/cam_check.h"
#include "camprofile/profile_drawing.h"

// The cam angle of row j of a table with K rows a degree: j / K, as a double division.
inline double tableAngle(int j, int perDegree) { return static_cast<double>(j) / perDegree; }

// theta_deg,s,pressure_angle_deg,pitch_curvature,x,y: 360 K rows, j = 0 ... 360 K - 1; every number reads back as
// the same double; with running inputs the dynamics columns follow (DYNAMICS_CSV_HEADER). Nothing when a number
// of the cam is not finite there.
std::optional<std::string> camTableCsv(const CamDesign& cam, int perDegree);

// The contour through the table's K-a-degree points, the crossing stretches of the check marked. Nothing when a
// point of the contour is not finite.
std::optional<ProfileDrawing> camProfileDrawing(const CamDesign& cam, const CamCheck& check, int perDegree);

enum ProfileFormat { DXF_PROFILE, SVG_PROFILE };
// By the file's extension, .dxf or .svg in any case; nothing for any other.
std::optional<ProfileFormat> profileFormatFor(const std::string& path);
std::string profileFileText(ProfileFormat format, const ProfileDrawing& drawing);
