#include "db/SessionWatch.h"

#include "db/CFrontLibrary.h"
#include "db/DbObjectEntry.h"
#include "model/CodePage.h"
#include "model/ObjectRecord.h"
#include "results/DateParse.h"
#include "results/ResultList.h"

#include <cstdio>
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
    : m_changedObjects(changedObjects), m_sessions(sessions), m_clock(clock), m_session(messages, conversionLog)
{
}

bool CSessionWatch::Start(const DatabaseConnection& connection)
{
    if (m_running)
        return false;
    m_changedObjects.DeleteAllRows();
    m_connection = connection;
    m_connection.licenceFile.clear();
    m_running = true;
    m_skippedTicks = 0;
    m_lastRequestTime = m_clock.now();
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
    m_lastRequestTime = requestMoment;

    CFrontLibrary& library = CFrontLibrary::instance();
    cfront_table* table = library.openTable(CFRONT_TABLE_OBJECT);
    // The date alone is filtered by the database; the time of day only counts on the day itself,
    // which the comparison with the whole moment below takes care of.
    library.setFilter(table, 10, dateFilterText(previous), kFilterBufferSize);
    library.allowError(CFRONT_ERR_RECORD_NOT_FOUND);
    cfront_record* record = library.newRecord(table);
    int added = 0;
    if (library.findFirst(table, record)) {
        do {
            int32_t type = library.fieldInteger(table, record, 1);
            std::string typeWord = CDbObjectEntry::typeWordOf(type);
            if (typeWord.empty())
                continue;
            std::string date = m_session.checkedDateText(library.fieldInteger(table, record, 10));
            std::string time = m_session.checkedTimeText(library.fieldInteger(table, record, 11));
            if (!atOrAfter(date, time, previous))
                continue;
            m_changedObjects.AddRow({typeWord, decimal(library.fieldInteger(table, record, 3)), "",
                                     ansiText(library.fieldText(table, record, 4)), date, time,
                                     ansiText(library.fieldText(table, record, 12)),
                                     decimal(library.fieldInteger(table, record, 9))},
                                    objectTypeImage(type));
            ++added;
        } while (library.next(table, record, 1) == 1);
    }
    library.freeRecord(record);
    library.closeTable(table);
    m_session.Logout();
    return added;
}

bool CSessionWatch::RequestSessions()
{
    RequestGuard guard(m_requestRunning);
    if (!loggedIn())
        return false;
    CFrontLibrary& library = CFrontLibrary::instance();
    cfront_table* table = library.openTable(CFRONT_TABLE_SESSION);
    library.allowError(CFRONT_ERR_RECORD_NOT_FOUND);
    cfront_record* record = library.newRecord(table);
    m_sessions.DeleteAllRows();
    if (library.findFirst(table, record)) {
        do {
            std::string user = library.fieldText(table, record, 2);
            std::vector<std::string> cells{decimal(library.fieldInteger(table, record, 1)),
                                           user.empty() ? user : user.substr(1)};
            for (int32_t field : {10, 11, 12, 13, 14})
                cells.push_back(decimal(library.fieldInteger(table, record, field)));
            cells.push_back(m_session.checkedDateText(library.fieldInteger(table, record, 6)));
            cells.push_back(m_session.checkedTimeText(library.fieldInteger(table, record, 5)));
            m_sessions.AddRow(cells, -1);
        } while (library.next(table, record, 1) == 1);
    }
    library.freeRecord(record);
    library.closeTable(table);
    m_session.Logout();
    return true;
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
    std::ofstream file(path, std::ios::binary | std::ios::app);
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
