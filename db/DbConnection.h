#pragma once

#include <string>

// The six texts that identify one database, as the user types them; user and password in the
// ANSI bytes the session logs in with (see credentialsToAnsi).
struct DatabaseConnection {
    std::string server;      // server name, or the database name when netType is "lokal"
    std::string netType;     // "tcp", "netb" or "lokal"
    std::string licenceFile; // may be empty: then no licence file is set
    std::string user;
    std::string password;    // never stored in the settings
    std::string programPath; // Navision program folder, holding cfront/
};

// Turns a user name or password typed in UTF-8 into the ANSI bytes of the session, through the
// OEM code page C/FRONT works in. A character that page lacks is refused: mapped to "?" it would
// log in as another user or with another password. On a refusal, problem names what holds which
// character ("the password holds the character U+043F, which the OEM code page 850 of C/FRONT
// cannot hold") and ansi is unchanged.
bool credentialToAnsi(const std::string& utf8, const std::string& what, std::string& ansi, std::string& problem);

// Both credentials of a connection whose user and password are still UTF-8 ("the user name",
// "the password" in the problem).
bool credentialsToAnsi(DatabaseConnection& connection, std::string& problem);
