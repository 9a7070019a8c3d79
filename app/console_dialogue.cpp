// The console dialogue of start-up and of the window keys 'c' and '7'.
#include "app/console_dialogue.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/console_texts.h"
#include "app/terminal.h"
#include "curves/motion_tables.h"

void printText(const char* text)
{
    fputs(text, stdout);
    fflush(stdout);
}

void printCurveMenu()
{
    for (int i = 0; i < CURVE_MENU_LENGTH; i++)
        printText(CURVE_MENU[i]);
}

void printCurveLine(int curve)
{
    if (curve >= 0 && curve < CURVE_COUNT)
        printText(CURVE_LINES[curve]);
}

bool promptCurve7Points()
{
    for (;;) {
        printText(POINTS_PROMPT);
        printText(POINTS_INPUT_LINE);

        double points[4];
        int count = 0;
        NumberResult result = NUMBER_OK;
        while (count < 4 && (result = readNumber(&points[count])) == NUMBER_OK)
            count++;
        if (result == NUMBER_END)
            return false;
        // The rest of the line, numbers beyond the fourth and the line break included, would
        // otherwise be taken as the next keys.
        discardInputLine();
        if (result == NUMBER_OK && twoPointCurveAccepts(points[0], points[1], points[2], points[3])) {
            appState.Ta = points[0];
            appState.Sa = points[1];
            appState.Tb = points[2];
            appState.Sb = points[3];
            return true;
        }
        printText(POINTS_ERROR);
    }
}

static bool isCurveKey(int key, int lastCurve) { return key >= '0' && key <= '0' + lastCurve; }

void runKeyDialogue()
{
    for (int i = 0; i < KEY_HELP_LENGTH; i++)
        printText(KEY_HELP[i]);

    if (isCurveKey(appState.lastKey, TWO_POINT_CURVE)) {
        appState.selectedCurve = appState.lastKey - '0';
        printCurveLine(appState.selectedCurve);
    }
    if (appState.lastKey != 'c' && appState.selectedCurve == TWO_POINT_CURVE && promptCurve7Points())
        buildTwoPointCurve(appState.Ta, appState.Sa, appState.Tb, appState.Sb, curveSlot(TWO_POINT_CURVE));

    // Each of the three reads takes one key; only 0..6 fill its slot, anything else leaves it.
    if (appState.lastKey == 'c') {
        printText(COMPARISON_PROMPT);
        for (int i = 0; i < 3; i++) {
            int key = readKey();
            if (isCurveKey(key, STANDARD_CURVE_COUNT - 1)) {
                appState.compareCurves[i] = key - '0';
                printCurveLine(appState.compareCurves[i]);
            }
        }
    }

    appState.drawScale = 0.004;
    appState.stepIndex = 0;
    appState.stepDirection = 1;
}
