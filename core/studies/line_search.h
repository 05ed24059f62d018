#pragma once
// Searches along one variable, as the section measurements, the design and the fit need them:
// a root of a function that changes sign over an interval, and the least value of a function
// over an interval. Both are Brent's methods, which fall back on bisection and golden sections
// and so end within a known number of steps whatever the function does.

#include <functional>

namespace vorta {

using Function1 = std::function<double(double)>;

// A root of f in [a, b], where fa = f(a) and fb = f(b) do not have the same sign, found to
// the double (the interval it lies in shrinks to neighbouring doubles, or f vanishes).
double findRoot(const Function1& f, double a, double b, double fa, double fb);

struct LeastValue {
    double x, value;
};
// The least value of f on [a, b], where it is taken to have a single minimum, to within
// tolerance in x (on top of the square root of the double's precision, the most such a search
// can resolve).
LeastValue findLeast(const Function1& f, double a, double b, double tolerance);

}  // namespace vorta
