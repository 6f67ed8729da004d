#include "library/StandIn.h"

#include "store/Records.h"
#include "store/System.h"

#include <fstream>

namespace cfront {
namespace {

std::string_view trim(std::string_view text)
{
    const char* space = " \t\r\n";
    size_t start = text.find_first_not_of(space);
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(space) - start + 1);
}

} // namespace

void Diagnostics::setError(int32_t code, const std::string& text)
{
    lastError = code;
    lastErrorText = text;
}

std::string lookUpServer(const std::string& folder, std::string_view server)
{
    std::ifstream file(folder + "/servers");
    std::string line;
    while (std::getline(file, line)) {
        std::string_view entry = trim(line);
        size_t equals = entry.find('=');
        if (entry.empty() || entry[0] == '#' || equals == std::string_view::npos || trim(entry.substr(0, equals)) != server)
            continue;
        std::string path(trim(entry.substr(equals + 1)));
        return path.empty() || path[0] == '/' ? path : folder + "/" + path;
    }
    return {};
}

StandIn::StandIn(std::string libraryFolder, Diagnostics& diagnostics)
    : m_libraryFolder(std::move(libraryFolder)), m_diagnostics(diagnostics)
{
}

StandIn::~StandIn()
{
    try {
        disconnect();
    } catch (...) {
        // The session row may stay behind; the next login on this host removes it.
    }
}

void StandIn::endSession()
{
    m_records.clear();
    m_tables.clear();
    m_loggedIn = false;
    if (m_sessionId != 0 && m_db) {
        int64_t id = m_sessionId;
        m_sessionId = 0;
        removeSession(*m_db, id);
    }
    m_sessionId = 0;
}

void StandIn::disconnect()
{
    endSession();
    m_db.reset();
    m_connectFailure.clear();
}

void StandIn::connect(const std::string& path)
{
    try {
        m_db = std::make_unique<Database>(path, [this](const std::string& text) {
            if (m_notice)
                m_notice(text.c_str(), m_noticeContext);
        });
    } catch (const DatabaseError& error) {
        m_connectFailure = error.what();
        throw;
    }
}

void StandIn::connectServer(std::string_view server, std::string_view netType)
{
    disconnect();
    if (netType != "tcp" && netType != "netb")
        m_connectFailure = "network type \"" + std::string(netType) + "\" not supported";
    std::string path = m_connectFailure.empty() ? lookUpServer(m_libraryFolder, server) : std::string();
    if (path.empty() && m_connectFailure.empty())
        m_connectFailure = "server \"" + std::string(server) + "\" not listed in " + m_libraryFolder + "/servers";
    if (!m_connectFailure.empty())
        throw CfrontError(CFRONT_ERR_NOT_CONNECTED, m_connectFailure);
    connect(path);
}

void StandIn::openDatabase(const std::string& path)
{
    disconnect();
    connect(path);
}

void StandIn::login(std::string_view user, std::string_view password)
{
    if (!m_db)
        throw CfrontError(CFRONT_ERR_NOT_CONNECTED, "not connected: " + (m_connectFailure.empty()
                                                                          ? "no server or database given"
                                                                          : m_connectFailure));
    endSession();
    if (!loginAccepted(*m_db, user, password))
        throw CfrontError(CFRONT_ERR_LOGIN, "user \"" + std::string(user) + "\" and password do not match");
    std::string host = hostName();
    if (!m_db->readOnly())
        removeStaleSessions(*m_db, host);
    m_sessionId = addSession(*m_db, user, host, processId(), m_licence ? &*m_licence : nullptr);
    m_loggedIn = true;
    m_counters = SessionCounters{};
}

Database& StandIn::loggedIn()
{
    if (!m_db || !m_loggedIn)
        throw CfrontError(CFRONT_ERR_NOT_CONNECTED, "not logged in");
    return *m_db;
}

cfront_table& StandIn::checkedTable(cfront_table* table)
{
    auto it = m_tables.find(table);
    if (it == m_tables.end())
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "unknown table handle");
    return *it->second;
}

cfront_record& StandIn::checkedRecord(cfront_table* table, cfront_record* record)
{
    checkedTable(table);
    auto it = m_records.find(record);
    if (it == m_records.end() || it->second->table != table)
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "unknown record handle for this table");
    return *it->second;
}

cfront_table* StandIn::openTable(int32_t number)
{
    loggedIn();
    const TableDef* def = findTableDef(number);
    if (!def)
        throw CfrontError(CFRONT_ERR_UNKNOWN_TABLE, "table " + std::to_string(number) + " does not exist");
    auto table = std::make_unique<cfront_table>();
    table->def = def;
    cfront_table* handle = table.get();
    m_tables.emplace(handle, std::move(table));
    return handle;
}

