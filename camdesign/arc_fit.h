// Circular arcs through a smooth closed curve: biarcs within a tolerance both ways, tangent-continuous at every joint.
// Lengths in mm, arc sweeps in radians (positive counter-clockwise); the curve's parameter is the caller's (degrees).
#pragma once

#include <functional>
#include <vector>

// One point of the curve from closed forms: position, derivative by the parameter (its direction is the tangent;
// never a finite difference, which the fit's tolerance bound could not rest on), and signed curvature, positive
// where the curve turns counter-clockwise as the parameter grows.
struct CurveSample {
    double x, y;
    double dx, dy;
    double curvature;  // 1/mm
};
using CurveFunction = std::function<CurveSample(double)>;

// A circular arc from (x0, y0) to (x1, y1) turning its tangent by sweep; 0 is a straight line. DXF's bulge is
// tan(sweep / 4); SVG's and G-code's arcs take the centre or radius below.
struct ArcPiece {
    double x0, y0, x1, y1;
    double sweep;
};

struct ArcFit {
    std::vector<ArcPiece> arcs;   // in order of the growing parameter; the last ends where the first starts
    std::vector<double> knots;    // the curve's parameter at the start of each biarc (two arcs each)
    double deviation = 0;         // bound on the distance between arcs and curve, either way, mm
};

// Arcs for the closed curve over [knots.front(), knots.back()], which the caller gives in ascending order with
// every place where the curvature may jump (the tangent may not); knots.back() returns to knots.front()'s point.
// Each stretch between knots is split until each biarc is within tolerance of it: the distance is measured from
// the curve to the arc its point projects onto from the arc's centre, which covers every point of both (so it
// bounds the distance both ways), at samples with a second-order bound between them. An arc of the curve itself
// (a cam's dwell) comes out as arcs of the same circle. Throws std::runtime_error where no fit is found.
ArcFit fitArcs(const CurveFunction& curve, const std::vector<double>& knots, double tolerance);

// The curve moved by distance to its right (outwards for a curve turning counter-clockwise about its inside), as a
// cutter's centre follows a contour: same parameter, curvature k / (1 + distance k). Where 1 + distance k <= 0
// the offset folds over; callers check that before fitting.
CurveFunction offsetCurve(const CurveFunction& curve, double distance);

// The arc's radius (infinite for a line), centre, and point at a fraction 0..1 of its sweep.
double arcRadius(const ArcPiece& arc);
void arcCentre(const ArcPiece& arc, double& cx, double& cy);
void arcPointAt(const ArcPiece& arc, double fraction, double& x, double& y);
// The same arc run the other way.
ArcPiece reversedArc(const ArcPiece& arc);
