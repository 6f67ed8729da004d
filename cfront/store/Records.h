#pragma once

#include "store/Database.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Writing and listing the rows of a stand-in database: objects, users and sessions.
namespace cfront {

// One row of the Object table; name and version in the OEM code page. Date and time are
// zone-less values as an export writes them, unless stamp is set: then the object was changed
// at that moment, and date and time (as listed) are its local date and time.
struct ObjectRow {
    int32_t type = 0;
    int32_t id = 0;
    std::string name;
    int32_t flag = 0;
    int32_t dbmTable = 0;
    int32_t date = 0;
    int32_t time = 0;
    std::string version;
    std::optional<int64_t> stamp;
};

// Adds the object, replacing one with the same type and id. With a stamp, the date and time
// stored are the stamp's UTC date and time; without, date and time as they stand.
void putObject(Database& db, const ObjectRow& object);
// Stamps the object as changed at stamp; false when there is no such object.
bool touchObject(Database& db, int32_t type, int32_t id, int64_t stamp);
// Removes the object; false when there is no such object.
bool deleteObject(Database& db, int32_t type, int32_t id);
// The objects in key order, dates and times of stamped objects in local time.
std::vector<ObjectRow> listObjects(Database& db);
std::optional<ObjectRow> findObject(Database& db, int32_t type, int32_t id);

// Users: names and passwords in the OEM code page; names compare case-insensitively in ASCII.
// A password is kept only as its libsodium crypto_pwhash_str text (Argon2id with libsodium's
// interactive limits: a random salt and the cost parameters are part of that text).

// Whether a user of that name exists.
bool userExists(Database& db, std::string_view name);
// Adds a user, or with replace sets a new password for an existing one (the name as given then
// replaces the old spelling). Throws std::invalid_argument for an empty password, and for an
// existing user without replace.
void addUser(Database& db, std::string_view name, std::string_view password, bool replace);
std::vector<std::string> listUsers(Database& db);
// True when name and password match a user, or when the database has no users. An unknown name
// costs as much time as a wrong password (it is checked against a hash of no user). Throws
// DatabaseError when the user's stored hash is not one this program makes, or asks for a cost
// beyond libsodium's sensitive limits (such a file could hang every login).
bool loginAccepted(Database& db, std::string_view name, std::string_view password);

// One row of the Session table; user holds the login kind character before the name.
struct SessionRow {
    int64_t id = 0;
    std::string user;
    int32_t loginDate = 0; // local
    int32_t loginTime = 0; // local
    int64_t found = 0;
    int64_t searched = 0;
    int64_t inserted = 0;
    int64_t deleted = 0;
    int64_t modified = 0;
    std::string host;
    int64_t pid = 0;
    std::string licence;
};

// The character before the user name in the Session table: 'D', a database login.
constexpr char kDatabaseLoginKind = 'D';

// Adds a session row for a login now and returns its session ID; 0 (and no row) when the
// database is read-only.
int64_t addSession(Database& db, std::string_view user, std::string_view host, int64_t pid,
                   const std::string* licence);
void removeSession(Database& db, int64_t id);
// The record counters of a session (fields 10 to 14 of the Session table).
struct SessionCounters {
    int64_t found = 0;
    int64_t searched = 0;
    int64_t inserted = 0;
    int64_t deleted = 0;
    int64_t modified = 0;
};
void setSessionCounters(Database& db, int64_t id, const SessionCounters& counters);
// Removes the sessions of this host whose process no longer runs (a program that ended
// without shutting down).
void removeStaleSessions(Database& db, std::string_view host);
std::vector<SessionRow> listSessions(Database& db);

} // namespace cfront
