// The catalog lines' core work, timed and checked: measuring a section, designing one, and
// fitting one to Vorta's own contours (how closely F, G and m come back, over sections and
// spacings) and to NACA 0012 and 2412 (the residual of the nearest section).
//   build/bin/section_lines [REPEATS (20)]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "core/solver/solver.h"
#include "core/studies/section_fit.h"

namespace {

using vorta::PlanePoint;

// The median time of one call, in milliseconds.
double medianMs(int repeats, const std::function<void()>& call) {
    std::vector<double> times;
    for (int r = 0; r < repeats; ++r) {
        const auto start = std::chrono::steady_clock::now();
        call();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The section's own contour at N1 points, in XFOIL's order, as --format dat writes it.
std::vector<PlanePoint> ownContour(double F, double G, double m, int N1) {
    const vorta::Solution s = vorta::VORTA(N1, F, G, m, 1, 0);
    std::vector<PlanePoint> points;
    for (int k = N1; k >= 1; --k)
        points.push_back({s.x[static_cast<std::size_t>(k)], s.y[static_cast<std::size_t>(k)]});
    return points;
}

// NACA 4-digit, closed trailing edge, 161 points at cosine spacing.
std::vector<PlanePoint> naca(double camber, double thickness) {
    const int stations = 80;
    const double p = 0.4;
    std::vector<PlanePoint> upper, lower;
    for (int i = 0; i <= stations; ++i) {
        const double x = (1 - std::cos(vorta::Pi * i / stations)) / 2;
        const double yt = 5 * thickness *
                          (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * std::pow(x, 3) -
                           0.1036 * std::pow(x, 4));
        const bool front = x < p;
        const double d = front ? p * p : (1 - p) * (1 - p);
        const double yc = camber / d * (front ? 2 * p * x - x * x : 1 - 2 * p + 2 * p * x - x * x);
        const double angle = std::atan(2 * camber / d * (p - x));
        upper.push_back({x - yt * std::sin(angle), yc + yt * std::cos(angle)});
        lower.push_back({x + yt * std::sin(angle), yc - yt * std::cos(angle)});
    }
    std::vector<PlanePoint> points(upper.rbegin(), upper.rend());
    points.insert(points.end(), lower.begin() + 1, lower.end());
    return points;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 20;
    std::printf("measure F 0.1, G 0.05, m 2:        %8.2f ms\n",
                medianMs(repeats, [] { vorta::measureSection(0.1, 0.05, 2); }));
    std::printf("design 0.12, 0.02, 10 degrees:    %8.2f ms\n",
                medianMs(repeats, [] { vorta::designSection(0.12, 0.02, 10); }));

    const struct {
        double F, G, m;
    } sections[] = {{0.1, 0, 2},        {0.1, 0.05, 2},     {0.15, 0.12, 2},
                    {0.06, 0.06, 1.96}, {0.05, 0.08, 1.85}, {0.1, 0.1, 1.9}};
    for (int N1 : {41, 51, 161, 400}) {
        double worst = 0, slowest = 0;
        for (const auto& s : sections) {
            const std::vector<PlanePoint> points = ownContour(s.F, s.G, s.m, N1);
            vorta::SectionFit fit;
            slowest = std::max(slowest, medianMs(std::max(1, repeats / 5), [&] {
                                   fit = std::get<vorta::SectionFit>(vorta::fitSection(points));
                               }));
            worst = std::max({worst, std::fabs(fit.section.F - s.F), std::fabs(fit.section.G - s.G),
                              std::fabs(fit.section.m - s.m)});
        }
        std::printf("fit own contours, %3d points:     %8.2f ms at most; F, G, m off by %.1e at most\n", N1,
                    slowest, worst);
    }
    for (const double camber : {0.0, 0.02}) {
        const std::vector<PlanePoint> points = naca(camber, 0.12);
        vorta::SectionFit fit;
        const double ms = medianMs(std::max(1, repeats / 5),
                                   [&] { fit = std::get<vorta::SectionFit>(vorta::fitSection(points)); });
        std::printf(
            "fit NACA %s, 161 points:        %8.2f ms; largest %.5f, rms %.5f chords (F %.6f G %.6f m "
            "%.6f)\n",
            camber == 0 ? "0012" : "2412", ms, fit.largestDistance, fit.rmsDistance, fit.section.F,
            fit.section.G, fit.section.m);
    }
}
