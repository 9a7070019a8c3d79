// Window, display pass and keyboard commands; nothing moves by itself: every new frame follows a key.
#include "app/window.h"

#include <GL/freeglut.h>
#include <cstdlib>
#include <malloc.h>

#include "app/app_state.h"
#include "app/console_dialogue.h"
#include "app/window_title.h"
#include "mechanism/cam.h"
#include "mechanism/comparison.h"
#include "mechanism/follower.h"
#include "render/chart_frames.h"
#include "render/charts.h"
#include "render/primitives.h"
#include "render/text_panel.h"

static const char* const WINDOW_TITLE =
    "カム曲線　1-7:カム曲線選択, c:3種カム, W,w:拡大縮小，r:正逆転，s:継続";

constexpr unsigned char KEY_ESCAPE = 27;
constexpr double ZOOM_FACTOR = 0.9;

int framesDrawn;

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

void displayPass()
{
    beginFrame();
    drawChartFrames();
    if (appState.lastKey == 'c') {
        drawLegend(appState.compareCurves);
        drawComparison(appState.compareCurves, appState.drawScale);
    } else {
        drawTextPanel();
        drawFollower(appState.selectedCurve, appState.drawScale, &appState.contactOrigin, appState.stepIndex, &RED);
        drawCam(appState.selectedCurve, appState.drawScale, &appState.contactOrigin, appState.baseRadius,
                appState.stepIndex, &RED);
        drawMotionCharts(appState.selectedCurve, appState.drawScale, appState.stepIndex, GREEN);
    }
    endFrame();
    framesDrawn++;
}

void onReshape(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

static void selectCurve(int curve)
{
    appState.selectedCurve = curve;
    appState.stepIndex = 0;
    appState.stepDirection = 1;
}

static void stepMotion()
{
    appState.stepIndex += appState.stepDirection;
    if (appState.stepIndex > appState.riseSteps)
        appState.stepIndex = appState.riseSteps;
    if (appState.stepIndex < 0)
        appState.stepIndex = 0;
}

// The dialogue keeps the event loop waiting; afterwards ask for the frame it changed.
static void runDialogueFromWindow()
{
    runKeyDialogue();
    glutPostRedisplay();
}

void onKey(unsigned char key, int, int)
{
    appState.lastKey = static_cast<signed char>(key);
    switch (key) {
    case '0': case '1': case '2': case '3':
    case '4': case '5': case '6':   selectCurve(key - '0');                       displayPass();  break;
    case '7':                       selectCurve(7);                               runDialogueFromWindow(); break;
    case 'c':                                                                     runDialogueFromWindow(); break;
    case 'w':                       appState.drawScale *= ZOOM_FACTOR;            displayPass();  break;
    case 'W':                       appState.drawScale /= ZOOM_FACTOR;            displayPass();  break;
    // The console help names 't' for reversing; the window title names 'r'.
    case 'r': case 't':             appState.stepDirection = -appState.stepDirection; displayPass(); break;
    case 's':                       stepMotion();                                 displayPass();  break;
    case KEY_ESCAPE:                exit(0);
    default:                                                                      break;
    }
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
