#include "db/SessionWatch.h"

#include "db/CFrontLibrary.h"
#include "db/DbObjectEntry.h"
#include "model/CodePage.h"
#include "model/ObjectRecord.h"
#include "results/DateParse.h"
#include "results/ResultList.h"
#include "model/FileAccess.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

const size_t kFilterBufferSize = 30;
const size_t kLogCellBytes = 199; // cells are read back in buffers of 200 bytes

std::tm localTime(std::time_t t)
{
    std::tm parts{};
    localtime_r(&t, &parts);
    return parts;
}

std::string formatTime(std::time_t t, const char* format)
{
    std::tm parts = localTime(t);
    char buffer[128] = {};
    size_t n = std::strftime(buffer, sizeof buffer, format, &parts);
    return std::string(buffer, n);
}

std::string ansiText(std::string oem)
{
    oemToAnsi(oem);
    return oem;
}

std::string decimal(int32_t value)
{
    return std::to_string(value);
}

} // namespace

// One table read from its first record on: the table and record buffer, closed and freed at the
// end, and the reason of a failed call (empty while all is well).
class CSessionWatch::TableReading {
public:
    TableReading(CFrontLibrary& library, int32_t tableNumber) : m_library(library)
    {
        table = library.openTable(tableNumber);
        if (!table)
            failure = library.failureReason("table " + std::to_string(tableNumber) + " cannot be opened");
    }
    ~TableReading()
    {
        if (record)
            m_library.freeRecord(record);
        if (table)
            m_library.closeTable(table);
    }
    TableReading(const TableReading&) = delete;
    TableReading& operator=(const TableReading&) = delete;

    // Tolerates "nothing found", makes the record buffer and loads the first record; false when
    // there is none (failure tells whether that is an error).
    bool begin()
    {
        if (!failure.empty())
            return false;
        m_library.allowError(CFRONT_ERR_RECORD_NOT_FOUND);
        record = m_library.newRecord(table);
        if (!record) {
            failure = m_library.failureReason("no record buffer");
            return false;
        }
        if (m_library.findFirst(table, record))
            return true;
        failure = m_library.readFailure();
        return false;
    }
    // Steps to the next record; false at the end or on a failure.
    bool next()
    {
        if (m_library.next(table, record, 1) == 1)
            return true;
        failure = m_library.readFailure();
        return false;
    }

    cfront_table* table = nullptr;
    cfront_record* record = nullptr;
    std::string failure;

private:
    CFrontLibrary& m_library;
};

void addChangedObjectColumns(CResultList& list)
{
    const std::pair<const char*, int> columns[] = {{"Type", 60}, {"ID", 60},     {"User", 10},    {"Object", 200},
                                                   {"Date", 50}, {"Time", 60},   {"Version", 80}, {"DBM TableNo.", 80}};
    for (const auto& [heading, width] : columns)
        list.AddColumn(heading, LIST_ALIGN_LEFT, width);
}

void addSessionColumns(CResultList& list)
{
    const std::pair<const char*, int> columns[] = {
        {"SessionID", 30},  {"User", 60},       {"found Records", 40}, {"searched Records", 40},
        {"inserted Records", 40}, {"deleted DS", 40}, {"modified DS", 40}, {"Login Date", 40},
        {"Login Time", 40}};
    for (const auto& [heading, width] : columns)
        list.AddColumn(heading, LIST_ALIGN_LEFT, width);
}

class CSessionWatch::RequestGuard {
public:
    explicit RequestGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~RequestGuard() { m_flag = false; }
    RequestGuard(const RequestGuard&) = delete;
    RequestGuard& operator=(const RequestGuard&) = delete;

private:
    bool& m_flag;
};

CSessionWatch::CSessionWatch(CResultList& changedObjects, CResultList& sessions, IMessageBoxes& messages,
                             const IWatchClock& clock, std::ostream& conversionLog)
    : m_changedObjects(changedObjects), m_sessions(sessions), m_messages(messages), m_clock(clock),
      m_session(messages, conversionLog)
{
}

bool CSessionWatch::Start(const DatabaseConnection& connection, const WatchScope& scope)
{
    if (m_running)
        return false;
    m_changedObjects.DeleteAllRows();
    m_connection = connection;
    m_connection.licenceFile.clear();
    m_scope = scope;
    m_listed.clear();
    m_present.clear();
    m_presentKnown = false;
    m_running = true;
    m_skippedTicks = 0;
    m_lastRequestTime = m_clock.now();
    if (m_scope.reportDeleted)
        readPresentObjects();
    return true;
}

