#include "store/Records.h"

#include "store/DateTimeCodec.h"
#include "store/System.h"

#include <cerrno>
#include <sodium.h>
#include <stdexcept>

namespace cfront {
namespace {

// A hash of a random password no one knows, with the interactive limits, for unknown users.
const char* const kNoUserHash =
    "$argon2id$v=19$m=65536,t=2,p=1$uFfWgOVc+ehdgxTHVy9XHg$cHS4GiM42vKlKS7Rq4hHiH5Tf38l5auGkgJ2/fhDMEA";

void initialiseSodium()
{
    if (sodium_init() < 0)
        throw DatabaseError("libsodium cannot be initialised");
}

// The number after key= in the parameter part of a hash text ("m=65536,t=2,p=1"), or -1.
long long hashParameter(std::string_view parameters, std::string_view key)
{
    for (size_t pos = 0; pos < parameters.size();) {
        size_t comma = parameters.find(',', pos);
        std::string_view item = parameters.substr(pos, comma == std::string_view::npos ? comma : comma - pos);
        if (item.size() > key.size() + 1 && item.substr(0, key.size()) == key && item[key.size()] == '=') {
            long long value = 0;
            for (char c : item.substr(key.size() + 1)) {
                if (c < '0' || c > '9' || value > 1000000000000LL)
                    return -1;
                value = value * 10 + (c - '0');
            }
            return value;
        }
        pos = comma == std::string_view::npos ? parameters.size() : comma + 1;
    }
    return -1;
}

// Refuses a stored hash that is not Argon2id or whose costs lie outside libsodium's limits from
// the minimum to "sensitive", before libsodium spends them.
void checkStoredHash(std::string_view name, std::string_view hash)
{
    const std::string_view prefix = "$argon2id$v=19$";
    std::string_view rest = hash.substr(0, prefix.size()) == prefix ? hash.substr(prefix.size()) : std::string_view();
    std::string_view parameters = rest.substr(0, rest.find('$'));
    long long memoryKiB = hashParameter(parameters, "m"), passes = hashParameter(parameters, "t"),
              lanes = hashParameter(parameters, "p");
    bool ok = memoryKiB >= static_cast<long long>(crypto_pwhash_MEMLIMIT_MIN / 1024) &&
              memoryKiB <= static_cast<long long>(crypto_pwhash_MEMLIMIT_SENSITIVE / 1024) &&
              passes >= static_cast<long long>(crypto_pwhash_OPSLIMIT_MIN) &&
              passes <= static_cast<long long>(crypto_pwhash_OPSLIMIT_SENSITIVE) && lanes == 1 &&
              hash.size() < crypto_pwhash_STRBYTES;
    if (!ok)
        throw DatabaseError("the stored password hash of user \"" + std::string(name) +
                            "\" is not an Argon2id hash within libsodium's cost limits; refused");
}

bool passwordMatches(std::string_view hash, std::string_view password)
{
    std::string text(hash); // zero-terminated for libsodium
    return crypto_pwhash_str_verify(text.c_str(), password.data(), password.size()) == 0;
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

bool userExists(Database& db, std::string_view name)
{
    for (const std::string& existing : listUsers(db)) {
        if (sameUserName(existing, name))
            return true;
    }
    return false;
}

void addUser(Database& db, std::string_view name, std::string_view password, bool replace)
{
    db.requireWritable();
    if (password.empty())
        throw std::invalid_argument("the password is empty");
    initialiseSodium();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw DatabaseError("not enough memory to hash the password");
    db.execute("BEGIN IMMEDIATE");
    try {
        for (const std::string& existing : listUsers(db)) {
            if (!sameUserName(existing, name))
                continue;
            if (!replace)
                throw std::invalid_argument("user \"" + existing + "\" exists");
            db.prepare("DELETE FROM user WHERE name = ?").bindBytes(0, existing).step();
        }
        db.prepare("INSERT INTO user(name, hash) VALUES(?, ?)").bindBytes(0, name).bindBytes(1, hash).step();
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
    initialiseSodium();
    Statement query = db.prepare("SELECT name, hash FROM user");
    bool anyUser = false;
    while (query.step()) {
        anyUser = true;
        if (sameUserName(query.bytes(0), name)) {
            std::string hash = query.bytes(1);
            checkStoredHash(query.bytes(0), hash);
            return passwordMatches(hash, password);
        }
    }
    if (anyUser)
        passwordMatches(kNoUserHash, password); // as long as a wrong password takes
    return !anyUser;
}

int64_t addSession(Database& db, std::string_view user, std::string_view host, int64_t pid,
                   const std::string* licence)
{
    if (db.readOnly())
        return 0;
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
