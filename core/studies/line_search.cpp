#include "core/studies/line_search.h"

#include <cfloat>
#include <cmath>

namespace vorta {

namespace {

constexpr int kMostSteps = 200;  // far more than either search takes on a smooth function

bool sameSign(double a, double b) { return (a > 0 && b > 0) || (a < 0 && b < 0); }

// One step of Brent's root finding from b, the best point so far, towards c, across the root
// from it, with a the point before b: inverse quadratic or secant interpolation where it
// falls well inside the interval and shrinks it fast enough, else bisection. e is the step
// before last, which the method keeps to judge that.
struct RootStep {
    double d, e;
};
RootStep rootStep(double a, double b, double c, double fa, double fb, double fc, double d, double e,
                  double tol) {
    const double half = (c - b) / 2;
    if (std::fabs(e) < tol || std::fabs(fa) <= std::fabs(fb)) return {half, half};
    const double s = fb / fa;
    double p, q;
    if (a == c) {
        p = 2 * half * s;
        q = 1 - s;
    } else {
        const double qa = fa / fc, r = fb / fc;
        p = s * (2 * half * qa * (qa - r) - (b - a) * (r - 1));
        q = (qa - 1) * (r - 1) * (s - 1);
    }
    if (p > 0) q = -q;
    p = std::fabs(p);
    if (2 * p >= 3 * half * q - std::fabs(tol * q) || p >= std::fabs(e * q / 2)) return {half, half};
    return {p / q, d};
}

}  // namespace

double findRoot(const Function1& f, double a, double b, double fa, double fb) {
    if (fa == 0) return a;
    if (fb == 0) return b;
    double c = a, fc = fa, d = b - a, e = d;
    for (int step = 0; step < kMostSteps; ++step) {
        if (sameSign(fb, fc)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol = 2 * DBL_EPSILON * std::fabs(b) + DBL_MIN;
        const double half = (c - b) / 2;
        if (std::fabs(half) <= tol || fb == 0) return b;
        const RootStep next = rootStep(a, b, c, fa, fb, fc, d, e, tol);
        d = next.d;
        e = next.e;
        a = b;
        fa = fb;
        b += std::fabs(d) > tol ? d : std::copysign(tol, half);
        fb = f(b);
    }
    return b;
}

LeastValue findLeast(const Function1& f, double a, double b, double tolerance) {
    const double golden = (3 - std::sqrt(5.0)) / 2;
    const double rootEpsilon = std::sqrt(DBL_EPSILON);
    double x = a + golden * (b - a), w = x, v = x;
    double fx = f(x), fw = fx, fv = fx;
    double d = 0, e = 0;
    for (int step = 0; step < kMostSteps; ++step) {
        const double middle = (a + b) / 2;
        const double tol1 = rootEpsilon * std::fabs(x) + tolerance / 3, tol2 = 2 * tol1;
        if (std::fabs(x - middle) <= tol2 - (b - a) / 2) break;
        bool parabolic = false;
        if (std::fabs(e) > tol1) {
            // The parabola through x, w and v, where its vertex lies well inside [a, b].
            double r = (x - w) * (fx - fv), q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0) p = -p;
            q = std::fabs(q);
            r = e;
            if (std::fabs(p) < std::fabs(q * r / 2) && p > q * (a - x) && p < q * (b - x)) {
                e = d;
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2) d = std::copysign(tol1, middle - x);
                parabolic = true;
            }
        }
        if (!parabolic) {
            e = x >= middle ? a - x : b - x;
            d = golden * e;
        }
        const double u = x + (std::fabs(d) >= tol1 ? d : std::copysign(tol1, d));
        const double fu = f(u);
        if (fu <= fx) {
            (u >= x ? a : b) = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            (u < x ? a : b) = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    return {x, fx};
}

}  // namespace vorta
