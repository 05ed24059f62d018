#include "core/studies/section_design.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "core/numbers/number_text.h"

namespace vorta {

namespace {

constexpr int kMostNewtonSteps = 60;
constexpr int kMostHalvings = 40;
constexpr double kDifferenceStep = 1e-7;
// F/(1 + F) at F = 999: thickness comes within 1e-3 of its bound there, and beyond it the
// mapping's constants lose the digits a design needs.
constexpr double kLargestU = 0.999;

// The unknowns are u = F/(1 + F), from 0 up to 1, and v = G/(1 + F): a section's thickness
// grows nearly in proportion to u, and its camber is close to v/2, so that Newton's method
// takes few steps in them, and u keeps F from 0 to infinity within an interval.
struct Unknowns {
    double u = 0, v = 0;
};
double FOf(const Unknowns& x) { return x.u / (1 - x.u); }
double GOf(const Unknowns& x) { return x.v / (1 - x.u); }

// How far a section misses the targets.
struct Miss {
    std::optional<SectionMeasures> measures;
    double thickness = 0, camber = 0;
    bool measured() const { return measures.has_value(); }
};

// What a step aims at: both targets, or one of them where the other is out of its hands (a
// symmetric target keeps G at 0; where u sits on a bound, only the camber can still be met).
enum class Aim { Both, Thickness, Camber };

double distance(const Miss& miss, Aim aim) {
    if (!miss.measured()) return HUGE_VAL;
    switch (aim) {
        case Aim::Thickness:
            return std::fabs(miss.thickness);
        case Aim::Camber:
            return std::fabs(miss.camber);
        default:
            return std::hypot(miss.thickness, miss.camber);
    }
}

struct Step {
    Unknowns d;
    Aim aim;
};

class Design {
  public:
    Design(double T, double C, double m) : T_(T), C_(C), m_(m) {}

    Miss miss(const Unknowns& x) const {
        Miss miss{measureSection(FOf(x), GOf(x), m_)};
        if (miss.measured()) {
            miss.thickness = miss.measures->Delta - T_;
            miss.camber = C_ == 0 ? 0 : miss.measures->Gama - C_;
        }
        return miss;
    }

    // Newton's method from x with a Jacobian by forward differences, each step halved until
    // what it aims at shrinks. Ends where that stops shrinking; x is the best point found.
    Miss solve(Unknowns& x) const {
        Miss now = miss(x);
        for (int count = 0; count < kMostNewtonSteps && now.measured(); ++count) {
            const std::optional<Step> step = newtonStep(x, now);
            if (!step || distance(now, step->aim) == 0 || !advance(x, now, *step)) break;
        }
        return now;
    }

  private:
    std::optional<Step> newtonStep(const Unknowns& x, const Miss& now) const {
        const double hu = x.u + kDifferenceStep <= kLargestU ? kDifferenceStep : -kDifferenceStep;
        const Miss alongU = miss({x.u + hu, x.v}), alongV = miss({x.u, x.v + kDifferenceStep});
        if (!alongU.measured() || !alongV.measured()) return std::nullopt;
        const double tu = (alongU.thickness - now.thickness) / hu, cu = (alongU.camber - now.camber) / hu;
        const double tv = (alongV.thickness - now.thickness) / kDifferenceStep;
        const double cv = (alongV.camber - now.camber) / kDifferenceStep;
        Step step{{-now.thickness / tu, 0}, Aim::Thickness};
        if (C_ != 0) {
            const double determinant = tu * cv - tv * cu;
            step = {{(tv * now.camber - cv * now.thickness) / determinant,
                     (cu * now.thickness - tu * now.camber) / determinant},
                    Aim::Both};
        }
        const bool pressedOnBound = (x.u == 0 && step.d.u < 0) || (x.u == kLargestU && step.d.u > 0);
        if (pressedOnBound || !std::isfinite(step.d.u) || !std::isfinite(step.d.v)) {
            if (C_ == 0) return std::nullopt;
            step = {{0, -now.camber / cv}, Aim::Camber};
        }
        if (!std::isfinite(step.d.u) || !std::isfinite(step.d.v)) return std::nullopt;
        return step;
    }

    bool advance(Unknowns& x, Miss& now, const Step& step) const {
        double fraction = 1;
        for (int halving = 0; halving < kMostHalvings; ++halving, fraction /= 2) {
            const Unknowns next{std::clamp(x.u + fraction * step.d.u, 0.0, kLargestU),
                                x.v + fraction * step.d.v};
            const Miss there = miss(next);
            if (distance(there, step.aim) < distance(now, step.aim)) {
                x = next;
                now = there;
                return true;
            }
        }
        return false;
    }

    double T_, C_, m_;
};

std::string atAngle(double TAU) { return "at a trailing-edge angle of " + shortestText(TAU) + " degrees"; }

Refusal tooThick(double T, double TAU) {
    return {"Thickness " + shortestText(T) + ": no F reaches it " + atAngle(TAU) +
            "; sections approach a thickness of 1, a circle, as F grows."};
}

Refusal notTogether(double T, double C, double TAU) {
    return {"Thickness " + shortestText(T) + " and camber " + shortestText(C) + ": no F and G give both " +
            atAngle(TAU) + "."};
}

// Why the best section found misses the targets.
Refusal missed(double T, double C, double TAU, const Unknowns& x, const Miss& miss) {
    if (x.u == 0 && miss.thickness > 0 && std::fabs(miss.camber) <= kDesignTolerance) {
        return {"Thickness " + shortestText(T) + ": no F reaches it " + atAngle(TAU) +
                ", where the thinnest section of camber " + shortestText(C) + " (F = 0) is " +
                withDecimals(miss.measures->Delta, 4) + " thick."};
    }
    if (x.u == kLargestU && miss.thickness < 0) return tooThick(T, TAU);
    return notTogether(T, C, TAU);
}

}  // namespace

std::variant<Section, Refusal> designSection(double T, double C, double TAU) {
    for (const auto& [target, value] :
         {std::pair{"Thickness", T}, std::pair{"Camber", C}, std::pair{"Trailing-edge angle", TAU}}) {
        if (!std::isfinite(value))
            return Refusal{std::string(target) + " " + shortestText(value) + ": it must be a finite number."};
    }
    if (T < 0) return Refusal{"Thickness " + shortestText(T) + ": a thickness cannot be negative."};
    if (!(TAU >= 0 && TAU <= 180)) {
        return Refusal{"Trailing-edge angle " + shortestText(TAU) + ": it must lie from 0 to 180 degrees."};
    }
    if (TAU == 180) {
        return Refusal{
            "Trailing-edge angle 180: there every section is a circle (m = 1); choose an angle "
            "below 180 degrees."};
    }
    if (T >= 1) return tooThick(T, TAU);
    const double m = 2 - TAU / 180;
    const Design design(T, C, m);
    Unknowns x{std::clamp(T / 1.3, 0.0, 0.9), 2 * C};  // as for a thin Joukowsky section
    const Miss miss = design.solve(x);
    if (!miss.measured()) return notTogether(T, C, TAU);
    if (std::fabs(miss.thickness) > kDesignTolerance || std::fabs(miss.camber) > kDesignTolerance) {
        return missed(T, C, TAU, x, miss);
    }
    return Section{FOf(x), GOf(x), m, *miss.measures};
}

}  // namespace vorta
