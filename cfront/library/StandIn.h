#pragma once

#include "cfront.h"
#include "store/Database.h"
#include "store/Records.h"
#include "store/Tables.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// An open table behind its C handle: the table and its field filters.
struct cfront_table {
    const cfront::TableDef* def = nullptr;
    std::map<int32_t, cfront::FieldFilter> filters;
    std::map<int32_t, std::string> rejectedFilters; // field -> reason
};

// A record buffer behind its C handle: its table and the record loaded into it, if any.
struct cfront_record {
    cfront_table* table = nullptr;
    std::optional<cfront::Row> row;
};

namespace cfront {

// A failed operation: its code (CFRONT_ERR_...) and reason, kept as the last error.
class CfrontError : public std::runtime_error {
public:
    CfrontError(int32_t code, const std::string& reason) : std::runtime_error(reason), m_code(code) {}
    int32_t code() const { return m_code; }

private:
    int32_t m_code;
};

// The last error and the call trace, which outlive initialise and shut down.
struct Diagnostics {
    int32_t lastError = CFRONT_OK;
    std::string lastErrorText;
    std::string trace;
    void setError(int32_t code, const std::string& text);
};

// The library's state between initialise and shut down: one database, one login, the open
// tables and record buffers. Handles are checked against the registries before any use.
class StandIn {
public:
    StandIn(std::string libraryFolder, Diagnostics& diagnostics);
    ~StandIn(); // ends the session: its row leaves the Session table

    void setProgramPath(std::string_view path) { m_programPath = path; }
    void setLicenceFile(std::string_view path) { m_licence = std::string(path); }
    void connectServer(std::string_view server, std::string_view netType);
    void openDatabase(const std::string& path);
    void login(std::string_view user, std::string_view password);
    void allowError(int32_t code) { m_toleratedError = code; }
    void setWaitNotice(cfront_notice_fn notice, void* context)
    {
        m_notice = notice;
        m_noticeContext = context;
    }

    cfront_table* openTable(int32_t number);
    void closeTable(cfront_table* table);
    void setFilter(cfront_table* table, int32_t field, std::string_view text);
    cfront_record* newRecord(cfront_table* table);
    void freeRecord(cfront_record* record);
    bool find(cfront_table* table, cfront_record* record, std::string_view which);
    int16_t next(cfront_table* table, cfront_record* record, int32_t steps);
    void* fieldValue(cfront_table* table, cfront_record* record, int32_t field);

private:
    void disconnect();
    void connect(const std::string& path);
    void endSession();
    Database& loggedIn();
    cfront_table& checkedTable(cfront_table* table);
    cfront_record& checkedRecord(cfront_table* table, cfront_record* record);
    void checkFilters(const cfront_table& table) const;

    std::string m_libraryFolder;
    Diagnostics& m_diagnostics;
    std::string m_programPath;
    std::optional<std::string> m_licence;
    std::unique_ptr<Database> m_db;
    std::string m_connectFailure; // why the last connect or open failed, for the login's error
    bool m_loggedIn = false;
    int64_t m_sessionId = 0; // 0 while not logged in, and for a login on a read-only database
    cfront_notice_fn m_notice = nullptr;
    void* m_noticeContext = nullptr;
    SessionCounters m_counters;
    int32_t m_toleratedError = 0;
    std::map<cfront_table*, std::unique_ptr<cfront_table>> m_tables;
    std::map<cfront_record*, std::unique_ptr<cfront_record>> m_records;
};

// The database file a server name stands for, from the file "servers" in folder; empty when
// the file or the name is missing. Relative paths are taken from folder.
std::string lookUpServer(const std::string& folder, std::string_view server);

} // namespace cfront
