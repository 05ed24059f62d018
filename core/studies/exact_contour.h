#pragma once
// The exact contour of a section, sampled densely by the circle's polar angle and split into
// pieces along which x runs one way, so that the point at a given x is found by a binary
// search and a few evaluations of the exact solution.

#include <functional>
#include <optional>
#include <vector>

#include "core/studies/pressure_table.h"

namespace vorta {

// The exact solution at the circle's polar angle Theta: the point of the section and its Cp.
struct ExactPoint {
    double x = 0, y = 0, Cp = 0;
};
using ExactAtTheta = std::function<ExactPoint(double Theta)>;

// A point of the contour by its arc parameter s: the polar angle of the circle counted from
// the trailing edge (s = 0) over the upper surface (Theta = s up to Pi) and on along the lower
// surface (Theta = s - 2 Pi) back to the trailing edge (s = 2 Pi).
struct ContourPoint {
    double s = 0;
    ExactPoint point;
};

class ExactContour {
public:
    // The trailing edge (Theta = 0) has the given Cp.
    ExactContour(ExactAtTheta exact, double trailingEdgeCp);

    ExactPoint at(double s) const;
    // The leftmost point, where the upper surface ends and the lower one begins.
    const ContourPoint& leadingEdge() const { return leadingEdge_; }

    // The pieces of a surface along which x runs one way, numbered from the leading edge:
    // one, or two where the contour bulges past its trailing edge and comes back.
    int pieceCount(Surface surface) const { return static_cast<int>(pieces(surface).size()); }
    bool reaches(Surface surface, int piece, double x) const;
    // How far x reaches beyond the leading edge.
    double xSpan() const { return xSpan_; }

    // y at x on the piece from the samples alone, and a bound on how far off that may be.
    struct Estimate {
        double y, error;
    };
    Estimate estimateY(Surface surface, int piece, double x) const;

    // The point of the piece at x, which the piece must reach. Near the nose, where x hardly
    // moves along the contour and y does, a given y places the point instead.
    ContourPoint find(Surface surface, int piece, double x, std::optional<double> y) const;

private:
    struct Piece {
        int first = 0, last = 0;  // sample indices, x running one way between them
        double xLow = 0, xHigh = 0;
    };

    void sample();
    void refineExtremes();
    void splitIntoPieces();
    const std::vector<Piece>& pieces(Surface surface) const {
        return surface == Surface::Upper ? upper_ : lower_;
    }
    int bracket(Surface surface, int piece, double x) const;
    double guess(const Piece& piece, int j, double x) const;
    template <class Side>
    ContourPoint solve(int j, double guess, double settled, Side side) const;
    std::optional<ContourPoint> findByHeight(const Piece& piece, int j, double y) const;

    ExactAtTheta exact_;
    double trailingEdgeCp_;
    std::vector<ContourPoint> samples_;
    std::vector<double> sampleX_;  // the samples' x alone, for the searches
    // Where each piece's search last ended: the points of a file mostly come in order.
    mutable std::vector<int> upperHints_, lowerHints_;
    int leadingIndex_ = 0;
    ContourPoint leadingEdge_;
    std::vector<Piece> upper_, lower_;
    double xSpan_ = 0;
};

}  // namespace vorta
