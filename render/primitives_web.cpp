// The six drawing primitives and the text routine on WebGL: every shape as triangles, gathered into one batch a
// frame and drawn in order. Window coordinates -1..1, y up; the viewport maps them to pixels as desktop GL does.
// WebGL draws no wide lines, so lines are worked out here, pixel by pixel, by the rules desktop GL follows, and
// drawn as runs of whole pixels; glyphs likewise. Disks and rectangles are WebGL's own triangles.
#include "render/canvas_web.h"
#include "render/primitives.h"

#include <GLES2/gl2.h>
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "helvetica18_glyphs.h"

// The font handle is the address of the glyph table read from freeglut at build time.
void* const TEXT_FONT = const_cast<unsigned char*>(GLYPH_DATA);

// What the desktop program's lines are: 2 pixels wide after the first thick line (the window sets it before).
constexpr double LINE_WIDTH_PIXELS = 2.0;
// Text under lighting with no light enabled comes out in the lit default material's ambient colour:
// 0.2 ambient light times 0.2 ambient reflectance, 0.04 of full, byte 10.
constexpr unsigned char TEXT_GREY = 10;
// Desktop GL places a bitmap at floor(raster position - origin + this), as Mesa does.
constexpr float BITMAP_EPSILON = 0.0001f;

struct Vertex {
    float x, y;            // window coordinates
    unsigned char rgba[4]; // colour bytes
};

// Room for a frame's triangles; a batch that fills up is drawn and started again, keeping the order.
constexpr int BATCH_VERTICES = 6 * 40000;
static Vertex batch[BATCH_VERTICES];
static int batchCount;
static GLuint vertexBuffer;
static double viewportWidth = 800;
static double viewportHeight = 800;

static unsigned char toByte(float c) { return static_cast<unsigned char>(lround(c < 0 ? 0 : c > 1 ? 255 : c * 255)); }

static void addTriangle(const Point2& a, const Point2& b, const Point2& c, const unsigned char rgba[4])
{
    if (batchCount + 3 > BATCH_VERTICES)
        flushCanvasDrawing();
    const Point2* corners[3] = {&a, &b, &c};
    for (const Point2* p : corners) {
        Vertex& v = batch[batchCount++];
        v.x = static_cast<float>(p->x);
        v.y = static_cast<float>(p->y);
        for (int i = 0; i < 4; i++)
            v.rgba[i] = rgba[i];
    }
}

static void addQuad(const Point2& a, const Point2& b, const Point2& c, const Point2& d, const unsigned char rgba[4])
{
    addTriangle(a, b, c, rgba);
    addTriangle(a, c, d, rgba);
}

static void colourBytes(const Rgba& colour, unsigned char rgba[4])
{
    rgba[0] = toByte(colour.r);
    rgba[1] = toByte(colour.g);
    rgba[2] = toByte(colour.b);
    rgba[3] = toByte(colour.a);
}

// Pixel positions as the desktop rasterizer sees them: x to the right, y down from the window's top edge.
static void toPixels(const Point2& p, float out[2])
{
    out[0] = static_cast<float>((p.x + 1) * viewportWidth / 2);
    out[1] = static_cast<float>((1 - p.y) * viewportHeight / 2);
}

static float signOf(float v) { return v >= 0 ? 1.0f : -1.0f; }
static float fraction(float v) { return v - std::floor(v); }

// A line as GL draws wide lines without antialiasing: the pixels a one-pixel line would light along its major
// axis (the "diamond exit" rule: the first pixel if the line leaves its diamond, never the last one's if the
// line ends inside it), each widened across the minor axis to the line's whole number of pixels. Worked out
// along the major axis with the minor one beside it, so one rule serves lines of either slope.
// Window pixel (x, y), counted from the bottom left, as a quad in window coordinates; runs of pixels share one.
static void addPixelRun(int x, int y, int length, const unsigned char rgba[4])
{
    double left = x * 2.0 / viewportWidth - 1;
    double right = (x + length) * 2.0 / viewportWidth - 1;
    double bottom = y * 2.0 / viewportHeight - 1;
    double top = (y + 1) * 2.0 / viewportHeight - 1;
    addQuad({left, bottom}, {right, bottom}, {right, top}, {left, top}, rgba);
}

