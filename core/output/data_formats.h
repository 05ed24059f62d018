#pragma once
// The exact solution in the formats other tools read: a coordinate file that XFOIL and its
// kin load, CSV for Python and spreadsheets, and JSON. Numbers are written with a point and
// in the shortest form that reads back as the same double, whatever the regional settings.

#include <string>

#include "core/output/byte_sink.h"
#include "core/calculation/calculation.h"
#include "core/catalog/catalog.h"

namespace vorta {

enum class DataFormat { Dat, Csv, Json };

// Writes the contour of a calculation of entry calculation.SelectedIndex. Returns 0 or the
// first error the sink gave.
//  Dat:  "Vorta F=.. G=.. m=..", then "x y" from the trailing edge over the upper surface
//        to the leading edge and back along the lower surface; LF line ends.
//  Csv:  "i,x,y,Cu,Cp", then one row a point in point order; CR LF line ends.
//  Json: one object with the entry, N1, AlfaD, the coefficients and the arrays x, y, Cu, Cp.
int writeContour(DataFormat format, const Catalog& catalog, const Calculation& calculation, const ByteSink& sink);

}  // namespace vorta
