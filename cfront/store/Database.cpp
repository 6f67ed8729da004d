#include "store/Database.h"

#include "store/System.h"

#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

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
CREATE TABLE user(name BLOB PRIMARY KEY, hash BLOB NOT NULL);
CREATE TABLE session(
  id INTEGER PRIMARY KEY AUTOINCREMENT, user BLOB NOT NULL, login_stamp INTEGER NOT NULL,
  found INTEGER NOT NULL DEFAULT 0, searched INTEGER NOT NULL DEFAULT 0,
  inserted INTEGER NOT NULL DEFAULT 0, deleted INTEGER NOT NULL DEFAULT 0,
  modified INTEGER NOT NULL DEFAULT 0,
  host BLOB NOT NULL DEFAULT x'', pid INTEGER NOT NULL DEFAULT 0, licence BLOB);
)sql";

const char* const kSchemaQuery = "SELECT type || ' ' || name, ifnull(sql, '') FROM sqlite_schema ORDER BY name";

[[noreturn]] void fail(sqlite3* db, const std::string& what, int rc = SQLITE_ERROR)
{
    std::string message = what + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
    if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED)
        throw BusyError("database busy: " + message);
    if ((rc & 0xFF) == SQLITE_READONLY)
        throw ReadOnlyError(message);
    throw DatabaseError(message);
}

int64_t steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string folderOf(const std::string& path)
{
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

std::string immutableUri(const std::string& path)
{
    std::string uri = "file:";
    for (unsigned char c : std::filesystem::absolute(path).string()) {
        if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_') {
            uri += static_cast<char>(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            uri += code;
        }
    }
    return uri + "?immutable=1";
}

// Every setting that keeps a file from elsewhere from running code of its own.
void distrust(sqlite3* db)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_exec(db, "PRAGMA cell_size_check=ON", nullptr, nullptr, nullptr);
}

std::vector<std::pair<std::string, std::string>> schemaOf(sqlite3* db)
{
    std::vector<std::pair<std::string, std::string>> rows;
    Statement query(db, kSchemaQuery);
    while (query.step())
        rows.emplace_back(query.bytes(0), query.bytes(1));
    return rows;
}

// The schema a stand-in database has: the rows of sqlite_schema after creating it.
const std::vector<std::pair<std::string, std::string>>& ownSchema()
{
    static const auto schema = [] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
        // Closed also when reading the schema runs out of memory and throws.
        const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closing(db, sqlite3_close);
        sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
        return schemaOf(db);
    }();
    return schema;
}

// The first difference of a schema from ours, "" when there is none.
std::string schemaDifference(const std::vector<std::pair<std::string, std::string>>& found)
{
    const auto& own = ownSchema();
    for (const auto& row : own) {
        bool present = false, same = false;
        for (const auto& other : found) {
            present = present || other.first == row.first;
            same = same || other == row;
        }
        if (!present)
            return row.first + " missing";
        if (!same)
            return row.first + " differs";
    }
    for (const auto& row : found) {
        bool known = false;
        for (const auto& other : own)
            known = known || other.first == row.first;
        if (!known)
            return "unexpected " + row.first;
    }
    return "";
}

} // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : m_db(db)
{
    int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_statement, nullptr);
    if (rc != SQLITE_OK)
        fail(db, "SQL statement failed", rc);
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
    fail(m_db, "database access failed", rc);
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

Database::Database(const std::string& path, WaitNotice notice)
    : Database(path, writable(path) && writable(folderOf(path)) ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY,
               std::move(notice))
{
    try {
        try {
            checkSchema();
        } catch (const BusyError&) {
            throw;
        } catch (const DatabaseError&) {
            if (!m_readOnly || writable(folderOf(path)))
                throw;
            // In a folder without write permission SQLite cannot make the shared-memory file of
            // a WAL database; nobody can change the file there either, so read it as immutable.
            sqlite3_close(m_db);
            m_db = nullptr;
            sqlite3_open_v2(immutableUri(path).c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
            distrust(m_db);
            checkSchema();
        }
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

Database::Database(const std::string& path, int openFlags, WaitNotice notice)
    : m_path(path), m_readOnly((openFlags & SQLITE_OPEN_READONLY) != 0), m_notice(std::move(notice))
{
    int rc = sqlite3_open_v2(path.c_str(), &m_db, openFlags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = "cannot open database " + path + ": " +
                              (m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
        sqlite3_close(m_db);
        throw DatabaseError(message);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, &Database::onBusy, this);
    distrust(m_db);
}

Database::~Database()
{
    sqlite3_close(m_db);
}

int Database::busyWaitSeconds()
{
    const char* text = std::getenv("CFRONT_BUSY_TIMEOUT");
    char* end = nullptr;
    long seconds = text ? std::strtol(text, &end, 10) : 0;
    return text && *text && end && *end == '\0' && seconds >= 1 && seconds <= 600 ? static_cast<int>(seconds) : 10;
}

int Database::onBusy(void* self, int count)
{
    auto* db = static_cast<Database*>(self);
    int64_t now = steadyMilliseconds();
    if (count == 0) {
        db->m_waitStart = now;
        db->m_noticeGiven = false;
    }
    int64_t waited = now - db->m_waitStart;
    if (waited >= 1000 && !db->m_noticeGiven) {
        db->m_noticeGiven = true;
        if (db->m_notice)
            db->m_notice("waiting for " + db->m_path + ", which another program holds");
    }
    if (waited >= busyWaitSeconds() * 1000LL)
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(count < 10 ? 5 : 50));
    return 1;
}

void Database::requireWritable() const
{
    if (m_readOnly)
        throw ReadOnlyError("database " + m_path + " is read-only (no write permission for the file or its folder)");
}

void Database::create(const std::string& path)
{
    std::string reason;
    if (!createOwnerOnlyFile(path, reason))
        throw DatabaseError("cannot create database " + path + ": " + reason);
    Database db(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    db.execute("PRAGMA journal_mode=WAL");
    db.execute("BEGIN");
    db.execute(kSchema);
    db.prepare("INSERT INTO cfront_info(key, value) VALUES('format', ?)").bindBytes(0, kFormat).step();
    db.execute("COMMIT");
}

void Database::execute(const char* sql)
{
    char* message = nullptr;
    int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(m_db);
        sqlite3_free(message);
        if ((rc & 0xFF) == SQLITE_BUSY)
            throw BusyError("database busy: " + text);
        if ((rc & 0xFF) == SQLITE_READONLY)
            throw ReadOnlyError(text);
        throw DatabaseError("database access failed: " + text);
    }
}

void Database::checkSchema()
{
    std::string difference;
    try {
        difference = schemaDifference(schemaOf(m_db));
        if (difference.empty()) {
            Statement query(m_db, "SELECT value FROM cfront_info WHERE key = 'format'");
            if (!query.step() || query.bytes(0) != kFormat)
                difference = "format is not \"" + std::string(kFormat) + "\"";
        }
    } catch (const BusyError&) {
        throw;
    } catch (const DatabaseError& error) {
        throw DatabaseError(m_path + " is not a stand-in C/FRONT database (" + error.what() + ")");
    }
    if (!difference.empty())
        throw DatabaseError(m_path + " is not a stand-in C/FRONT database: " + difference);
}

} // namespace cfront