// Fills the convex quadrilateral (x, y in pixels, y down) as the desktop rasterizer fills it: corners snapped to
// 1/256 pixel, a pixel lit when its centre lies inside, or on a left edge or a bottom edge (GL's fill rule on a
// window whose rows run downwards); the lit pixels go to the batch as runs, so WebGL's own rule never decides.
static void fillQuad(const float x[4], const float y[4], const unsigned char rgba[4])
{
    long long fx[4], fy[4];
    for (int i = 0; i < 4; i++) {
        fx[i] = std::llround((x[i] - 0.5f) * 256);
        fy[i] = std::llround((y[i] - 0.5f) * 256);
    }
    long long twiceArea = 0;
    for (int i = 0; i < 4; i++)
        twiceArea += fx[i] * fy[(i + 1) % 4] - fx[(i + 1) % 4] * fy[i];
    if (twiceArea == 0)
        return;
    const long long orientation = twiceArea > 0 ? -1 : 1;
    long long minX = fx[0], maxX = fx[0], minY = fy[0], maxY = fy[0];
    for (int i = 1; i < 4; i++) {
        minX = std::min(minX, fx[i]);
        maxX = std::max(maxX, fx[i]);
        minY = std::min(minY, fy[i]);
        maxY = std::max(maxY, fy[i]);
    }
    const int width = static_cast<int>(viewportWidth);
    const int height = static_cast<int>(viewportHeight);
    const int firstRow = std::max(0, static_cast<int>((minY + 255) / 256) - 1);
    const int lastRow = std::min(height - 1, static_cast<int>(maxY / 256) + 1);
    const int firstColumn = std::max(0, static_cast<int>((minX + 255) / 256) - 1);
    const int lastColumn = std::min(width - 1, static_cast<int>(maxX / 256) + 1);
    for (int row = firstRow; row <= lastRow; row++) {
        int runStart = -1;
        for (int column = firstColumn; column <= lastColumn + 1; column++) {
            bool inside = column <= lastColumn;
            for (int i = 0; i < 4 && inside; i++) {
                const long long dx = (fx[(i + 1) % 4] - fx[i]) * orientation;
                const long long dy = (fy[(i + 1) % 4] - fy[i]) * orientation;
                const long long e = (column * 256LL - fx[i]) * dy - (row * 256LL - fy[i]) * dx;
                const bool ruleSide = dy > 0 || (dy == 0 && dx > 0);
                inside = e > 0 || (e == 0 && ruleSide);
            }
            if (inside && runStart < 0)
                runStart = column;
            if (!inside && runStart >= 0) {
                addPixelRun(runStart, height - 1 - row, column - runStart, rgba);
                runStart = -1;
            }
        }
    }
}

// Cuts the segment to the window (-1..1 on both axes), as GL clips a line before widening it; false if
// nothing of it is inside.
static bool clipToWindow(Point2& from, Point2& to)
{
    double enter = 0, leave = 1;
    const double delta[2] = {to.x - from.x, to.y - from.y};
    const double origin[2] = {from.x, from.y};
    for (int axis = 0; axis < 2; axis++)
        for (double side : {-1.0, 1.0}) {
            // Inside while side * (origin + t * delta) <= 1.
            double towards = side * delta[axis];
            double room = 1 - side * origin[axis];
            if (towards == 0) {
                if (room < 0)
                    return false;
            } else if (towards > 0) {
                leave = std::fmin(leave, room / towards);
            } else {
                enter = std::fmax(enter, room / towards);
            }
        }
    if (enter > leave)
        return false;
    to = {origin[0] + leave * delta[0], origin[1] + leave * delta[1]};
    from = {origin[0] + enter * delta[0], origin[1] + enter * delta[1]};
    return true;
}

