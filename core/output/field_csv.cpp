#include "core/output/field_csv.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "core/numbers/number_text.h"
#include "core/solver/work_sharing.h"

namespace vorta {

namespace {

constexpr int kRowsPerChunk = 16384;
constexpr int kChunksPerRound = 8;
// The longest row: six numbers of at most 24 characters, five commas and the line end.
constexpr std::size_t kLongestRow = 6 * 24 + 5 + 2;

char* appendNumber(char* out, double value) {
    if (std::isnan(value)) return out;
    return std::to_chars(out, out + 24, unsignedZero(value)).ptr;
}

void formatRows(const FieldColumns& c, std::size_t first, std::size_t end, std::string& text) {
    text.resize((end - first) * kLongestRow);
    char* out = text.data();
    for (std::size_t i = first; i < end; ++i) {
        for (const double* column : {c.x, c.y, c.u, c.v, c.Cp}) {
            out = appendNumber(out, column[i]);
            *out++ = ',';
        }
        out = appendNumber(out, c.psi[i]);
        *out++ = '\r';
        *out++ = '\n';
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
}

}  // namespace

int writeFieldCsv(const FieldColumns& columns, const ByteSink& sink) {
    if (const int error = sink("x,y,u,v,Cp,psi\r\n")) return error;
    std::vector<std::string> chunks(kChunksPerRound);
    const std::size_t rowsPerRound = std::size_t{kRowsPerChunk} * kChunksPerRound;
    for (std::size_t round = 0; round < columns.n; round += rowsPerRound) {
        const std::size_t rows = std::min(rowsPerRound, columns.n - round);
        const int count = static_cast<int>((rows + kRowsPerChunk - 1) / kRowsPerChunk);
        shareWork(count, 1, 2, 0, [&](int first, int end) {
            for (int c = first; c < end; ++c) {
                const std::size_t from = round + std::size_t(c) * kRowsPerChunk;
                formatRows(columns, from, std::min(from + kRowsPerChunk, columns.n), chunks[std::size_t(c)]);
            }
        });
        for (int c = 0; c < count; ++c) {
            if (const int error = sink(chunks[std::size_t(c)])) return error;
        }
    }
    return 0;
}

}  // namespace vorta
