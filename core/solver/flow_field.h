#pragma once
// The potential flow about a section everywhere outside it, in closed form: a point of the
// plane is carried back to the circle plane by the inverse of the Karman-Trefftz mapping,
// where the flow about the circle with the circulation of the Kutta condition is known, and
// the circle's velocity is divided by the mapping's derivative.

#include <complex>
#include <cstddef>
#include <optional>

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
    // The section of F, G and m at AlfaD degrees, with a chord of 1.
    FlowField(double F, double G, double m, double AlfaD);

    // The flow at (x, y); no value for a point inside the section, nor at the sharp leading
    // edge of the circular arc (F = 0), where the speed has no finite value.
    std::optional<FieldValues> at(double x, double y) const;

    // The flow at n points (x[i], y[i]) into u, v, Cp and psi, NaN where a point has no values;
    // long arrays are shared among threads.
    void evaluate(std::size_t n, const double* x, const double* y, double* u, double* v, double* Cp,
                  double* psi) const;

    // The point of the plane, and its flow, that comes from the circle-plane point at distance
    // r >= R from the circle's centre in the direction angle. r = R gives the surface.
    struct Node {
        double x = 0, y = 0;
        FieldValues values;
    };
    Node atCirclePoint(double r, double angle) const;

    double circleRadius() const { return R_; }
    // The direction, from the circle's centre, of the circle point that becomes the trailing edge.
    double trailingEdgeAngle() const { return std::arg(s1_); }

  private:
    using Complex = std::complex<double>;

    // The circle-plane point by t = log((zeta - 1)/(zeta + 1)), from which every quantity of the
    // flow and of the mapping follows without cancelling digits.
    struct CirclePoint {
        Complex t;  // log q
        Complex q, oneMinusQ, w, oneMinusW;
        Complex zetaMinus1, zetaPlus1;
        bool nearNose = false;  // nearer zeta = -1 than zeta = 1
        double exterior = 0;    // |zeta - centre|^2 - R^2: positive outside the circle
    };
    CirclePoint circlePoint(Complex t, Complex w, Complex oneMinusW) const;
    void measureFromNearerEnd(CirclePoint& p) const;
    CirclePoint circlePointFromDirection(double r, double angle) const;
    FieldValues valuesAt(const CirclePoint& p) const;
    FieldValues trailingEdgeValues() const;
    Complex logW(double x, double y) const;
    std::optional<CirclePoint> preimage(double x, double y) const;
    // |dz/dzeta| at a circle-plane point.
    double mappingScale(const CirclePoint& p) const;

    double F_, G_, m_;
    double A_, mA_, XShift_, nose_;  // nose_ = XShift + mA, taken without cancelling
    double Beta_, R_, R2_;
    double Alfa_, sinAB_;
    // Circle points from the centre: s1 = 1 - c, the trailing edge; s0 = -1 - c; and the front
    // stagnation point s2 = -R e^{i(2 Alfa + Beta)}, by its distance from the other two.
    Complex s1_, s0_, s1MinusS2_, s0MinusS2_;
    Complex freeStreamTurn_;  // e^{-i Alfa}
};

}  // namespace vorta
