#include "db/DbConnection.h"

#include "model/CodePage.h"

#include <cstdio>

bool credentialToAnsi(const std::string& utf8, const std::string& what, std::string& ansi, std::string& problem)
{
    std::string oem;
    char32_t missing = 0;
    if (!utf8ToOemExact(utf8, oemCodePage(), oem, &missing)) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(missing));
        problem = what + " holds the character " + code + ", which the OEM code page " +
                  std::to_string(static_cast<int>(oemCodePage())) + " of C/FRONT cannot hold";
        return false;
    }
    oemToAnsi(oem);
    ansi = oem;
    return true;
}

bool credentialsToAnsi(DatabaseConnection& connection, std::string& problem)
{
    return credentialToAnsi(connection.user, "the user name", connection.user, problem) &&
           credentialToAnsi(connection.password, "the password", connection.password, problem);
}