bool CSessionWatch::readPresentObjects()
{
    RequestGuard guard(m_requestRunning);
    if (!loggedIn())
        return false;
    ObjectRows rows, present;
    std::string failure = readChangedObjects(m_lastRequestTime, rows, &present);
    m_session.Logout();
    if (!failure.empty()) {
        m_messages.show(failure, "Error", MessageIcon::Error);
        return false;
    }
    for (auto& [key, row] : present)
        m_present[key] = std::move(row);
    m_presentKnown = true;
    return true;
}

bool CSessionWatch::Stop(const std::string& logFile, bool* logWritten)
{
    if (logWritten)
        *logWritten = false;
    if (!m_running)
        return false;
    m_running = false;
    m_lastRequestTime = m_clock.now();
    if (!logFile.empty()) {
        bool written = appendWatchLog(logFile, m_changedObjects);
        if (logWritten)
            *logWritten = written;
    }
    return true;
}

CSessionWatch::TickResult CSessionWatch::Tick()
{
    if (!m_running)
        return TickResult::NotRunning;
    if (m_requestRunning) {
        ++m_skippedTicks;
        return TickResult::Skipped;
    }
    RequestChangedObjects();
    RequestSessions();
    return TickResult::Ran;
}

bool CSessionWatch::loggedIn()
{
    if (m_session.Login(m_connection))
        return true;
    m_session.Logout();
    return false;
}

bool CSessionWatch::atOrAfter(const std::string& dateText, const std::string& timeText, std::time_t moment) const
{
    double record = 0;
    double watermark = 0;
    if (!parseDateTime(dateText + " " + timeText, record))
        return true; // a text the parser cannot place is reported rather than lost
    if (!parseDateTime(formatTime(moment, "%Y-%m-%d %H:%M:%S"), watermark, DateStyle::IsoOnly))
        return true;
    return record >= watermark - 0.5 / 86400.0;
}

int CSessionWatch::RequestChangedObjects()
{
    RequestGuard guard(m_requestRunning);
    const std::time_t previous = m_lastRequestTime;
    const std::time_t requestMoment = m_clock.now();
    if (!loggedIn())
        return -1;
    ObjectRows rows, present;
    std::string failure = readChangedObjects(previous, rows, m_scope.reportDeleted ? &present : nullptr);
    m_session.Logout();
    if (!failure.empty()) {
        m_messages.show(failure, "Error", MessageIcon::Error);
        return -1;
    }
    m_lastRequestTime = requestMoment;
    return listRows(rows, m_scope.reportDeleted ? &present : nullptr);
}

int CSessionWatch::listRows(const ObjectRows& rows, ObjectRows* present)
{
    int added = 0;
    for (const auto& [key, row] : rows) {
        auto dateAndTime = std::make_pair(row.cells[WOC_DATE], row.cells[WOC_TIME]);
        auto listed = m_listed.find(key);
        if (listed != m_listed.end() && listed->second == dateAndTime)
            continue;
        m_listed[key] = dateAndTime;
        m_changedObjects.AddRow(row.cells, row.icon);
        ++added;
    }
    if (!present)
        return added;
    std::map<ObjectKey, CResultRow> now;
    for (auto& [key, row] : *present)
        now[key] = std::move(row);
    if (m_presentKnown) {
        for (const auto& [key, row] : m_present) {
            if (now.count(key))
                continue;
            std::vector<std::string> cells = row.cells;
            cells[WOC_DATE] = kDeletedObjectMark;
            cells[WOC_TIME].clear();
            m_changedObjects.AddRow(cells, row.icon);
            m_listed.erase(key);
            ++added;
        }
    }
    m_present = std::move(now);
    m_presentKnown = true;
    return added;
}

