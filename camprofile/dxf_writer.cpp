// The cam profile as a DXF R2000 file: the contour one closed LWPOLYLINE of arcs (bulges), the base circle, the
// centre, the marks. Millimetres ($INSUNITS 4); coordinates to nine decimals (a nanometre), bulges to twelve.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "camdesign/number_text.h"
#include "camprofile/profile_drawing.h"

namespace {

const char* const BASE_LAYER = "BASE_CIRCLE";
const char* const CENTRE_LAYER = "CENTRE";
const char* const MARKS_LAYER = "CAM_MARKS";

// A DXF file is a list of pairs: a group code on one line, its value on the next.
void pair(std::ostream& out, int code, const std::string& value)
{
    char codeText[8];
    std::snprintf(codeText, sizeof codeText, "%3d", code);
    out << codeText << '\n' << value << '\n';
}

void pair(std::ostream& out, int code, double value, int decimals = 9)
{
    pair(out, code, fixedText(value, decimals));
}

void pair(std::ostream& out, int code, int value) { pair(out, code, std::to_string(value)); }

// A point's x, y and z under the group codes 10 + k, 20 + k, 30 + k.
void point(std::ostream& out, int k, double x, double y)
{
    pair(out, 10 + k, x);
    pair(out, 20 + k, y);
    pair(out, 30 + k, 0.0);
}

// Every object of an R2000 file has a handle (hexadecimal, unique) and names its owner's; the body is written
// first, so that the header can give the next free handle.
struct DxfBody {
    std::ostringstream out;
    unsigned next = 0x20;
    unsigned modelSpace = 0;

    std::string handle() { return hex(next++); }
    static std::string hex(unsigned value)
    {
        char text[16];
        std::snprintf(text, sizeof text, "%X", value);
        return text;
    }

    // A table's head; the caller writes its records, each owned by the returned handle, then ENDTAB.
    std::string table(const char* name, int count)
    {
        const std::string own = handle();
        pair(out, 0, "TABLE");
        pair(out, 2, name);
        pair(out, 5, own);
        pair(out, 330, "0");
        pair(out, 100, "AcDbSymbolTable");
        pair(out, 70, count);
        return own;
    }

    std::string record(const char* type, const std::string& owner, const char* subclass, const std::string& name)
    {
        const std::string own = handle();
        pair(out, 0, type);
        pair(out, 5, own);
        pair(out, 330, owner);
        pair(out, 100, "AcDbSymbolTableRecord");
        pair(out, 100, subclass);
        pair(out, 2, name);
        pair(out, 70, 0);
        return own;
    }

    void entity(const char* type, const char* layer, const char* subclass)
    {
        pair(out, 0, type);
        pair(out, 5, handle());
        pair(out, 330, hex(modelSpace));
        pair(out, 100, "AcDbEntity");
        pair(out, 8, layer);
        pair(out, 100, subclass);
    }

