#pragma once

#include "db/DbConnection.h"

#include <string>

// The command line's options of one database connection: --server, --net, --program-path,
// --user and --license (or --licence), each with the database's suffix ("" for the only one,
// "1" and "2" for db-compare). The password comes from QUELLIX_DB_PASSWORD (QUELLIX_DB1_PASSWORD
// ...) or, on a terminal, from a prompt.
class DbConnectionOptions {
public:
    explicit DbConnectionOptions(std::string suffix = "");

    // Takes option and its value when the option is one of this database's. False for another
    // option; false with problem set for a value it refuses (a net type other than tcp, netb,
    // lokal).
    bool take(const std::string& option, const std::string& value, std::string& problem);
    // After the last option: "--server is missing" (with the suffix), or "".
    std::string missing() const;
    // Reads the password and turns user name and password into the session's ANSI bytes; false
    // with problem when the OEM code page cannot hold one of their characters.
    bool finish(std::string& problem);

    const DatabaseConnection& connection() const { return m_connection; }

private:
    std::string m_suffix;
    DatabaseConnection m_connection; // user and password in UTF-8 until finish
};
