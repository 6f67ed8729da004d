#pragma once

#include "store/Database.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Writing and listing the rows of a stand-in database: objects, users and sessions.
namespace cfront {

// One row of the Object table; name and version in the OEM code page.
struct ObjectRow {
    int32_t type = 0;
    int32_t id = 0;
    std::string name;
    int32_t flag = 0;
    int32_t dbmTable = 0;
    int32_t date = 0;
    int32_t time = 0;
    std::string version;
};

// Adds the object, replacing one with the same type and id.
void putObject(Database& db, const ObjectRow& object);
// Sets the object's date and time; false when there is no such object.
bool touchObject(Database& db, int32_t type, int32_t id, int32_t date, int32_t time);
std::vector<ObjectRow> listObjects(Database& db);

// Adds a user (or sets a new password for an existing one); the password is kept only as a
// salted, iterated SHA-256 hash. User names compare case-insensitively in ASCII.
void addUser(Database& db, std::string_view name, std::string_view password);
std::vector<std::string> listUsers(Database& db);
// True when name and password match a user, or when the database has no users.
bool loginAccepted(Database& db, std::string_view name, std::string_view password);

// One row of the Session table; user holds the login kind character before the name.
struct SessionRow {
    int64_t id = 0;
    std::string user;
    int32_t loginDate = 0;
    int32_t loginTime = 0;
    int64_t found = 0;
    int64_t searched = 0;
    std::string host;
    int64_t pid = 0;
    std::string licence;
};

// The character before the user name in the Session table: 'D', a database login.
constexpr char kDatabaseLoginKind = 'D';

// Adds a session row for a login now and returns its session ID.
int64_t addSession(Database& db, std::string_view user, std::string_view host, int64_t pid,
                   const std::string* licence);
void removeSession(Database& db, int64_t id);
void setSessionCounters(Database& db, int64_t id, int64_t found, int64_t searched);
// Removes the sessions of this host whose process no longer runs (a program that ended
// without shutting down).
void removeStaleSessions(Database& db, std::string_view host);
std::vector<SessionRow> listSessions(Database& db);

} // namespace cfront
