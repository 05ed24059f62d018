#pragma once
// The figures of a calculation and of a polar, as vorta-run --plot and the window's plot menus
// draw them: the window's plots with their axes, named, under a title that says which entry
// and which angle.

#include <string>
#include <vector>

#include "core/calculation/calculation.h"
#include "core/catalog/catalog.h"
#include "core/studies/polar.h"
#include "plots/figure.h"

namespace vorta::plots {

enum class FigureKind { Contour, Pressure };

// The contour, to equal scale in x and y, or 1-Cp along the chord, of the calculation; the
// figure points into its arrays.
Figure calculationFigure(FigureKind kind, const Catalog& catalog, const Calculation& calculation,
                         const std::string& separator);

// A polar's columns, which its figure points into.
struct PolarColumns {
    std::vector<double> AlfaD, CL, CMc4;
};
PolarColumns polarColumns(const std::vector<PolarRow>& rows);

// CL over AlfaD above, CMc/4 over AlfaD below, for entry k.
Figure polarFigure(const Catalog& catalog, int k, const PolarColumns& columns, const std::string& separator);

}  // namespace vorta::plots
