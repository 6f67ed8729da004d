#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// SQLite access of the stand-in: one database file, its schema and prepared statements.
namespace cfront {

// An SQLite failure (missing, locked, corrupt or foreign file) with SQLite's message.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Another program held the database for longer than the wait (see Database::busyWaitSeconds).
class BusyError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// A change was asked of a database opened read-only.
class ReadOnlyError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// A prepared statement, finalised by its destructor. Parameters and columns count from 0;
// texts are bound and read as blobs so OEM bytes pass unchanged.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, int64_t value);
    Statement& bindBytes(int index, std::string_view bytes);
    // true while a row is available; throws DatabaseError (BusyError, ReadOnlyError) on failure.
    bool step();
    int64_t integer(int column) const;
    bool isNull(int column) const;
    std::string bytes(int column) const;
    void reset();

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

// An open stand-in database file; the destructor closes it. Files from elsewhere are not
// trusted: SQLite runs in defensive mode with an untrusted schema, triggers and views are
// switched off, and a file whose schema is not exactly the stand-in's is refused.
class Database {
public:
    // Called once when a statement has waited a second for a database another program holds.
    using WaitNotice = std::function<void(const std::string& text)>;

    // Opens an existing stand-in database; read-only when the file or its folder lacks write
    // permission (for this user, or any write bit at all, so root too sees a 0444 file as
    // read-only). Throws DatabaseError when the file is missing, unreadable or not a stand-in
    // database, BusyError when another program holds it past the wait.
    explicit Database(const std::string& path, WaitNotice notice = nullptr);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Creates a new, empty stand-in database, readable and writable by the owner only (0600;
    // SQLite gives its journal files the same permissions). Throws DatabaseError when the path
    // exists, as a file or as a symbolic link, dangling or not.
    static void create(const std::string& path);

    // How long a statement waits for a database another program holds: CFRONT_BUSY_TIMEOUT
    // seconds (1..600) from the environment, 10 by default.
    static int busyWaitSeconds();

    bool readOnly() const { return m_readOnly; }
    // Throws ReadOnlyError naming the file when the database was opened read-only.
    void requireWritable() const;

    Statement prepare(std::string_view sql) { return Statement(m_db, sql); }
    void execute(const char* sql);
    const std::string& path() const { return m_path; }

private:
    Database(const std::string& path, int openFlags, WaitNotice notice);
    void checkSchema();
    static int onBusy(void* self, int count);

    sqlite3* m_db = nullptr;
    std::string m_path;
    bool m_readOnly = false;
    WaitNotice m_notice;
    int64_t m_waitStart = 0; // steady milliseconds when the current wait began
    bool m_noticeGiven = false;
};

} // namespace cfront