std::string CSessionWatch::readChangedObjects(std::time_t previous, ObjectRows& rows, ObjectRows* present)
{
    CFrontLibrary& library = CFrontLibrary::instance();
    TableReading reading(library, CFRONT_TABLE_OBJECT);
    // The date alone is filtered by the database; the time of day only counts on the day itself,
    // which the comparison with the whole moment below takes care of.
    if (reading.table && !present &&
        !library.setFilter(reading.table, 10, dateFilterText(previous), kFilterBufferSize))
        return library.failureReason("the date filter on the Object table is refused");
    if (!reading.begin())
        return reading.failure;
    do {
        int32_t type = library.fieldInteger(reading.table, reading.record, 1);
        std::string typeWord = CDbObjectEntry::typeWordOf(type, m_scope.allTypes);
        if (typeWord.empty())
            continue;
        std::string date = m_session.checkedDateText(library.fieldInteger(reading.table, reading.record, 10));
        std::string time = m_session.checkedTimeText(library.fieldInteger(reading.table, reading.record, 11));
        bool changed = atOrAfter(date, time, previous);
        if (!changed && !present)
            continue;
        auto text = [&](int32_t field) { return ansiText(library.fieldText(reading.table, reading.record, field)); };
        auto number = [&](int32_t field) { return library.fieldInteger(reading.table, reading.record, field); };
        ObjectKey key{type, number(3)};
        CResultRow row{{typeWord, decimal(key.second), "", text(4), date, time, text(12), decimal(number(9))}, 0,
                       objectTypeImage(type), 0};
        if (changed)
            rows.emplace_back(key, row);
        if (present)
            present->emplace_back(key, std::move(row));
    } while (reading.next());
    return reading.failure;
}

bool CSessionWatch::RequestSessions()
{
    RequestGuard guard(m_requestRunning);
    if (!loggedIn())
        return false;
    std::vector<CResultRow> rows;
    std::string failure = readSessions(rows);
    m_session.Logout();
    if (!failure.empty()) {
        m_messages.show(failure, "Error", MessageIcon::Error);
        return false;
    }
    m_sessions.DeleteAllRows();
    for (const CResultRow& row : rows)
        m_sessions.AddRow(row.cells, -1);
    return true;
}

std::string CSessionWatch::readSessions(std::vector<CResultRow>& rows)
{
    CFrontLibrary& library = CFrontLibrary::instance();
    TableReading reading(library, CFRONT_TABLE_SESSION);
    if (!reading.begin())
        return reading.failure;
    do {
        auto number = [&](int32_t field) { return library.fieldInteger(reading.table, reading.record, field); };
        std::string user = library.fieldText(reading.table, reading.record, 2);
        CResultRow row;
        row.cells = {decimal(number(1)), user.empty() ? user : user.substr(1)};
        for (int32_t field : {10, 11, 12, 13, 14})
            row.cells.push_back(decimal(number(field)));
        row.cells.push_back(m_session.checkedDateText(number(6)));
        row.cells.push_back(m_session.checkedTimeText(number(5)));
        rows.push_back(row);
    } while (reading.next());
    return reading.failure;
}

std::string CSessionWatch::dateFilterText(std::time_t t)
{
    return ">=" + formatTime(t, "%d.%m.%Y");
}

std::string CSessionWatch::requestDateText(std::time_t t)
{
    return formatTime(t, "%A, %d %B, %Y");
}

std::string CSessionWatch::requestTimeText(std::time_t t)
{
    return formatTime(t, "%H:%M:%S");
}

bool appendWatchLog(const std::string& path, const CResultList& list)
{
    std::ofstream file(fileSystemPath(path), std::ios::binary | std::ios::app);
    if (!file.is_open())
        return false;
    auto cell = [&](int row, int column) { return list.GetCellText(row, column).substr(0, kLogCellBytes); };
    for (int row = 0; row < list.GetRowCount(); ++row) {
        for (int column : {WOC_TYPE, WOC_ID, WOC_USER, WOC_OBJECT, WOC_DATE})
            file << cell(row, column) << '\t';
        file << '\t' << cell(row, WOC_TIME) << '\t' << cell(row, WOC_VERSION) << "\r\n";
    }
    file.flush();
    return file.good();
}

bool canAppendTo(const std::string& path, std::string& reason)
{
    std::error_code error;
    const std::filesystem::path where = fileSystemPath(path);
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(where, error));
    errno = 0;
    std::ofstream file(where, std::ios::binary | std::ios::app);
    if (!file.is_open()) {
        reason = errno != 0 ? std::strerror(errno) : "cannot be opened";
        return false;
    }
    file.close();
    if (!existed)
        std::filesystem::remove(where, error);
    return true;
}
