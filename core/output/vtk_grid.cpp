#include "core/output/vtk_grid.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "core/numbers/number_text.h"
#include "core/output/block_writer.h"
#include "core/solver/work_sharing.h"

namespace vorta {

namespace {

// The longest shortest form of a double, "-2.2250738585072014e-308", and a separator.
constexpr std::size_t kNumberRoom = 25;

// A line a node: its values in one or two arrays, then zeros for the third dimension.
struct NodeLine {
    const PointArray* first;
    const PointArray* second;  // or none
    int zeros;

    static constexpr std::size_t kRoom = 2 * kNumberRoom + 4;

    char* write(char* out, std::size_t k) const {
        out = std::to_chars(out, out + kNumberRoom, unsignedZero((*first)[k])).ptr;
        if (second) {
            *out++ = ' ';
            out = std::to_chars(out, out + kNumberRoom, unsignedZero((*second)[k])).ptr;
        }
        for (int z = 0; z < zeros; ++z) {
            *out++ = ' ';
            *out++ = '0';
        }
        *out++ = '\n';
        return out;
    }
};

// Turning doubles into text is most of the work, so the lines are formatted a batch at a time,
// in pieces shared among the cores, and handed on in order.
constexpr int kLinesPerPiece = 4096;
constexpr int kPiecesPerBatch = 16;

void writeNodeLines(BlockWriter& out, std::size_t nodes, const NodeLine& line) {
    std::vector<std::string> pieces(kPiecesPerBatch);
    const std::size_t batchSize = std::size_t{kLinesPerPiece} * kPiecesPerBatch;
    for (std::size_t batch = 0; batch < nodes && !out.failed(); batch += batchSize) {
        const int count = static_cast<int>(std::min(batchSize, nodes - batch));
        shareWork(count, kLinesPerPiece, kLinesPerPiece, 0, [&](int first, int end) {
            std::string& piece = pieces[static_cast<std::size_t>(first / kLinesPerPiece)];
            piece.resize(static_cast<std::size_t>(end - first) * NodeLine::kRoom);
            char* next = piece.data();
            for (int k = first; k < end; ++k) next = line.write(next, batch + static_cast<std::size_t>(k));
            piece.resize(static_cast<std::size_t>(next - piece.data()));
        });
        for (int p = 0; p * kLinesPerPiece < count; ++p) out.append(pieces[static_cast<std::size_t>(p)]);
    }
}

}  // namespace

int writeVtkGrid(const FlowGrid& grid, const ByteSink& sink) {
    BlockWriter out(sink);
    const std::size_t nodes = grid.nodeCount();
    const std::string count = std::to_string(nodes);
    out.append("# vtk DataFile Version 3.0\n");
    out.append("Vorta F=" + shortestText(grid.F) + " G=" + shortestText(grid.G) +
               " m=" + shortestText(grid.m) + " AlfaD=" + shortestText(unsignedZero(grid.AlfaD)) +
               ": the exact potential flow on a conformal O-grid, chord 1, free-stream speed 1\n");
    out.append("ASCII\nDATASET STRUCTURED_GRID\n");
    out.append("DIMENSIONS " + std::to_string(grid.NI) + ' ' + std::to_string(grid.NJ) + " 1\n");
    out.append("POINTS " + count + " double\n");
    writeNodeLines(out, nodes, {&grid.x, &grid.y, 1});
    out.append("POINT_DATA " + count + "\nSCALARS Cp double 1\nLOOKUP_TABLE default\n");
    writeNodeLines(out, nodes, {&grid.Cp, nullptr, 0});
    out.append("SCALARS psi double 1\nLOOKUP_TABLE default\n");
    writeNodeLines(out, nodes, {&grid.psi, nullptr, 0});
    out.append("VECTORS velocity double\n");
    writeNodeLines(out, nodes, {&grid.u, &grid.v, 1});
    return out.finish();
}

}  // namespace vorta
