#pragma once

#include "analysis/Operation.h"

#include <vector>

// Column sets that more than one operation shows.
inline const std::vector<ColumnDef> kSearchColumns = {
    {"Type", 30}, {"Object", 300}, {"Function", 200}, {"", 20}, {"Environment", 500}};
// Unused variables and functions, the form check.
inline const std::vector<ColumnDef> kUnusedColumns = {
    {"Object", 250}, {"Count of unused Vars", 10}, {"Name", 200}, {"Sort", 60}, {"Type", 100}, {"Function", 360}};
// Local = global and the ID check.
inline const std::vector<ColumnDef> kLocalGlobalColumns = {
    {"Object", 250}, {"local Variable", 200}, {"local Fct.", 200}, {"global Variable", 100}};
