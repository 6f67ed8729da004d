#include "store/Database.h"

#include <sqlite3.h>

#include <filesystem>

namespace cfront {
namespace {

const char* const kFormat = "quellix-cfront 2";

const char* const kSchema = R"sql(
CREATE TABLE cfront_info(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE object(
  type INTEGER NOT NULL, id INTEGER NOT NULL, name BLOB NOT NULL DEFAULT x'',
  flag INTEGER NOT NULL DEFAULT 0, dbm_table INTEGER NOT NULL DEFAULT 0,
  date INTEGER NOT NULL DEFAULT 0, time INTEGER NOT NULL DEFAULT 0, stamp INTEGER,
  version BLOB NOT NULL DEFAULT x'', PRIMARY KEY(type, id));
CREATE TABLE user(name BLOB PRIMARY KEY, salt BLOB NOT NULL, hash BLOB NOT NULL,
  rounds INTEGER NOT NULL);
CREATE TABLE session(
  id INTEGER PRIMARY KEY AUTOINCREMENT, user BLOB NOT NULL, login_stamp INTEGER NOT NULL,
  found INTEGER NOT NULL DEFAULT 0, searched INTEGER NOT NULL DEFAULT 0,
  inserted INTEGER NOT NULL DEFAULT 0, deleted INTEGER NOT NULL DEFAULT 0,
  modified INTEGER NOT NULL DEFAULT 0,
  host BLOB NOT NULL DEFAULT x'', pid INTEGER NOT NULL DEFAULT 0, licence BLOB);
)sql";

[[noreturn]] void fail(sqlite3* db, const std::string& what)
{
    throw DatabaseError(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

} // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : m_db(db)
{
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_statement, nullptr) != SQLITE_OK)
        fail(db, "SQL statement failed");
}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

Statement& Statement::bind(int index, int64_t value)
{
    if (sqlite3_bind_int64(m_statement, index + 1, value) != SQLITE_OK)
        fail(m_db, "binding a value failed");
    return *this;
}

Statement& Statement::bindBytes(int index, std::string_view bytes)
{
    // A zero-length blob must still be a blob, not NULL: pass a valid pointer.
    const char* data = bytes.empty() ? "" : bytes.data();
    if (sqlite3_bind_blob(m_statement, index + 1, data, static_cast<int>(bytes.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        fail(m_db, "binding a value failed");
    return *this;
}

bool Statement::step()
{
    int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(m_db, "database access failed");
}

int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::string Statement::bytes(int column) const
{
    const void* data = sqlite3_column_blob(m_statement, column);
    int size = sqlite3_column_bytes(m_statement, column);
    return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size)) : std::string();
}

void Statement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

Database::Database(const std::string& path) : Database(path, SQLITE_OPEN_READWRITE)
{
    checkFormat();
}

Database::Database(const std::string& path, int openFlags) : m_path(path)
{
    int rc = sqlite3_open_v2(path.c_str(), &m_db, openFlags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = "cannot open database " + path + ": " +
                              (m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
        sqlite3_close(m_db);
        throw DatabaseError(message);
    }
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_extended_result_codes(m_db, 1);
}

Database::~Database()
{
    sqlite3_close(m_db);
}

void Database::create(const std::string& path)
{
    if (std::filesystem::exists(path))
        throw DatabaseError("cannot create database " + path + ": the file exists");
    Database db(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    db.execute("PRAGMA journal_mode=WAL");
    db.execute("BEGIN");
    db.execute(kSchema);
    db.prepare("INSERT INTO cfront_info(key, value) VALUES('format', ?)").bindBytes(0, kFormat).step();
    db.execute("COMMIT");
}

void Database::execute(const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(m_db);
        sqlite3_free(message);
        throw DatabaseError("database access failed: " + text);
    }
}

void Database::checkFormat()
{
    try {
        Statement query(m_db, "SELECT value FROM cfront_info WHERE key = 'format'");
        if (query.step() && query.bytes(0) == kFormat)
            return;
    } catch (const DatabaseError& error) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DatabaseError(m_path + " is not a stand-in C/FRONT database (" + error.what() + ")");
    }
    sqlite3_close(m_db);
    m_db = nullptr;
    throw DatabaseError(m_path + " is not a stand-in C/FRONT database");
}

} // namespace cfront
