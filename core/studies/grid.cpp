#include "core/studies/grid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/solver/flow_field.h"
#include "core/solver/solver.h"
#include "core/solver/work_sharing.h"

namespace vorta {

namespace {

// The rings are taken as polygons of this many sides to find how far one lies from the section;
// against far denser polygons the distance comes out within 0.1% (the tests hold it to 1%).
constexpr int kDistanceSides = 256;

struct Point {
    double x, y;
};

double squaredDistanceToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    const double t =
        lengthSquared > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0) : 0.0;
    const double ex = p.x - a.x - t * dx, ey = p.y - a.y - t * dy;
    return ex * ex + ey * ey;
}

// The points of the polygon that come nearest to the other polygon's sides.
double squaredDistanceFromPoints(const std::vector<Point>& points, const std::vector<Point>& polygon) {
    double nearest = std::numeric_limits<double>::infinity();
    for (const Point& p : points) {
        for (std::size_t k = 1; k < polygon.size(); ++k) {
            nearest = std::min(nearest, squaredDistanceToSegment(p, polygon[k - 1], polygon[k]));
        }
    }
    return nearest;
}

// The directions from the circle's centre where the mapping is singular or nearly so: the
// trailing edge, and the nose, the point nearest zeta = -1 (on the circle for the circular arc).
struct SingularDirections {
    double trailingEdge, nose;
};

// The ring of radius r as a closed polygon, its corners crowded towards the trailing edge and the
// nose, where a ring near the section turns sharply round the section's edge.
std::vector<Point> ringPolygon(const FlowField& field, const SingularDirections& towards, double r) {
    // The turn from the trailing edge to the nose, going round as the grid does, and on to the
    // trailing edge again, each half of the corners crowded at both of its ends.
    const double toNose = std::fmod(towards.trailingEdge - towards.nose + 4 * Pi, 2 * Pi);
    const int half = kDistanceSides / 2;
    std::vector<Point> polygon(kDistanceSides + 1);
    for (int i = 0; i < kDistanceSides; ++i) {
        const double turn = 2 * Pi * (i % half) / half, crowded = (turn - std::sin(turn)) / (2 * Pi);
        const double angle =
            i < half ? towards.trailingEdge - toNose * crowded : towards.nose - (2 * Pi - toNose) * crowded;
        const FlowField::Node node = field.atCirclePoint(r, angle);
        polygon[i] = {node.x, node.y};
    }
    polygon.back() = polygon.front();
    return polygon;
}

// Two polygons that do not cross come nearest at a corner of one of them.
double ringDistance(const FlowField& field, const SingularDirections& towards,
                    const std::vector<Point>& section, double r) {
    const std::vector<Point> ring = ringPolygon(field, towards, r);
    return std::sqrt(
        std::min(squaredDistanceFromPoints(ring, section), squaredDistanceFromPoints(section, ring)));
}

// The circular arc (F = 0) has its sharp leading edge on the circle, at zeta = -1. A node that
// meets it, within rounding, has no finite speed; no two nodes lie closer than 6e-7 radians apart.
bool hasNodeOnSharpLeadingEdge(double F, double G, int NI) {
    if (F != 0) return false;
    const double trailingEdge = std::atan2(-G, 1.0), leadingEdge = std::atan2(-G, -1.0);
    const double step = 2 * Pi / (NI - 1);
    const double index = std::fmod(trailingEdge - leadingEdge + 4 * Pi, 2 * Pi) / step;
    return std::abs(index - std::round(index)) * step <= 1e-9;
}

bool allFinite(const FlowGrid& grid) {
    for (const PointArray* values : {&grid.x, &grid.y, &grid.u, &grid.v, &grid.Cp, &grid.psi}) {
        if (!std::all_of(values->begin(), values->end(), [](double value) { return std::isfinite(value); }))
            return false;
    }
    return true;
}

// Every node, shared among threads: each writes, and so first touches, its own chunks.
void fillNodes(const FlowField& field, double logRatio, FlowGrid& grid) {
    const int NI = grid.NI, NJ = grid.NJ;
    const double R = field.circleRadius(), trailingEdge = field.trailingEdgeAngle();
    const double step = 2 * Pi / (NI - 1);
    shareWork(static_cast<int>(grid.nodeCount()), 4096, 8192, 0, [&](int first, int end) {
        for (int k = first; k < end; ++k) {
            const int i = k % NI, j = k / NI;
            const double r = j == 0 ? R : R * std::exp(logRatio * j / (NJ - 1));
            // The last node repeats the first bit for bit, so that the seam closes.
            const double angle = i == NI - 1 ? trailingEdge : trailingEdge - step * i;
            const FlowField::Node node = field.atCirclePoint(r, angle);
            grid.x[k] = node.x;
            grid.y[k] = node.y;
            grid.u[k] = node.values.u;
            grid.v[k] = node.values.v;
            grid.Cp[k] = node.values.Cp;
            grid.psi[k] = node.values.psi;
        }
    });
}

