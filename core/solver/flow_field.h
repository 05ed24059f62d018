#pragma once
// The potential flow about a section everywhere outside it, in closed form: a point of the
// plane is carried back to the circle plane by the inverse of the Karman-Trefftz mapping,
// where the flow about the circle with the circulation of the Kutta condition is known, and
// the circle's velocity is divided by the mapping's derivative (core/solver/field_kernel.h).

#include <cstddef>
#include <optional>

#include "core/solver/field_kernel.h"
#include "core/solver/solver_path.h"

namespace vorta {

// The flow at a point, per unit free-stream speed and chord: the velocity (u, v) in the frame
// of the contour, whose free stream is (cos Alfa, sin Alfa); Cp = 1 - u^2 - v^2; and the
// stream function psi (u = dpsi/dy, v = -dpsi/dx), zero on the section's surface.
struct FieldValues {
    double u = 0, v = 0, Cp = 0, psi = 0;
};

// A point inside the section by no more than this many chords still gets values: those of the
// closed form continued across the surface, so that rounded surface points are not lost.
inline constexpr double kSurfaceTolerance = 1e-9;

class FlowField {
  public:
    // The section of F, G and m at AlfaD degrees, with a chord of 1; F >= 0 and 0 < m <= 2.
    FlowField(double F, double G, double m, double AlfaD);

    // The flow at (x, y); no value for a point inside the section, nor at the sharp leading
    // edge of the circular arc (F = 0), where the speed has no finite value.
    std::optional<FieldValues> at(double x, double y) const;

    // The flow at n points (x[i], y[i]) into u, v, Cp and psi, NaN where a point has no values,
    // on the widest vector path (or the one given) and shared among threads for long arrays.
    void evaluate(std::size_t n, const double* x, const double* y, double* u, double* v, double* Cp,
                  double* psi) const;
    void evaluate(std::size_t n, const double* x, const double* y, double* u, double* v, double* Cp,
                  double* psi, SweepPath path, int threads) const;

    // The point of the plane, and its flow, that comes from the circle-plane point at distance
    // r >= R from the circle's centre in the direction angle. r = R gives the surface.
    struct Node {
        double x = 0, y = 0;
        FieldValues values;
    };
    Node atCirclePoint(double r, double angle) const;

    double circleRadius() const { return constants_.R; }
    // The direction, from the circle's centre, of the circle point that becomes the trailing edge.
    double trailingEdgeAngle() const;

  private:
    FieldValues trailingEdgeValues() const;

    solver::FieldConstants constants_;
};

}  // namespace vorta
