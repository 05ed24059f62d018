#pragma once
// Where each point of a pressure file lies on the exact contour by its own evidence: which
// pieces of either surface reach its x, and its surface where its surface column or its y
// tells it. The state it starts is carried on through the comparison.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/studies/exact_contour.h"
#include "core/studies/pressure_table.h"

namespace vorta {

// Why a point is skipped.
extern const char* const kOutsideTheChord;
extern const char* const kNoPressureCoefficient;
const char* outsideOf(Surface surface);

// The pieces of a surface that reach an x: the one nearest the leading edge and the one
// nearest the trailing edge, the same one but where the contour bulges past its trailing edge.
struct Reach {
    std::int16_t first = -1, last = -1;
    bool any() const { return first >= 0; }
};

// How a point's surface became known.
enum class Evidence : std::uint8_t { None, Column, Height, Neighbour, Run };

struct PointState {
    std::array<Reach, 2> reach;  // upper, lower
    Evidence evidence = Evidence::None;
    Surface surface = Surface::Upper;
    bool returning = false;             // on the way back from a bulge past the trailing edge
    bool undecided = false;             // in a run whose surface could not be told
    int found = -1;                     // where the exact points found at its x are kept, if any are
    const char* skip = nullptr;         // why it is skipped
    std::optional<ContourPoint> fixed;  // placed by its y, or at the end of a run by its Cp
};

inline std::size_t slot(Surface surface) { return surface == Surface::Upper ? 0 : 1; }
inline Surface other(Surface surface) { return surface == Surface::Upper ? Surface::Lower : Surface::Upper; }

// Each point by its own evidence: a Cp beyond kLargestPressureCoefficient, or an x that no
// surface reaches, is skipped; a surface column decides its surface; y decides it where the
// point lies at least twice as close to one surface as to the other and the surfaces are
// apart there. Large files are placed on two threads.
std::vector<PointState> placeByOwnEvidence(const std::vector<MeasuredPoint>& points,
                                           const ExactContour& contour);

// The exact point at the point's x (near the nose, at its y) on the first or last piece of
// the surface that reaches it.
ContourPoint findOn(const ExactContour& contour, const MeasuredPoint& point, const PointState& state,
                    Surface surface, bool last);

}  // namespace vorta
