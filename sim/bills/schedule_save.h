// Writing the schedule grid back to the database, as the bill engine does when the bill is
// saved: each row of the grid becomes a row of t_eiRepSchedule for the work order (updated by
// its internal id, or inserted when it has none), and the work order's rows no longer in the
// grid are removed. The cells are converted as the database needs them; a cell that does not
// convert fails the whole save, which then changes nothing.
#pragma once

#include <cstdint>

#include "sim/controls/grid_control.h"
#include "sim/db/sqlite_db.h"

namespace qx::sim {

struct SavedRows {
  int32_t updated = 0, inserted = 0, removed = 0;
};

// One unit: on any failure (a cell that does not convert, a line that is no production line,
// a row of another work order, a constraint of the table) nothing is written.
SavedRows saveScheduleRows(SqliteDb& db, int32_t workOrderId, const GridControl& grid);

}  // namespace qx::sim
