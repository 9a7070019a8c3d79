// The window on freeglut and desktop OpenGL: creation, frame begin and end, reshape and GLUT's event loop.
#include "app/window.h"

#include <GL/freeglut.h>
#include <cstdlib>
#include <malloc.h>

#include "app/window_title.h"

void createMainWindow()
{
    glutCreateWindow(WINDOW_TITLE);
    setWindowTitleUtf8(WINDOW_TITLE);
}

void setClearColour() { glClearColor(1, 1, 1, 1); }

void beginFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

void endFrame()
{
    glFlush();
    glutSwapBuffers();
}

void requestRedisplay() { glutPostRedisplay(); }

void onReshape(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

// Every frame after the first starts with lighting on and 2-pixel lines, left by the primitives;
// the first frame starts so too, else its labels come out white on white and its early lines 1 pixel.
static void setInitialDrawState()
{
    glEnable(GL_LIGHTING);
    glLineWidth(2.0f);
}

// Mesa's software renderer takes megabytes of fresh memory for the draw commands of every frame; when the
// C library hands them back to the system after each frame, the next frame faults them all in again
// (about 4,000 page faults and 50 ms for the comparison view). Keep freed memory for reuse instead.
static void keepRendererMemory()
{
    mallopt(M_MMAP_THRESHOLD, 8 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

void openWindow(int* argc, char** argv)
{
    keepRendererMemory();
    glutInitWindowSize(WINDOW_WIDTH, WINDOW_HEIGHT);
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    createMainWindow();

    glutDisplayFunc(displayPass);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKey);

    setClearColour();
    setInitialDrawState();
}

void runWindow(int* argc, char** argv)
{
    openWindow(argc, argv);
    glutMainLoop();
    // freeglut returns from its loop only if told to; the window has gone, so end as closing it would.
    exit(0);
}