// The circle-plane radius of the ring whose nearest point lies distance chords from the section.
double outerRingRadius(const FlowField& field, const SingularDirections& towards, double distance) {
    const double R = field.circleRadius();
    const std::vector<Point> section = ringPolygon(field, towards, R);
    const auto reaches = [&](double logRatio) {
        return ringDistance(field, towards, section, R * std::exp(logRatio)) >= distance;
    };
    // By ln(r / R): each ring encloses those inside it, so the distance grows with the radius.
    // A million chords are reached by ln(r / R) of about 16.
    double inner = 0, outer = std::log(2.0);
    while (!reaches(outer) && outer < 64) {
        inner = outer;
        outer *= 2;
    }
    for (int halving = 0; halving < 100 && outer - inner > 1e-5 * outer; ++halving) {
        const double middle = (inner + outer) / 2;
        (reaches(middle) ? outer : inner) = middle;
    }
    return R * std::exp(outer);
}

}  // namespace

std::variant<FlowGrid, std::string> conformalGrid(double F, double G, double m, double AlfaD,
                                                  const GridSize& size) {
    if (hasNodeOnSharpLeadingEdge(F, G, size.NI)) {
        int other = size.NI + 1;
        while (hasNodeOnSharpLeadingEdge(F, G, other)) ++other;
        return "with NI = " + std::to_string(size.NI) +
               " a node of the surface falls on the sharp leading edge of the circular arc, where the speed "
               "has no finite value; NI = " +
               std::to_string(other) + " puts none there.";
    }
    const FlowField field(F, G, m, AlfaD);
    FlowGrid grid;
    grid.F = F;
    grid.G = G;
    grid.m = m;
    grid.AlfaD = AlfaD;
    grid.NI = size.NI;
    grid.NJ = size.NJ;
    for (PointArray* values : {&grid.x, &grid.y, &grid.u, &grid.v, &grid.Cp, &grid.psi})
        values->resize(grid.nodeCount());
    const SingularDirections towards{field.trailingEdgeAngle(), std::atan2(-G, F - 1)};
    grid.outerRatio = outerRingRadius(field, towards, size.distance) / field.circleRadius();
    fillNodes(field, std::log(grid.outerRatio), grid);
    if (!allFinite(grid))
        return std::string("its values F, G and m give a flow beyond the range of numbers.");
    return grid;
}

std::variant<GridSize, Refusal> checkGridSize(long long NI, long long NJ, double distance,
                                              std::string_view option) {
    const std::string prefix = option.empty() ? "" : std::string(option) + " ";
    if (NI < kMinGridNI || NJ < kMinGridNJ || NI > kMaxGridNodes / NJ) {
        return Refusal{prefix + "NI:NJ must have NI of at least 3, NJ of at least 2 and NI x NJ of at most " +
                       std::to_string(kMaxGridNodes) + " nodes."};
    }
    if (!(distance >= kMinGridDistance && distance <= kMaxGridDistance))
        return Refusal{prefix + "NI:NJ:R must have R from 0.001 to 1000000 chords."};
    return GridSize{static_cast<int>(NI), static_cast<int>(NJ), distance};
}

std::variant<FlowGrid, Refusal> gridOfSection(double F, double G, double m, double AlfaD,
                                              const GridSize& size) {
    if (auto refusal = checkSection(F, G, m)) return *refusal;
    auto made = conformalGrid(F, G, m, AlfaD, size);
    if (const auto* reason = std::get_if<std::string>(&made))
        return Refusal{"No grid for the section " + sectionNumbers(F, G, m) + ": " + *reason};
    return std::get<FlowGrid>(std::move(made));
}

int squareCellRings(int NI, double outerRatio) {
    return std::max(2, 1 + static_cast<int>(std::lround(std::log(outerRatio) * (NI - 1) / (2 * Pi))));
}

}  // namespace vorta
