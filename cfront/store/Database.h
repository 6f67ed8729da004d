#pragma once

#include <cstdint>
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
    // true while a row is available; throws DatabaseError on failure.
    bool step();
    int64_t integer(int column) const;
    bool isNull(int column) const;
    std::string bytes(int column) const;
    void reset();

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

// An open stand-in database file; the destructor closes it.
class Database {
public:
    // Opens an existing stand-in database; throws DatabaseError when the file is missing,
    // unreadable or not a stand-in database.
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Creates a new, empty stand-in database; throws DatabaseError when the file exists.
    static void create(const std::string& path);

    Statement prepare(std::string_view sql) { return Statement(m_db, sql); }
    void execute(const char* sql);
    const std::string& path() const { return m_path; }

private:
    Database(const std::string& path, int openFlags);
    void checkFormat();

    sqlite3* m_db = nullptr;
    std::string m_path;
};

} // namespace cfront
