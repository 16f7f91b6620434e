// A large plant for benchmarks and trials of the capacity ledger.
#pragma once

#include <cstdint>
#include <filesystem>

namespace qx::sim {

// Writes a new database: the schema, `lines` production lines that may all make one item, each with
// a calendar of `days` days from 2027-01-01 (weekends off), schedule rows loading them, and one
// repetitive work order over the whole period; returns that work order's internal id.
int32_t generatePlant(const std::filesystem::path& file, int lines, int days);

}  // namespace qx::sim