    void line(const char* layer, double x1, double y1, double x2, double y2)
    {
        entity("LINE", layer, "AcDbLine");
        point(out, 0, x1, y1);
        point(out, 1, x2, y2);
    }
};

void linetype(DxfBody& body, const std::string& owner, const char* name, const char* description)
{
    body.record("LTYPE", owner, "AcDbLinetypeTableRecord", name);
    pair(body.out, 3, description);
    pair(body.out, 72, 65);
    pair(body.out, 73, 0);
    pair(body.out, 40, 0.0);
}

void layer(DxfBody& body, const std::string& owner, const std::string& name, int colour)
{
    body.record("LAYER", owner, "AcDbLayerTableRecord", name);
    pair(body.out, 62, colour);
    pair(body.out, 6, "Continuous");
}

void tables(DxfBody& body, const ProfileDrawing& drawing)
{
    std::ostream& out = body.out;
    pair(out, 0, "SECTION");
    pair(out, 2, "TABLES");
    for (const char* empty : {"VPORT", "VIEW", "UCS"}) {
        body.table(empty, 0);
        pair(out, 0, "ENDTAB");
    }
    std::string owner = body.table("LTYPE", 3);
    linetype(body, owner, "ByBlock", "");
    linetype(body, owner, "ByLayer", "");
    linetype(body, owner, "Continuous", "Solid line");
    pair(out, 0, "ENDTAB");
    // AutoCAD colour numbers: 1 red and 5 blue as in the window, 7 black or white after the background, 3 green.
    owner = body.table("LAYER", 5);
    layer(body, owner, "0", 7);
    layer(body, owner, drawing.contourLayer, 1);
    layer(body, owner, BASE_LAYER, 5);
    layer(body, owner, CENTRE_LAYER, 7);
    layer(body, owner, MARKS_LAYER, 3);
    pair(out, 0, "ENDTAB");
    owner = body.table("STYLE", 1);
    body.record("STYLE", owner, "AcDbTextStyleTableRecord", "Standard");
    pair(out, 40, 0.0);
    pair(out, 41, 1.0);
    pair(out, 50, 0.0);
    pair(out, 71, 0);
    pair(out, 42, 2.5);
    pair(out, 3, "txt");
    pair(out, 4, "");
    pair(out, 0, "ENDTAB");
    owner = body.table("APPID", 1);
    body.record("APPID", owner, "AcDbRegAppTableRecord", "ACAD");
    pair(out, 0, "ENDTAB");
    owner = body.table("DIMSTYLE", 0);
    pair(out, 100, "AcDbDimStyleTable");
    pair(out, 0, "ENDTAB");
    owner = body.table("BLOCK_RECORD", 2);
    body.modelSpace = body.next;
    body.record("BLOCK_RECORD", owner, "AcDbBlockTableRecord", "*Model_Space");
    body.record("BLOCK_RECORD", owner, "AcDbBlockTableRecord", "*Paper_Space");
    pair(out, 0, "ENDTAB");
    pair(out, 0, "ENDSEC");
}

void blocks(DxfBody& body)
{
    std::ostream& out = body.out;
    pair(out, 0, "SECTION");
    pair(out, 2, "BLOCKS");
    const unsigned records[] = {body.modelSpace, body.modelSpace + 1};
    const char* names[] = {"*Model_Space", "*Paper_Space"};
    for (int i = 0; i < 2; i++) {
        pair(out, 0, "BLOCK");
        pair(out, 5, body.handle());
        pair(out, 330, DxfBody::hex(records[i]));
        pair(out, 100, "AcDbEntity");
        pair(out, 8, "0");
        pair(out, 100, "AcDbBlockBegin");
        pair(out, 2, names[i]);
        pair(out, 70, 0);
        point(out, 0, 0.0, 0.0);
        pair(out, 3, names[i]);
        pair(out, 1, "");
        pair(out, 0, "ENDBLK");
        pair(out, 5, body.handle());
        pair(out, 330, DxfBody::hex(records[i]));
        pair(out, 100, "AcDbEntity");
        pair(out, 8, "0");
        pair(out, 100, "AcDbBlockEnd");
    }
    pair(out, 0, "ENDSEC");
}

void entities(DxfBody& body, const ProfileDrawing& drawing)
{
    std::ostream& out = body.out;
    pair(out, 0, "SECTION");
    pair(out, 2, "ENTITIES");
    // One vertex an arc, each with the bulge of the arc that leaves it; flag 70 = 1 closes the polyline.
    body.entity("LWPOLYLINE", drawing.contourLayer.c_str(), "AcDbPolyline");
    pair(out, 90, static_cast<int>(drawing.arcs.size()));
    pair(out, 70, 1);
    pair(out, 43, 0.0);
    for (const ArcPiece& arc : drawing.arcs) {
        pair(out, 10, arc.x0);
        pair(out, 20, arc.y0);
        // The bulge to twelve decimals: with nine, an arc of 80 mm could come out 0.0000002 mm off its radius.
        pair(out, 42, std::tan(arc.sweep / 4), 12);
    }

    body.entity("CIRCLE", BASE_LAYER, "AcDbCircle");
    point(out, 0, 0.0, 0.0);
    pair(out, 40, drawing.baseRadius);

    body.entity("POINT", CENTRE_LAYER, "AcDbPoint");
    point(out, 0, 0.0, 0.0);
    const double arm = centreCrossArm(drawing);
    body.line(CENTRE_LAYER, -arm, 0, arm, 0);
    body.line(CENTRE_LAYER, 0, -arm, 0, arm);

    const ProfileMarks marks = profileMarks(drawing);
    body.line(MARKS_LAYER, marks.zeroFrom[0], marks.zeroFrom[1], marks.zeroTo[0], marks.zeroTo[1]);
    body.entity("ARC", MARKS_LAYER, "AcDbCircle");
    point(out, 0, 0.0, 0.0);
    pair(out, 40, marks.senseRadius);
    pair(out, 100, "AcDbArc");
    pair(out, 50, marks.senseFromDeg);
    pair(out, 51, marks.senseToDeg);
    for (int side = 0; side < 2; side++)
        body.line(MARKS_LAYER, marks.arrowTip[0], marks.arrowTip[1], marks.arrowEnds[side][0],
                  marks.arrowEnds[side][1]);
    pair(out, 0, "ENDSEC");
}

void objects(DxfBody& body)
{
    std::ostream& out = body.out;
    const std::string root = body.handle(), groups = body.handle();
    pair(out, 0, "SECTION");
    pair(out, 2, "OBJECTS");
    pair(out, 0, "DICTIONARY");
    pair(out, 5, root);
    pair(out, 330, "0");
    pair(out, 100, "AcDbDictionary");
    pair(out, 281, 1);
    pair(out, 3, "ACAD_GROUP");
    pair(out, 350, groups);
    pair(out, 0, "DICTIONARY");
    pair(out, 5, groups);
    pair(out, 330, root);
    pair(out, 100, "AcDbDictionary");
    pair(out, 281, 1);
    pair(out, 0, "ENDSEC");
}

} // namespace

void writeDxfProfile(std::ostream& out, const ProfileDrawing& drawing)
{
    DxfBody body;
    pair(body.out, 0, "SECTION");
    pair(body.out, 2, "CLASSES");
    pair(body.out, 0, "ENDSEC");
    tables(body, drawing);
    blocks(body);
    entities(body, drawing);
    objects(body);

    double extent = drawing.baseRadius;
    // An arc bows out by at most a quarter of its chord (its sweep is below 180°).
    for (const ArcPiece& arc : drawing.arcs)
        extent = std::max(extent, std::max(std::fabs(arc.x0), std::fabs(arc.y0)) +
                                      std::hypot(arc.x1 - arc.x0, arc.y1 - arc.y0) / 4);
    pair(out, 0, "SECTION");
    pair(out, 2, "HEADER");
    pair(out, 9, "$ACADVER");
    pair(out, 1, "AC1015");
    pair(out, 9, "$HANDSEED");
    pair(out, 5, DxfBody::hex(body.next));
    pair(out, 9, "$INSUNITS");
    pair(out, 70, 4);
    pair(out, 9, "$MEASUREMENT");
    pair(out, 70, 1);
    pair(out, 9, "$EXTMIN");
    point(out, 0, -extent, -extent);
    pair(out, 9, "$EXTMAX");
    point(out, 0, extent, extent);
    pair(out, 0, "ENDSEC");
    out << body.out.str();
    pair(out, 0, "EOF");
}