static void addLine(Point2 from, Point2 to, double widthPixels, const unsigned char rgba[4])
{
    if (!clipToWindow(from, to))
        return;
    float start[2], end[2];
    toPixels(from, start);
    toPixels(to, end);
    const bool xMajor = std::fabs(start[0] - end[0]) >= std::fabs(start[1] - end[1]);
    const int major = xMajor ? 0 : 1;
    const int minor = 1 - major;
    // Start minus end, along each axis; a line of no length draws nothing.
    const float dMajor = start[major] - end[major];
    const float dMinor = start[minor] - end[minor];
    if (dMajor == 0 && dMinor == 0)
        return;
    const float slope = dMinor / dMajor;

    // Where each end lies within its pixel, from the pixel's centre.
    const float majorDiff1 = start[major] - std::floor(start[major]) - 0.5f;
    const float minorDiff1 = start[minor] - std::floor(start[minor]) - 0.5f;
    const float majorDiff2 = end[major] - std::floor(end[major]) - 0.5f;
    float minorDiff2 = end[minor] - std::floor(end[minor]) - 0.5f;
    if (minorDiff2 == -0.5f && dMinor < 0)
        minorDiff2 = 0.5f;

    bool drawStart;
    if (std::fabs(majorDiff1) + std::fabs(minorDiff1) < 0.5f)
        drawStart = true;
    else if (signOf(majorDiff1) == signOf(-dMajor))
        drawStart = false;
    else if (signOf(-minorDiff1) != signOf(dMinor))
        drawStart = true;
    else {
        float crossing = fraction(start[minor]) + majorDiff1 * slope;
        drawStart = crossing < 1 && crossing > 0;
    }
    bool drawEnd;
    if (std::fabs(majorDiff2) + std::fabs(minorDiff2) < 0.5f)
        drawEnd = false;
    else if (signOf(majorDiff2) != signOf(-dMajor))
        drawEnd = false;
    else if (signOf(-minorDiff2) == signOf(dMinor))
        drawEnd = true;
    else {
        float crossing = fraction(end[minor]) + majorDiff2 * slope;
        drawEnd = crossing < 1 && crossing > 0;
    }
    // What the plain segment would light at its ends when sampled at pixel centres; move an end by up to half
    // a pixel along the line where that differs from the rule.
    const bool startLit = signOf(-majorDiff1) != signOf(dMajor);
    const bool endLit = signOf(majorDiff2) == signOf(-dMajor) || majorDiff2 == 0;
    const float towards = dMajor < 0 ? -0.5f : 0.5f;
    float startShift = startLit != drawStart ? -majorDiff1 + towards : 0;
    float endShift = endLit != drawEnd ? -majorDiff2 + towards : 0;

    const float a = start[major] + startShift, aMinor = start[minor] + startShift * slope;
    const float b = end[major] + endShift, bMinor = end[minor] + endShift * slope;
    const float half = static_cast<float>(std::lround(widthPixels < 1 ? 1 : widthPixels)) / 2;
    const float majors[4] = {a, b, b, a};
    const float minors[4] = {aMinor - half, bMinor - half, bMinor + half, aMinor + half};
    fillQuad(xMajor ? majors : minors, xMajor ? minors : majors, rgba);
}

void drawLine(const Point2& from, const Point2& to, const Rgba& colour)
{
    unsigned char rgba[4];
    colourBytes(colour, rgba);
    addLine({toWindow(from.x), toWindow(from.y)}, {toWindow(to.x), toWindow(to.y)}, LINE_WIDTH_PIXELS, rgba);
}

void drawThickLine(const Point2& from, const Point2& to, double width, const Rgba& colour)
{
    unsigned char rgba[4];
    colourBytes(colour, rgba);
    // The same single-precision width as glLineWidth receives.
    double widthPixels = static_cast<float>(toWindow(width) * 400.0);
    addLine({toWindow(from.x), toWindow(from.y)}, {toWindow(to.x), toWindow(to.y)}, widthPixels, rgba);
}

// Corner i of the 120-gon about centre, counter-clockwise from the positive x axis, in window pixels.
static Point2 roundCorner(const Point2& centre, double radius, int i)
{
    const double delta = 2.0 * CIRCLE_PI / CIRCLE_SEGMENTS;
    const double r = toWindow(radius);
    return {toWindow(centre.x) + r * cos(i * delta), toWindow(centre.y) + r * sin(i * delta)};
}

void drawDisk(const Point2& centre, double radius, const Rgba& colour)
{
    unsigned char rgba[4];
    colourBytes(colour, rgba);
    Point2 first = roundCorner(centre, radius, 0);
    for (int i = 1; i + 1 < CIRCLE_SEGMENTS; i++)
        addTriangle(first, roundCorner(centre, radius, i), roundCorner(centre, radius, i + 1), rgba);
}

void drawCircle(const Point2& centre, double radius, const Rgba& colour)
{
    unsigned char rgba[4];
    colourBytes(colour, rgba);
    for (int i = 0; i < CIRCLE_SEGMENTS; i++)
        addLine(roundCorner(centre, radius, i), roundCorner(centre, radius, (i + 1) % CIRCLE_SEGMENTS),
                LINE_WIDTH_PIXELS, rgba);
}

// The corners (0, 0), (w, 0), (w, h), (0, h) turned counter-clockwise by angle about the corner point.
static void rectCorners(const Point2& corner, double width, double height, double angle, Point2 corners[4])
{
    double px = toWindow(corner.x);
    double py = toWindow(corner.y);
    double w = toWindow(width);
    double h = toWindow(height);
    // The same degrees as the desktop program hands to glRotated, back to radians.
    double turn = angle / DEG_TO_RAD * (CIRCLE_PI / 180.0);
    double c = cos(turn);
    double s = sin(turn);
    const double local[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int i = 0; i < 4; i++)
        corners[i] = {px + c * local[i][0] - s * local[i][1], py + s * local[i][0] + c * local[i][1]};
}

