// Start-up: checks the display, reads the start key, fixes sampling and geometry, fills the tables, opens the window.
#include "app/start_up.h"

#include "app/app_state.h"
#include "app/console_dialogue.h"
#include "app/display_check.h"
#include "app/terminal.h"
#include "app/window.h"
#include "curves/motion_tables.h"

#include <cstdlib>

void runConsolePhase()
{
    installTerminalGuards();

    printCurveMenu();
    appState.lastKey = static_cast<signed char>(readKey());
    if (appState.lastKey >= '0' && appState.lastKey <= '7') {
        appState.selectedCurve = appState.lastKey - '0';
        printCurveLine(appState.selectedCurve);
    }

    appState.riseSteps = 100;
    appState.dwellSteps = 100;
    appState.cycleSteps = 2 * appState.riseSteps + appState.dwellSteps;
    appState.timeStep = 1.0 / appState.riseSteps;

    appState.contactOrigin = {-100, 50};
    appState.sChartOrigin = {50, 100};
    appState.vChartOrigin = {50, 0};
    appState.aChartOrigin = {50, -100};
    appState.lift = 60;
    appState.chartWidth = 150;
    appState.baseRadius = 50;
    appState.setupAngle = TWO_PI / 3;
    appState.angleStep = appState.setupAngle / appState.riseSteps;

    // Curves 0..6 are built for a start with curve 7 too, so that the window keys 0..6 have tables;
    // they go first because they leave their joint points in Ta..Sb, which the typed points replace.
    buildStandardCurves();
    if (appState.selectedCurve == TWO_POINT_CURVE && promptCurve7Points())
        buildTwoPointCurve(appState.Ta, appState.Sa, appState.Tb, appState.Sb, curveSlot(TWO_POINT_CURVE));

    appState.followerHalfWidth = 10;
    appState.followerHalfLength = 50;

    runKeyDialogue();
}

void startUp(int argc, char** argv)
{
    // Where no window can open, the whole dialogue would be typed for nothing: stop before the menu,
    // with the terminal's modes never touched.
    if (!windowSystemReachable(argc, argv))
        exit(1);
    runConsolePhase();
    runWindow(&argc, argv);
}
