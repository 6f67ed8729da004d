#pragma once

#include "db/DatabaseSession.h"
#include "results/ResultList.h"

#include <ctime>
#include <iostream>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The current calendar time in whole seconds; tests set it by hand.
class IWatchClock {
public:
    virtual ~IWatchClock() = default;
    virtual std::time_t now() const = 0;
};

class CSystemWatchClock : public IWatchClock {
public:
    std::time_t now() const override { return std::time(nullptr); }
};

// Columns of the two lists of the session watch, in order, with their widths in pixels.
void addChangedObjectColumns(CResultList& list);
void addSessionColumns(CResultList& list);

// Cells of the changed-objects list.
enum WatchObjectCell {
    WOC_TYPE, WOC_ID, WOC_USER, WOC_OBJECT, WOC_DATE, WOC_TIME, WOC_VERSION, WOC_DBM_TABLE, WOC_COUNT
};

// What a watch reports beyond the changed objects of types 1 to 5; both off by default.
struct WatchScope {
    bool allTypes = false;      // also XMLports, MenuSuites, Pages and Queries (types 6 to 9)
    bool reportDeleted = false; // a row marked deleted for an object gone since the previous request
};

// The Date cell of a row that reports a deleted object.
inline constexpr const char* kDeletedObjectMark = "deleted";

// The session watch of one database without its window: the requests of a timer period, the
// watermark they start from, and the log written on Stop. The changed-objects list collects the
// objects reported since Start; the sessions list holds the sessions of the latest request.
//
// The watermark ("last request time") is taken in whole seconds before each changed-objects
// query and moved only by that request (when it reached the database), by Start and by Stop. A
// record qualifies when its date and time together lie at or after the previous watermark, so an
// object changed on a later day at an earlier time of day is reported, and an object saved in
// the very second of a request is reported again by the next one rather than lost.
//
// An object is listed again only when its date or time differs from what was last listed for it
// (an object dated in the future would otherwise qualify at every request). With reportDeleted,
// every request reads the whole Object table, and an object that the previous request (or Start)
// saw and this one does not is listed once, its Date cell kDeletedObjectMark.
//
// Requests never overlap: a tick that arrives while a request runs (a message box of the running
// request keeps the message loop going) is skipped and counted.
class CSessionWatch {
public:
    CSessionWatch(CResultList& changedObjects, CResultList& sessions, IMessageBoxes& messages,
                  const IWatchClock& clock, std::ostream& conversionLog = std::cout);

    // Empties the changed-objects list, keeps the connection (its licence file is cleared) and
    // the scope, running = true and watermark = now. With reportDeleted it reads the objects
    // present now (when that fails, the first request that reads does). False (and nothing
    // changes) while running.
    bool Start(const DatabaseConnection& connection, const WatchScope& scope = {});
    // While running: running = false, watermark = now, and the changed-objects list is appended
    // to the log file (nothing when logFile is empty). False when not running: no log at all.
    // logWritten tells whether a log file took the lines.
    bool Stop(const std::string& logFile, bool* logWritten = nullptr);

    enum class TickResult { Ran, Skipped, NotRunning };
    // One timer period: the changed-objects request, then the sessions request.
    TickResult Tick();

    // The changed-objects request; returns the number of rows added, -1 when the login or the
    // read failed (a failed read is shown with caption "Error" and the library's reason, and adds
    // no row). After a failure the watermark stays where it was, so the next request covers the
    // time of the failure.
    int RequestChangedObjects();
    // The sessions request; false when the login or the read failed (the sessions list keeps its
    // rows).
    bool RequestSessions();

    bool running() const { return m_running; }
    bool requestRunning() const { return m_requestRunning; }
    int skippedTicks() const { return m_skippedTicks; }
    std::time_t lastRequestTime() const { return m_lastRequestTime; }
    const DatabaseConnection& connection() const { return m_connection; }
    CDatabaseSession& session() { return m_session; }

    // The Object table filter of the date of t, in local time: ">=" and "DD.MM.YYYY".
    static std::string dateFilterText(std::time_t t);
    // The texts of "Date last request" ("%A, %d %B, %Y") and "Time last request" ("%H:%M:%S").
    static std::string requestDateText(std::time_t t);
    static std::string requestTimeText(std::time_t t);

private:
    // Holds the request flag for one request; the flag makes ticks inside it skip.
    class RequestGuard;
    class TableReading;

    using ObjectKey = std::pair<int32_t, int32_t>; // type code, number
    using ObjectRows = std::vector<std::pair<ObjectKey, CResultRow>>;

    bool loggedIn();
    // The rows of the two reads, and the reason of a failed read ("" when it succeeded). With
    // present, the whole table is read and every object's row goes there too.
    std::string readChangedObjects(std::time_t previous, ObjectRows& rows, ObjectRows* present);
    // Lists the rows that are new or changed since they were last listed, then the objects
    // gone since the last reading of present; returns the number of rows added.
    int listRows(const ObjectRows& rows, ObjectRows* present);
    bool readPresentObjects();
    std::string readSessions(std::vector<CResultRow>& rows);
    bool atOrAfter(const std::string& dateText, const std::string& timeText, std::time_t moment) const;

    CResultList& m_changedObjects;
    CResultList& m_sessions;
    IMessageBoxes& m_messages;
    const IWatchClock& m_clock;
    CDatabaseSession m_session;
    DatabaseConnection m_connection;
    WatchScope m_scope;
    std::map<ObjectKey, std::pair<std::string, std::string>> m_listed; // date and time last listed
    std::map<ObjectKey, CResultRow> m_present; // with reportDeleted: the objects last seen
    bool m_presentKnown = false;
    bool m_running = false;
    bool m_requestRunning = false;
    int m_skippedTicks = 0;
    std::time_t m_lastRequestTime = 0;
};

// Appends the rows of list to the file as the watch log: Type TAB ID TAB User TAB Object TAB Date
// TAB TAB Time TAB Version CR LF per row, each cell read back in 200 bytes (its first 199); the
// DBM table number is not written. The file is created when missing, never truncated. False when
// it cannot be opened or written.
bool appendWatchLog(const std::string& path, const CResultList& list);
// Whether the log file can be opened for appending now; reason says why not. A file this check
// creates is removed again.
bool canAppendTo(const std::string& path, std::string& reason);
