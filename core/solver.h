#pragma once
// The Karman-Trefftz conformal-mapping solution of one section at one angle of attack.

#include <cmath>

#include "core/point_array.h"

namespace vorta {

inline const double Pi = 4 * std::atan(1.0);

struct Coefficients {
    double CL = 0;
    double CMc4 = 0;   // about the quarter-chord point, positive nose-up
    double Alfa0 = 0;  // zero-lift angle, degrees
};

// Slots 0 to N1 of x, y and Cu; slot 0 is never set. Point 1 is the trailing edge, the
// points run along the lower surface to the nose and back along the upper surface, and
// point N1 repeats point 1. A slot the sweep does not reach holds 0.
struct Solution {
    Coefficients coefficients;
    PointArray x, y, Cu;
};

// N1 >= 2 points; F, G, m the section's shape; AlfaD in degrees. Arithmetic faults are not
// caught here: inputs outside the accepted range yield infinities or NaN (see isFinite).
Solution VORTA(int N1, double F, double G, double m, double Chord, double AlfaD);

bool isFinite(const Solution& solution);

}  // namespace vorta
