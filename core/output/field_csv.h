#pragma once
// The flow at another code's points as CSV, one row a point in the order given, so that a user
// can set it beside her own arrays row by row.

#include <cstddef>

#include "core/output/byte_sink.h"

namespace vorta {

struct FieldColumns {
    std::size_t n = 0;
    const double *x = nullptr, *y = nullptr;
    const double *u = nullptr, *v = nullptr, *Cp = nullptr, *psi = nullptr;  // NaN: no value
};

// "x,y,u,v,Cp,psi", then a row a point: every number in the shortest form that reads back as the
// same double, with a point; a point without values keeps its row with those fields empty, which
// pandas and numpy read as NaN. CR LF line ends. Long tables are formatted on several threads
// and handed to the sink in order. Returns 0 or the first error the sink gave.
int writeFieldCsv(const FieldColumns& columns, const ByteSink& sink);

}  // namespace vorta
