// The formulas of each law, one evaluator and one joint list per law, gathered into a table by motion_laws.cpp.
// T runs 0..1 over the rise; every evaluator applies the boundary rule (a joint belongs to the earlier segment).
#pragma once

#include "curves/motion_laws.h"

LawSample parabolicAt(double T, const TwoPoints& points);
LawSample harmonicAt(double T, const TwoPoints& points);
LawSample cycloidAt(double T, const TwoPoints& points);
LawSample modifiedTrapezoidAt(double T, const TwoPoints& points);
LawSample modifiedSineAt(double T, const TwoPoints& points);
LawSample gutmanF3At(double T, const TwoPoints& points);
LawSample modifiedConstantVelocityAt(double T, const TwoPoints& points);
LawSample twoPointAt(double T, const TwoPoints& points);
LawSample polynomial345At(double T, const TwoPoints& points);
LawSample polynomial4567At(double T, const TwoPoints& points);

int parabolicJoints(const TwoPoints& points, double* joints);
int modifiedTrapezoidJoints(const TwoPoints& points, double* joints);
int modifiedSineJoints(const TwoPoints& points, double* joints);
int modifiedConstantVelocityJoints(const TwoPoints& points, double* joints);
int twoPointJoints(const TwoPoints& points, double* joints);
// For the laws of one formula over the whole rise.
int noJoints(const TwoPoints& points, double* joints);

// The joint points the composite laws leave in the program's Ta, Sa, Tb, Sb when their tables are built.
void storeModifiedTrapezoidJointPoints();
void storeModifiedSineJointPoints();
void storeModifiedConstantVelocityJointPoints();
