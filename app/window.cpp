// Window, display pass and keyboard commands; nothing moves by itself: every new frame follows a key.
#include "app/window.h"

#include <cstdlib>

#include "app/app_state.h"
#include "app/console_dialogue.h"
#include "mechanism/cam.h"
#include "mechanism/comparison.h"
#include "mechanism/follower.h"
#include "render/chart_frames.h"
#include "render/charts.h"
#include "render/primitives.h"
#include "render/text_panel.h"

constexpr unsigned char KEY_ESCAPE = 27;
constexpr double ZOOM_FACTOR = 0.9;

int framesDrawn;

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
    requestRedisplay();
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
