#pragma once
// The text of VORTA_result.txt: header, point count, optional coefficient block and the
// point table in one of four layouts. Lines end with CR LF.

#include <optional>
#include <string>
#include <string_view>

#include "core/output/byte_sink.h"
#include "core/calculation/calculation.h"
#include "core/catalog/catalog.h"

namespace vorta {

inline constexpr const char* kResultFileName = "VORTA_result.txt";

// The layouts of the option buttons 1 to 4; None writes the header and the point count only.
enum class Layout { None = 0, XY = 1, XYCu = 2, FoldedXY = 3, FoldedXYCu = 4 };

// Hands the text to sink in blocks, so that a table of any length needs no more memory than
// one block. Returns 0, or the first error the sink gave, after which it stops.
int writeResultFile(const CatalogEntry& entry, const Calculation& calculation, Layout layout,
                    std::string_view separator, const ByteSink& sink);

// The whole text at once, as writeResultFile writes it.
std::string formatResultFile(const CatalogEntry& entry, const Calculation& calculation, Layout layout,
                             std::string_view separator);

}  // namespace vorta

namespace vorta {

inline constexpr const char* kNothingToSaveMessage =
    "There is no result to save yet. Choose an airfoil first, then save.";

// Writes the result file of the last successful calculation, replacing the file at path
// whole. Returns a message for the user when nothing has been calculated yet or the file
// could not be written; the earlier file then stays as it was.
std::optional<std::string> saveResultFile(const Catalog& catalog, const std::optional<Calculation>& last,
                                          Layout layout, std::string_view separator, const std::string& path);
// The same for a calculation at hand, which would otherwise be copied, arrays and all, into an optional.
std::optional<std::string> saveResultFile(const Catalog& catalog, const Calculation& calculation, Layout layout,
                                          std::string_view separator, const std::string& path);

}  // namespace vorta
