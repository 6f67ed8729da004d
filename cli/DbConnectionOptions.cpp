#include "cli/DbConnectionOptions.h"

#include "db/PasswordPrompt.h"
#include "db/ProgramPath.h"

#include <cstdlib>
#include <unistd.h>

DbConnectionOptions::DbConnectionOptions(std::string suffix) : m_suffix(std::move(suffix))
{
    m_connection.netType = "tcp";
    m_connection.programPath = defaultProgramPath();
}

bool DbConnectionOptions::take(const std::string& option, const std::string& value, std::string& problem)
{
    const std::string name = option.size() > m_suffix.size() &&
                                     option.compare(option.size() - m_suffix.size(), m_suffix.size(), m_suffix) == 0
                                 ? option.substr(0, option.size() - m_suffix.size())
                                 : std::string();
    if (name == "--server") {
        m_connection.server = value;
    } else if (name == "--net") {
        if (value != "tcp" && value != "netb" && value != "lokal")
            problem = "unknown option " + option + " " + value;
        m_connection.netType = value;
    } else if (name == "--program-path") {
        m_connection.programPath = value;
    } else if (name == "--user") {
        m_connection.user = value;
    } else if (name == "--license" || name == "--licence") {
        m_connection.licenceFile = value;
    } else {
        return false;
    }
    return problem.empty();
}

std::string DbConnectionOptions::missing() const
{
    return m_connection.server.empty() ? "--server" + m_suffix + " is missing" : "";
}

bool DbConnectionOptions::finish(std::string& problem)
{
    m_connection.password.clear();
    const std::string variable = "QUELLIX_DB" + m_suffix + "_PASSWORD";
    const std::string prompt = m_suffix.empty() ? "Password: " : "Password for database " + m_suffix + ": ";
    if (const char* fromEnvironment = std::getenv(variable.c_str()))
        m_connection.password = fromEnvironment;
    else if (isatty(STDIN_FILENO) != 0 && !readPassword(prompt, m_connection.password))
        m_connection.password.clear();
    return credentialsToAnsi(m_connection, problem);
}
