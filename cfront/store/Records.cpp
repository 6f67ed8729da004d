#include "store/Records.h"

#include "store/DateTimeCodec.h"
#include "store/Sha256.h"

#include <cerrno>
#include <random>
#include <signal.h>

namespace cfront {
namespace {

const int64_t kHashRounds = 4096;

std::string hashPassword(std::string_view salt, std::string_view password, int64_t rounds)
{
    Sha256 first;
    first.update(salt);
    first.update(password);
    Sha256Digest digest = first.finish();
    for (int64_t i = 1; i < rounds; ++i) {
        Sha256 next;
        next.update(salt);
        next.update(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
        digest = next.finish();
    }
    return std::string(reinterpret_cast<const char*>(digest.data()), digest.size());
}

std::string randomSalt()
{
    std::random_device device;
    std::string salt(16, '\0');
    for (char& c : salt)
        c = static_cast<char>(device() & 0xFF);
    return salt;
}

bool sameUserName(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Constant-time comparison, so a refused login tells nothing about the hash.
bool sameHash(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

bool processGone(int64_t pid)
{
    return pid > 0 && kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH;
}

} // namespace

void putObject(Database& db, const ObjectRow& o)
{
    int32_t date = o.date, time = o.time;
    if (o.stamp)
        utcDateTime(*o.stamp, date, time);
    Statement insert = db.prepare("INSERT OR REPLACE INTO object(type, id, name, flag, dbm_table, date, time, "
                                  "stamp, version) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.bind(0, o.type).bind(1, o.id).bindBytes(2, o.name).bind(3, o.flag).bind(4, o.dbmTable);
    insert.bind(5, date).bind(6, time).bindBytes(8, o.version);
    if (o.stamp)
        insert.bind(7, *o.stamp);
    insert.step();
}

bool touchObject(Database& db, int32_t type, int32_t id, int64_t stamp)
{
    std::optional<ObjectRow> object = findObject(db, type, id);
    if (!object)
        return false;
    object->stamp = stamp;
    putObject(db, *object);
    return true;
}

bool deleteObject(Database& db, int32_t type, int32_t id)
{
    db.prepare("DELETE FROM object WHERE type = ? AND id = ?").bind(0, type).bind(1, id).step();
    Statement changed = db.prepare("SELECT changes()");
    return changed.step() && changed.integer(0) > 0;
}

namespace {

std::vector<ObjectRow> queryObjects(Database& db, const std::string& where, int32_t type = 0, int32_t id = 0)
{
    Statement query = db.prepare("SELECT type, id, name, flag, dbm_table, " + localDateSql("stamp", "date") + ", " +
                                 localTimeSql("stamp", "time") + ", version, stamp FROM object " + where +
                                 " ORDER BY type, id");
    if (!where.empty())
        query.bind(0, type).bind(1, id);
    std::vector<ObjectRow> rows;
    while (query.step()) {
        rows.push_back({static_cast<int32_t>(query.integer(0)), static_cast<int32_t>(query.integer(1)),
                        query.bytes(2), static_cast<int32_t>(query.integer(3)),
                        static_cast<int32_t>(query.integer(4)), static_cast<int32_t>(query.integer(5)),
                        static_cast<int32_t>(query.integer(6)), query.bytes(7), std::nullopt});
        if (!query.isNull(8))
            rows.back().stamp = query.integer(8);
    }
    return rows;
}

} // namespace

std::vector<ObjectRow> listObjects(Database& db)
{
    return queryObjects(db, "");
}

std::optional<ObjectRow> findObject(Database& db, int32_t type, int32_t id)
{
    std::vector<ObjectRow> rows = queryObjects(db, "WHERE type = ? AND id = ?", type, id);
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

void addUser(Database& db, std::string_view name, std::string_view password)
{
    std::string salt = randomSalt();
    db.execute("BEGIN IMMEDIATE");
    try {
        for (const std::string& existing : listUsers(db)) {
            if (sameUserName(existing, name))
                db.prepare("DELETE FROM user WHERE name = ?").bindBytes(0, existing).step();
        }
        db.prepare("INSERT INTO user(name, salt, hash, rounds) VALUES(?, ?, ?, ?)")
            .bindBytes(0, name).bindBytes(1, salt).bindBytes(2, hashPassword(salt, password, kHashRounds))
            .bind(3, kHashRounds).step();
    } catch (...) {
        db.execute("ROLLBACK");
        throw;
    }
    db.execute("COMMIT");
}

std::vector<std::string> listUsers(Database& db)
{
    Statement query = db.prepare("SELECT name FROM user ORDER BY name");
    std::vector<std::string> names;
    while (query.step())
        names.push_back(query.bytes(0));
    return names;
}

bool loginAccepted(Database& db, std::string_view name, std::string_view password)
{
    Statement query = db.prepare("SELECT name, salt, hash, rounds FROM user");
    bool anyUser = false;
    while (query.step()) {
        anyUser = true;
        if (sameUserName(query.bytes(0), name))
            return sameHash(hashPassword(query.bytes(1), password, query.integer(3)), query.bytes(2));
    }
    return !anyUser;
}

int64_t addSession(Database& db, std::string_view user, std::string_view host, int64_t pid,
                   const std::string* licence)
{
    Statement insert = db.prepare("INSERT INTO session(user, login_stamp, host, pid, licence) "
                                  "VALUES(?, ?, ?, ?, ?)");
    insert.bindBytes(0, kDatabaseLoginKind + std::string(user)).bind(1, currentStamp());
    insert.bindBytes(2, host).bind(3, pid);
    if (licence)
        insert.bindBytes(4, *licence);
    insert.step();
    Statement id = db.prepare("SELECT last_insert_rowid()");
    id.step();
    return id.integer(0);
}

void removeSession(Database& db, int64_t id)
{
    db.prepare("DELETE FROM session WHERE id = ?").bind(0, id).step();
}

void setSessionCounters(Database& db, int64_t id, const SessionCounters& c)
{
    db.prepare("UPDATE session SET found = ?, searched = ?, inserted = ?, deleted = ?, modified = ? WHERE id = ?")
        .bind(0, c.found).bind(1, c.searched).bind(2, c.inserted).bind(3, c.deleted).bind(4, c.modified)
        .bind(5, id).step();
}

void removeStaleSessions(Database& db, std::string_view host)
{
    for (const SessionRow& session : listSessions(db)) {
        if (session.host == host && processGone(session.pid))
            removeSession(db, session.id);
    }
}

std::vector<SessionRow> listSessions(Database& db)
{
    Statement query = db.prepare("SELECT id, user, " + localDateSql("login_stamp", "0") + ", " +
                                 localTimeSql("login_stamp", "0") + ", found, searched, inserted, deleted, "
                                 "modified, host, pid, licence FROM session ORDER BY id");
    std::vector<SessionRow> rows;
    while (query.step()) {
        rows.push_back({query.integer(0), query.bytes(1), static_cast<int32_t>(query.integer(2)),
                        static_cast<int32_t>(query.integer(3)), query.integer(4), query.integer(5),
                        query.integer(6), query.integer(7), query.integer(8), query.bytes(9), query.integer(10),
                        query.bytes(11)});
    }
    return rows;
}

} // namespace cfront
