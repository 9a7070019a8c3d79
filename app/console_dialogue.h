// The console dialogue: curve menu, curve lines, curve-7 prompt, key help and comparison prompt.
#pragma once

// Writes one text and shows it at once.
void printText(const char* text);

void printCurveMenu();

// The line of a curve 0..7, e.g. "\n3:..." ; other numbers print nothing.
void printCurveLine(int curve);

// Asks for A(Ta, Sa) and B(Tb, Sb) until four finite numbers with 0 < Ta < Tb < 1 arrive; then
// stores them in appState and returns true. At end of input returns false and changes nothing.
bool promptCurve7Points();

// Key help, then acts on lastKey: a curve's line, the curve-7 points or the three comparison curves;
// ends with drawScale = 0.004, stepIndex = 0 and stepDirection = 1.
void runKeyDialogue();
