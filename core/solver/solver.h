#pragma once
// The Karman-Trefftz conformal-mapping solution of one section at one angle of attack.

#include <cmath>
#include <memory>

#include "core/solver/point_array.h"
#include "core/solver/solver_path.h"

namespace vorta {

inline const double Pi = 4 * std::atan(1.0);

struct Coefficients {
    double CL = 0;
    double CMc4 = 0;   // about the quarter-chord point, positive nose-up
    double Alfa0 = 0;  // zero-lift angle, degrees
};

// Slots 0 to N1 of x, y and Cu; slot 0 holds 0. Point 1 is the trailing edge, the points
// run along the lower surface to the nose and back along the upper surface, and point N1
// repeats point 1. A slot the sweep does not reach holds 0.
struct Solution {
    Coefficients coefficients;
    PointArray x, y, Cu;
};

// N1 >= 2 points; F >= 0, G, m the section's shape; AlfaD in degrees. Arithmetic faults are not
// caught here: inputs outside the accepted range yield infinities or NaN (see isFinite).
// Every value is within 1e-13 (a few 1e-15 in practice) of the closed-form steps carried
// out exactly at the same double Theta and Alfa, relative to the larger of 1 and the value.
Solution VORTA(int N1, double F, double G, double m, double Chord, double AlfaD);

// The same on a chosen sweep path, split over `threads` threads (0: as many as the work and
// the processor warrant). VORTA takes the widest path.
Solution VORTA(int N1, double F, double G, double m, double Chord, double AlfaD, SweepPath path,
               int threads);

// The coefficients alone, without the contour: those VORTA hands out at the same inputs.
Coefficients sectionCoefficients(double F, double G, double m, double Chord, double AlfaD);

bool isFinite(const Solution& solution);

// The pressure coefficient Cp = 1 - Cu at every slot of Cu.
PointArray pressureCoefficients(const PointArray& Cu);

// The section's point and its Cu at any polar angle Theta of the circle (-Pi to Pi), as VORTA
// computes the points it hands out, for values between them. At the trailing edge (Theta = 0)
// Cu is the one VORTA gives point 1.
struct SurfacePoint {
    double x, y, Cu;
};
class SectionSurface {
public:
    SectionSurface(double F, double G, double m, double Chord, double AlfaD);
    ~SectionSurface();
    SectionSurface(const SectionSurface&) = delete;
    SectionSurface& operator=(const SectionSurface&) = delete;

    SurfacePoint at(double Theta) const;

private:
    struct Constants;
    std::unique_ptr<Constants> constants_;
    double Chord_, trailingEdgeCu_;
};

}  // namespace vorta
