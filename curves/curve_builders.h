// The builders of the seven standard curves, one per CurveId, and the sample store they share.
#pragma once

void buildParabolic(double* slot);
void buildHarmonic(double* slot);
void buildCycloid(double* slot);
void buildModifiedTrapezoid(double* slot);
void buildModifiedSine(double* slot);
void buildGutmanF3(double* slot);
void buildModifiedConstantVelocity(double* slot);

// Normalized time of sample i: i times the stored timeStep, not i / riseSteps.
double sampleTime(int i);

void storeSample(double* slot, int i, double s, double v, double a);
