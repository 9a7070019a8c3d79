// The cam profile as an AutoCAD R12 DXF file, the version that CAD programs and laser-cutter software all read.
// Millimetres ($INSUNITS 4); coordinates written with nine decimals, a nanometre, and no exponents.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "camprofile/profile_drawing.h"

namespace {

const char* const CONTOUR_LAYER = "CAM_CONTOUR";
const char* const BASE_LAYER = "BASE_CIRCLE";
const char* const CENTRE_LAYER = "CENTRE";

// A DXF file is a list of pairs: a group code on one line, its value on the next.
void pair(std::ostream& out, int code, const std::string& value)
{
    char codeText[8];
    std::snprintf(codeText, sizeof codeText, "%3d", code);
    out << codeText << '\n' << value << '\n';
}

void pair(std::ostream& out, int code, double value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.9f", value);
    pair(out, code, std::string(text));
}

void pair(std::ostream& out, int code, int value) { pair(out, code, std::to_string(value)); }

// A point's x, y and z under the group codes 10 + k, 20 + k, 30 + k.
void point(std::ostream& out, int k, double x, double y)
{
    pair(out, 10 + k, x);
    pair(out, 20 + k, y);
    pair(out, 30 + k, 0.0);
}

void layer(std::ostream& out, const char* name, int colour)
{
    pair(out, 0, "LAYER");
    pair(out, 2, name);
    pair(out, 70, 0);
    pair(out, 62, colour);
    pair(out, 6, "CONTINUOUS");
}

void line(std::ostream& out, double x1, double y1, double x2, double y2)
{
    pair(out, 0, "LINE");
    pair(out, 8, CENTRE_LAYER);
    point(out, 0, x1, y1);
    point(out, 1, x2, y2);
}

} // namespace

void writeDxfProfile(std::ostream& out, const ProfileDrawing& drawing)
{
    double extent = drawing.baseRadius;
    for (size_t i = 0; i < drawing.x.size(); i++)
        extent = std::max(extent, std::max(std::fabs(drawing.x[i]), std::fabs(drawing.y[i])));

    pair(out, 0, "SECTION");
    pair(out, 2, "HEADER");
    pair(out, 9, "$ACADVER");
    pair(out, 1, "AC1009");
    pair(out, 9, "$INSUNITS");
    pair(out, 70, 4);
    pair(out, 9, "$MEASUREMENT");
    pair(out, 70, 1);
    pair(out, 9, "$EXTMIN");
    point(out, 0, -extent, -extent);
    pair(out, 9, "$EXTMAX");
    point(out, 0, extent, extent);
    pair(out, 0, "ENDSEC");

    pair(out, 0, "SECTION");
    pair(out, 2, "TABLES");
    pair(out, 0, "TABLE");
    pair(out, 2, "LTYPE");
    pair(out, 70, 1);
    pair(out, 0, "LTYPE");
    pair(out, 2, "CONTINUOUS");
    pair(out, 70, 0);
    pair(out, 3, "Solid line");
    pair(out, 72, 65);
    pair(out, 73, 0);
    pair(out, 40, 0.0);
    pair(out, 0, "ENDTAB");
    pair(out, 0, "TABLE");
    pair(out, 2, "LAYER");
    pair(out, 70, 3);
    // AutoCAD colour numbers: 1 red and 5 blue as in the window, 7 black or white after the background.
    layer(out, CONTOUR_LAYER, 1);
    layer(out, BASE_LAYER, 5);
    layer(out, CENTRE_LAYER, 7);
    pair(out, 0, "ENDTAB");
    pair(out, 0, "ENDSEC");

    pair(out, 0, "SECTION");
    pair(out, 2, "ENTITIES");
    // Flag 66 announces the VERTEX entities that follow; flag 70 = 1 closes the polyline.
    pair(out, 0, "POLYLINE");
    pair(out, 8, CONTOUR_LAYER);
    pair(out, 66, 1);
    point(out, 0, 0.0, 0.0);
    pair(out, 70, 1);
    for (size_t i = 0; i < drawing.x.size(); i++) {
        pair(out, 0, "VERTEX");
        pair(out, 8, CONTOUR_LAYER);
        point(out, 0, drawing.x[i], drawing.y[i]);
    }
    pair(out, 0, "SEQEND");
    pair(out, 8, CONTOUR_LAYER);

    pair(out, 0, "CIRCLE");
    pair(out, 8, BASE_LAYER);
    point(out, 0, 0.0, 0.0);
    pair(out, 40, drawing.baseRadius);

    pair(out, 0, "POINT");
    pair(out, 8, CENTRE_LAYER);
    point(out, 0, 0.0, 0.0);
    const double arm = centreCrossArm(drawing);
    line(out, -arm, 0, arm, 0);
    line(out, 0, -arm, 0, arm);
    pair(out, 0, "ENDSEC");
    pair(out, 0, "EOF");
}
