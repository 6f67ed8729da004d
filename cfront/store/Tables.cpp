#include "store/Tables.h"

#include "store/DateTimeCodec.h"

#include <charconv>
#include <limits>

namespace cfront {
namespace {

const TableDef kObjectTable{
    2000000001,
    "object",
    {{1, "type", FieldKind::Integer},
     {3, "id", FieldKind::Integer},
     {4, "name", FieldKind::Text},
     {5, "flag", FieldKind::Integer},
     {9, "dbm_table", FieldKind::Integer},
     {10, localDateSql("stamp", "date"), FieldKind::Date},
     {11, localTimeSql("stamp", "time"), FieldKind::Time},
     {12, "version", FieldKind::Text}},
    {1, 3}};

const TableDef kSessionTable{
    2000000009,
    "session",
    {{1, "id", FieldKind::Integer},
     {2, "user", FieldKind::Text},
     {5, localTimeSql("login_stamp", "0"), FieldKind::Time},
     {6, localDateSql("login_stamp", "0"), FieldKind::Date},
     {10, "found", FieldKind::Integer},
     {11, "searched", FieldKind::Integer},
     {12, "inserted", FieldKind::Integer},
     {13, "deleted", FieldKind::Integer},
     {14, "modified", FieldKind::Integer}},
    {1}};

bool parseInteger(std::string_view text, int64_t& value)
{
    int32_t parsed = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    value = parsed;
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool parseIntegerFilter(std::string_view text, FieldFilter& filter)
{
    size_t dots = text.find("..");
    if (dots == std::string_view::npos)
        return parseInteger(text, filter.low) && parseInteger(text, filter.high);
    return parseInteger(text.substr(0, dots), filter.low) && parseInteger(text.substr(dots + 2), filter.high);
}

// "a, b" and "?, ?" lists over the key columns, for row-value comparisons.
std::string keyList(const TableDef& table, bool placeholders, const char* suffix = "")
{
    std::string list;
    for (int32_t field : table.keyFields) {
        if (!list.empty())
            list += ", ";
        list += placeholders ? "?" : table.fields[static_cast<size_t>(table.fieldIndex(field))].column;
        list += suffix;
    }
    return list;
}

std::optional<Row> runSearch(Database& db, const TableDef& table, const std::map<int32_t, FieldFilter>& filters,
                             const Row* from, const char* comparison, Direction direction)
{
    std::string sql = "SELECT ";
    for (size_t i = 0; i < table.fields.size(); ++i)
        sql += (i ? ", " : "") + table.fields[i].column;
    sql += std::string(" FROM ") + table.sqlTable + " WHERE 1";
    for (const auto& entry : filters)
        sql += std::string(" AND ") + table.fields[static_cast<size_t>(table.fieldIndex(entry.first))].column +
               " BETWEEN ? AND ?";
    if (from)
        sql += " AND (" + keyList(table, false) + ") " + comparison + " (" + keyList(table, true) + ")";
    sql += " ORDER BY " + keyList(table, false, direction == Direction::Forward ? " ASC" : " DESC") + " LIMIT 1";

    Statement query = db.prepare(sql);
    int parameter = 0;
    for (const auto& entry : filters) {
        query.bind(parameter++, entry.second.low);
        query.bind(parameter++, entry.second.high);
    }
    if (from) {
        for (int32_t field : table.keyFields)
            query.bind(parameter++, (*from)[static_cast<size_t>(table.fieldIndex(field))].number);
    }
    if (!query.step())
        return std::nullopt;
    Row row(table.fields.size());
    for (size_t i = 0; i < table.fields.size(); ++i) {
        if (table.fields[i].kind == FieldKind::Text)
            row[i].text = query.bytes(static_cast<int>(i));
        else
            row[i].number = static_cast<int32_t>(query.integer(static_cast<int>(i)));
    }
    return row;
}

} // namespace

int TableDef::fieldIndex(int32_t number) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].number == number)
            return static_cast<int>(i);
    }
    return -1;
}

const TableDef* findTableDef(int32_t number)
{
    if (number == kObjectTable.number)
        return &kObjectTable;
    if (number == kSessionTable.number)
        return &kSessionTable;
    return nullptr;
}

bool parseFilter(FieldKind kind, std::string_view text, FieldFilter& filter, std::string& reason)
{
    const int64_t max = std::numeric_limits<int32_t>::max();
    bool atLeast = text.substr(0, 2) == ">=";
    std::string_view operand = atLeast ? text.substr(2) : text;
    int32_t value = 0;
    bool ok = false;
    switch (kind) {
    case FieldKind::Integer:
        ok = !atLeast && parseIntegerFilter(text, filter);
        break;
    case FieldKind::Date:
        ok = atLeast && parseDayMonthYear(operand, value);
        break;
    case FieldKind::Time:
        ok = atLeast && parseHoursMinutesSeconds(operand, value);
        break;
    case FieldKind::Text:
        break;
    }
    if (kind == FieldKind::Date || kind == FieldKind::Time) {
        filter.low = value;
        filter.high = max;
    }
    if (!ok) {
        static const char* const expected[] = {"\"A..B\" or \"N\"", "no filter", "\">=D.M.YYYY\"", "\">=H:M:S\""};
        reason = "filter \"" + std::string(text) + "\" not supported; this field takes " +
                 expected[static_cast<int>(kind)];
    }
    return ok;
}

std::optional<Row> findEdge(Database& db, const TableDef& table, const std::map<int32_t, FieldFilter>& filters,
                            Direction direction)
{
    return runSearch(db, table, filters, nullptr, "", direction);
}

std::optional<Row> findNext(Database& db, const TableDef& table, const std::map<int32_t, FieldFilter>& filters,
                            const Row& from, Direction direction, bool orEqual)
{
    const char* comparison = direction == Direction::Forward ? (orEqual ? ">=" : ">") : (orEqual ? "<=" : "<");
    return runSearch(db, table, filters, &from, comparison, direction);
}

} // namespace cfront
