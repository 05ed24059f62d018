// The solver against the closed-form steps evaluated in quad precision at the same double
// Theta and Alfa (tests/support/quad_solver.h), point by point, at up to a million points.
// Prints, per case, the largest |value - exact| / max(1, |exact|) of x, y and Cu and where
// it is. Slow (the quad evaluation takes minutes at a million points); not a test.
//   solver_accuracy            every case
//   solver_accuracy N1         every case at N1 points instead
// It calls only VORTA(N1, F, G, m, Chord, AlfaD), so that it builds against an older solver too.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "core/solver/solver.h"
#include "support/quad_solver.h"

namespace {

using vorta::test::quad;

struct Case {
    const char* name;
    int N1;
    double F, G, m, AlfaD;
};

const Case kCases[] = {
    {"Karman-Trefftz 5 deg", 1001, 0.1, 0.1, 1.9, 5},
    {"Karman-Trefftz 5 deg", 20001, 0.1, 0.1, 1.9, 5},
    {"Karman-Trefftz 5 deg", 1000000, 0.1, 0.1, 1.9, 5},
    {"Joukowsky 5 deg", 20001, 0.1, 0.05, 2, 5},
    {"G < 0, -5 deg", 20001, 0.1, -0.05, 1.9, -5},
    {"circular arc F = 0", 1000000, 0, 0.1, 2, 5},
    {"F = 1e-9", 51, 1e-9, 0.05, 2, 0},
    {"12 deg", 100001, 0.1, 0.1, 1.9, 12},
    {"Joukowsky 5 deg", 1000000, 0.1, 0.05, 2, 5},
    {"F = 1e-9, 12 deg", 1000000, 1e-9, 0.05, 2, 12},
    {"F = 1e-12, -20 deg", 1000000, 1e-12, 0.05, 2, -20},
    {"F = 1e-12, stagnation at the nose", 1001, 1e-12, 0.05, 2, 1e-10},
    {"arc, stagnation at the nose (0 deg)", 1000000, 0, 0.05, 2, 0},
    {"arc, odd N1, G < 0, 3 deg", 999999, 0, -0.05, 1.9, 3},
    {"m = 1.5, 20 deg", 1000000, 0.1, 0.1, 1.5, 20},
    {"thick F = 0.3, G < 0, -20 deg", 1000000, 0.3, -0.1, 1.95, -20},
};

struct Worst {
    double error = 0;
    int k = 0;
};

struct CaseErrors {
    Worst x, y, Cu;
};

void account(Worst& worst, double error, int k) {
    if (error > worst.error) worst = {error, k};
}

// Slots first..last - 1 of the solution against the quad reference.
CaseErrors compare(const vorta::Solution& s, const Case& c, const vorta::test::QuadSection& q, int first,
                   int last) {
    CaseErrors e;
    for (int k = first; k < last; ++k) {
        const vorta::test::QuadPoint exact = vorta::test::quadSlot(q, c.N1, k);
        account(e.x, vorta::test::relativeError(s.x[k], exact.x), k);
        account(e.y, vorta::test::relativeError(s.y[k], exact.y), k);
        account(e.Cu, vorta::test::relativeError(s.Cu[k], exact.Cu), k);
    }
    return e;
}

CaseErrors errorsOf(const Case& c) {
    const vorta::Solution s = vorta::VORTA(c.N1, c.F, c.G, c.m, 1, c.AlfaD);
    const vorta::test::QuadSection q = vorta::test::makeQuadSection(c.F, c.G, c.m, 1, c.AlfaD);
    const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<CaseErrors> parts(threads);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        // Slots 0 to N1: the ends and the slots the sweep does not reach are compared too.
        const int first = static_cast<int>(static_cast<long long>(c.N1 + 1) * t / threads);
        const int last = static_cast<int>(static_cast<long long>(c.N1 + 1) * (t + 1) / threads);
        workers.emplace_back([&, t, first, last] { parts[t] = compare(s, c, q, first, last); });
    }
    for (std::thread& w : workers) w.join();
    CaseErrors all;
    for (const CaseErrors& p : parts) {
        if (p.x.error > all.x.error) all.x = p.x;
        if (p.y.error > all.y.error) all.y = p.y;
        if (p.Cu.error > all.Cu.error) all.Cu = p.Cu;
    }
    return all;
}

}  // namespace

int main(int argc, char** argv) {
    const int N1Override = argc > 1 ? std::atoi(argv[1]) : 0;
    std::printf("%-36s %8s %22s %22s %22s\n", "case", "N1", "x (at k)", "y (at k)", "Cu (at k)");
    double worst = 0;
    for (Case c : kCases) {
        if (N1Override >= 2) c.N1 = N1Override;
        const CaseErrors e = errorsOf(c);
        std::printf("%-36s %8d %12.2e (%7d) %12.2e (%7d) %12.2e (%7d)\n", c.name, c.N1, e.x.error, e.x.k,
                    e.y.error, e.y.k, e.Cu.error, e.Cu.k);
        std::fflush(stdout);
        worst = std::max({worst, e.x.error, e.y.error, e.Cu.error});
    }
    std::printf("largest error %.2e\n", worst);
    return 0;
}
