#pragma once

#include "store/Database.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The tables the stand-in serves, their fields, filters and key-ordered searches.
namespace cfront {

enum class FieldKind { Integer, Text, Date, Time };

// One field of a table: its number, the SQL expression of its value (a column, or for the
// dates and times of stamped rows their local value) and the kind of its value.
struct FieldDef {
    int32_t number;
    std::string column;
    FieldKind kind;
};

// One table: its number, its SQLite table, its fields and its key.
struct TableDef {
    int32_t number;
    const char* sqlTable;
    std::vector<FieldDef> fields;
    std::vector<int32_t> keyFields; // all Integer fields, the sort order of the table

    // Index into fields of the field with that number, or -1.
    int fieldIndex(int32_t number) const;
};

// The Object table (2000000001) and the Session table (2000000009); null for other numbers.
const TableDef* findTableDef(int32_t number);

// A field filter as an inclusive range of encoded values.
struct FieldFilter {
    int64_t low = 0;
    int64_t high = 0;
};

// Parses a filter text for a field of the given kind (forms in cfront/cfront.h). Returns
// false with a reason when the text is not supported.
bool parseFilter(FieldKind kind, std::string_view text, FieldFilter& filter, std::string& reason);

// The value of one field of a loaded record: number for Integer, Date and Time fields, text for
// Text fields.
struct FieldValue {
    int32_t number = 0;
    std::string text;
};
using Row = std::vector<FieldValue>; // aligned with TableDef::fields

enum class Direction { Forward, Backward };

// The first (Forward) or last (Backward) row under the filters.
std::optional<Row> findEdge(Database& db, const TableDef& table, const std::map<int32_t, FieldFilter>& filters,
                            Direction direction);
// The row next to the one with key (taken from row) in the given direction under the filters;
// with orEqual the row with that key itself qualifies.
std::optional<Row> findNext(Database& db, const TableDef& table, const std::map<int32_t, FieldFilter>& filters,
                            const Row& from, Direction direction, bool orEqual);

} // namespace cfront