void StandIn::closeTable(cfront_table* table)
{
    checkedTable(table);
    for (auto it = m_records.begin(); it != m_records.end();)
        it = it->second->table == table ? m_records.erase(it) : std::next(it);
    m_tables.erase(table);
    if (m_sessionId != 0)
        setSessionCounters(loggedIn(), m_sessionId, m_counters);
}

void StandIn::setFilter(cfront_table* table, int32_t field, std::string_view text)
{
    cfront_table& t = checkedTable(table);
    int index = t.def->fieldIndex(field);
    if (index < 0)
        throw CfrontError(CFRONT_ERR_UNKNOWN_FIELD, "table " + std::to_string(t.def->number) + " has no field " +
                                                        std::to_string(field));
    t.filters.erase(field);
    t.rejectedFilters.erase(field);
    if (text.empty())
        return;
    FieldFilter filter;
    std::string reason;
    if (!parseFilter(t.def->fields[static_cast<size_t>(index)].kind, text, filter, reason)) {
        reason = "field " + std::to_string(field) + ": " + reason;
        t.rejectedFilters[field] = reason;
        throw CfrontError(CFRONT_ERR_FILTER, reason);
    }
    t.filters[field] = filter;
}

cfront_record* StandIn::newRecord(cfront_table* table)
{
    checkedTable(table);
    auto record = std::make_unique<cfront_record>();
    record->table = table;
    cfront_record* handle = record.get();
    m_records.emplace(handle, std::move(record));
    return handle;
}

void StandIn::freeRecord(cfront_record* record)
{
    if (m_records.erase(record) == 0)
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "unknown record handle");
}

void StandIn::checkFilters(const cfront_table& table) const
{
    if (!table.rejectedFilters.empty())
        throw CfrontError(CFRONT_ERR_FILTER, "rejected " + table.rejectedFilters.begin()->second);
}

bool StandIn::find(cfront_table* table, cfront_record* record, std::string_view which)
{
    cfront_record& r = checkedRecord(table, record);
    const cfront_table& t = *table;
    bool tolerated = m_toleratedError == CFRONT_ERR_RECORD_NOT_FOUND;
    m_toleratedError = 0;
    checkFilters(t);
    std::optional<Row> row;
    if (which == "-" || which == "+") {
        row = findEdge(loggedIn(), *t.def, t.filters, which == "-" ? Direction::Forward : Direction::Backward);
    } else if (which == "=") {
        if (!r.row)
            throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "search \"=\" needs a loaded record");
        row = findNext(loggedIn(), *t.def, t.filters, *r.row, Direction::Forward, true);
        for (int32_t key : t.def->keyFields) {
            size_t i = static_cast<size_t>(t.def->fieldIndex(key));
            if (row && (*row)[i].number != (*r.row)[i].number)
                row.reset();
        }
    } else {
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "search \"" + std::string(which) + "\" not supported");
    }
    ++m_counters.searched;
    r.row = std::move(row);
    if (!r.row) {
        if (!tolerated)
            m_diagnostics.setError(CFRONT_ERR_RECORD_NOT_FOUND, "no record found in table " +
                                                                    std::to_string(t.def->number));
        return false;
    }
    ++m_counters.found;
    return true;
}

int16_t StandIn::next(cfront_table* table, cfront_record* record, int32_t steps)
{
    cfront_record& r = checkedRecord(table, record);
    m_toleratedError = 0;
    checkFilters(*table);
    if (!r.row)
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "no record loaded to step from");
    Direction direction = steps < 0 ? Direction::Backward : Direction::Forward;
    int64_t count = steps < 0 ? -static_cast<int64_t>(steps) : steps;
    int16_t made = 0;
    for (int64_t i = 0; i < count && i < 32767; ++i) {
        std::optional<Row> row = findNext(loggedIn(), *table->def, table->filters, *r.row, direction, false);
        ++m_counters.searched;
        if (!row)
            break;
        r.row = std::move(row);
        ++m_counters.found;
        made = static_cast<int16_t>(made + (steps < 0 ? -1 : 1));
    }
    return made;
}

void* StandIn::fieldValue(cfront_table* table, cfront_record* record, int32_t field)
{
    cfront_record& r = checkedRecord(table, record);
    int index = table->def->fieldIndex(field);
    if (index < 0)
        throw CfrontError(CFRONT_ERR_UNKNOWN_FIELD, "table " + std::to_string(table->def->number) +
                                                        " has no field " + std::to_string(field));
    if (!r.row)
        throw CfrontError(CFRONT_ERR_BAD_ARGUMENT, "no record loaded");
    FieldValue& value = (*r.row)[static_cast<size_t>(index)];
    if (table->def->fields[static_cast<size_t>(index)].kind == FieldKind::Text)
        return value.text.data();
    return &value.number;
}

} // namespace cfront
