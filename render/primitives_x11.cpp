// The six drawing primitives and the text routine on desktop OpenGL: one glBegin/glEnd block each, lighting off inside.
#include "render/primitives.h"

#include <GL/freeglut.h>
#include <cmath>

void* const TEXT_FONT = GLUT_BITMAP_HELVETICA_18;

static void setColour(const Rgba& colour) { glColor4f(colour.r, colour.g, colour.b, colour.a); }

void drawLine(const Point2& from, const Point2& to, const Rgba& colour)
{
    glDisable(GL_LIGHTING);
    setColour(colour);
    glBegin(GL_LINES);
    glVertex2d(toWindow(from.x), toWindow(from.y));
    glVertex2d(toWindow(to.x), toWindow(to.y));
    glEnd();
    glEnable(GL_LIGHTING);
}

void drawThickLine(const Point2& from, const Point2& to, double width, const Rgba& colour)
{
    glDisable(GL_LIGHTING);
    setColour(colour);
    glLineWidth(static_cast<float>(toWindow(width) * 400.0));
    glBegin(GL_LINES);
    glVertex2d(toWindow(from.x), toWindow(from.y));
    glVertex2d(toWindow(to.x), toWindow(to.y));
    glEnd();
    // Back to 2 pixels, not to the width in force before: every other line is 2 pixels wide.
    glLineWidth(2.0);
    glEnable(GL_LIGHTING);
}

// Common frame of the disk and the circle: lighting off, origin moved to the centre, colour set.
// Returns the radius in window units.
static double beginRound(const Point2& centre, double radius, const Rgba& colour)
{
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslated(toWindow(centre.x), toWindow(centre.y), 0);
    setColour(colour);
    return toWindow(radius);
}

static void endRound()
{
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

// Corners run counter-clockwise from the positive x axis.
void drawDisk(const Point2& centre, double radius, const Rgba& colour)
{
    const double delta = 2.0 * CIRCLE_PI / CIRCLE_SEGMENTS;
    double r = beginRound(centre, radius, colour);
    glBegin(GL_POLYGON);
    for (int i = 0; i < CIRCLE_SEGMENTS; i++)
        glVertex2d(r * cos(i * delta), r * sin(i * delta));
    glEnd();
    endRound();
}

void drawCircle(const Point2& centre, double radius, const Rgba& colour)
{
    const double delta = 2.0 * CIRCLE_PI / CIRCLE_SEGMENTS;
    double r = beginRound(centre, radius, colour);
    // Each side as its own pair of vertices; the loop closes the last side back to (r, 0).
    glBegin(GL_LINE_LOOP);
    double px = r;
    double py = 0;
    for (int i = 1; i < CIRCLE_SEGMENTS; i++) {
        double qx = r * cos(i * delta);
        double qy = r * sin(i * delta);
        glVertex2d(px, py);
        glVertex2d(qx, qy);
        px = qx;
        py = qy;
    }
    glEnd();
    endRound();
}

static void drawRect(GLenum mode, const Point2& corner, double width, double height, double angle,
                     const Rgba& colour)
{
    double px = toWindow(corner.x);
    double py = toWindow(corner.y);
    double w = toWindow(width);
    double h = toWindow(height);
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslated(px, py, 0);
    glRotated(angle / DEG_TO_RAD, 0, 0, 1);
    setColour(colour);
    glBegin(mode);
    glVertex2d(0, 0);
    glVertex2d(w, 0);
    glVertex2d(w, h);
    glVertex2d(0, h);
    glEnd();
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void drawFilledRect(const Point2& corner, double width, double height, double angle, const Rgba& colour)
{
    drawRect(GL_POLYGON, corner, width, height, angle, colour);
}

void drawRectOutline(const Point2& corner, double width, double height, double angle, const Rgba& colour)
{
    drawRect(GL_LINE_LOOP, corner, width, height, angle, colour);
}

void drawText(float x, float y, void* font, const char* text)
{
    glPushAttrib(GL_CURRENT_BIT);
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; c++)
        glutBitmapCharacter(font, static_cast<int>(static_cast<signed char>(*c)));
    glPopAttrib();
}
