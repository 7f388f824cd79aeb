#pragma once

// Placing a signal and a slowdown into the cells for the train source reader.

#include <cstdint>

#include "compiler/route_model.h"

namespace scenario {

// Places the signal of a `segnale` record; on an occupied cell stores error 16
// and writes nothing. The caller adds the error position. Approach codes that
// would fall before cell 0 are left out; a signal cell outside the array
// throws OffRouteError (compiler/cell_access.h).
void memo_segnale(RouteModel& model, int32_t posizione, int32_t sx, int32_t s1, int32_t s2, int32_t s3, int32_t rapp,
                  int32_t dx, int32_t d1, int32_t d2, int32_t d3, int32_t tempo);

// Places the boards of a `rallentamento` record; on an occupied cell stores
// error 17, 18, 19 or 20. The caller adds the error position. A board cell
// outside the array throws OffRouteError before anything is written.
void memo_rallentamento(RouteModel& model, int32_t x, int32_t v, int32_t l, int32_t f_tt, int32_t f_ta, int32_t d_v);

}  // namespace scenario