void drawFilledRect(const Point2& corner, double width, double height, double angle, const Rgba& colour)
{
    unsigned char rgba[4];
    colourBytes(colour, rgba);
    Point2 corners[4];
    rectCorners(corner, width, height, angle, corners);
    addQuad(corners[0], corners[1], corners[2], corners[3], rgba);
}

void drawRectOutline(const Point2& corner, double width, double height, double angle, const Rgba& colour)
{
    unsigned char rgba[4];
    colourBytes(colour, rgba);
    Point2 corners[4];
    rectCorners(corner, width, height, angle, corners);
    for (int i = 0; i < 4; i++)
        addLine(corners[i], corners[(i + 1) % 4], LINE_WIDTH_PIXELS, rgba);
}

// One glyph with its lower left corner at window pixel (x, y).
static void addGlyph(const unsigned char* glyph, int x, int y, const unsigned char rgba[4])
{
    const int width = glyph[0];
    const int rowBytes = (width + 7) / 8;
    for (int row = 0; row < GLYPH_HEIGHT; row++) {
        const unsigned char* bits = glyph + 1 + row * rowBytes;
        for (int i = 0; i < width;) {
            if (!(bits[i / 8] & (0x80 >> (i % 8)))) {
                i++;
                continue;
            }
            int start = i;
            while (i < width && (bits[i / 8] & (0x80 >> (i % 8))))
                i++;
            addPixelRun(x + start, y + row, i - start, rgba);
        }
    }
}

// As glRasterPos2f and glutBitmapCharacter: a start outside the window makes the raster position invalid and
// draws nothing; each glyph then advances the position by its width. Bytes above 127 read as negative, and
// freeglut draws no character below 1.
void drawText(float x, float y, void* font, const char* text)
{
    if (font != TEXT_FONT || !(x >= -1 && x <= 1 && y >= -1 && y <= 1))
        return;
    const unsigned char rgba[4] = {TEXT_GREY, TEXT_GREY, TEXT_GREY, 255};
    float rasterX = x * static_cast<float>(viewportWidth / 2) + static_cast<float>(viewportWidth / 2);
    float rasterY = y * static_cast<float>(viewportHeight / 2) + static_cast<float>(viewportHeight / 2);
    for (const char* c = text; *c != '\0'; c++) {
        int character = static_cast<signed char>(*c);
        if (character < 1)
            continue;
        const unsigned char* glyph = GLYPH_DATA + GLYPH_OFFSET[character];
        addGlyph(glyph, static_cast<int>(std::floor(rasterX - GLYPH_XORIG + BITMAP_EPSILON)),
                 static_cast<int>(std::floor(rasterY - GLYPH_YORIG + BITMAP_EPSILON)), rgba);
        rasterX += glyph[0];
    }
}

static GLuint compileShader(GLenum type, const char* source)
{
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

void setUpCanvasDrawing()
{
    static const char* const VERTEX_SHADER =
        "attribute vec2 position; attribute vec4 colour; varying vec4 shade;"
        "void main() { gl_Position = vec4(position, 0.0, 1.0); shade = colour; }";
    static const char* const FRAGMENT_SHADER =
        "precision mediump float; varying vec4 shade; void main() { gl_FragColor = shade; }";
    GLuint program = glCreateProgram();
    glAttachShader(program, compileShader(GL_VERTEX_SHADER, VERTEX_SHADER));
    glAttachShader(program, compileShader(GL_FRAGMENT_SHADER, FRAGMENT_SHADER));
    glBindAttribLocation(program, 0, "position");
    glBindAttribLocation(program, 1, "colour");
    glLinkProgram(program);
    glUseProgram(program);

    glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof batch, nullptr, GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(0));
    glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex), reinterpret_cast<void*>(2 * sizeof(float)));
}

void setCanvasViewport(int width, int height)
{
    viewportWidth = width;
    viewportHeight = height;
    glViewport(0, 0, width, height);
}

void flushCanvasDrawing()
{
    if (batchCount > 0) {
        glBufferSubData(GL_ARRAY_BUFFER, 0, batchCount * sizeof(Vertex), batch);
        glDrawArrays(GL_TRIANGLES, 0, batchCount);
    }
    batchCount = 0;
}
