#include "db/StandInFolder.h"

#include "db/CFrontLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <csignal>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Lines joined with CR LF.
std::string crlf(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

} // namespace

StandInFolder::StandInFolder()
{
    char pattern[] = "/tmp/quellix-db-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot create a temporary folder");
    m_folder = pattern;
    fs::create_directory(m_folder + "/cfront");
    fs::copy_file(QUELLIX_BINARY_DIR "/cfront/cfront.so", m_folder + "/cfront/cfront.so");
}

StandInFolder::~StandInFolder()
{
    CFrontLibrary::instance().Unload();
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
}

void StandInFolder::writeFile(const std::string& name, const std::string& bytes) const
{
    std::ofstream(file(name), std::ios::binary) << bytes;
}

int StandInFolder::admin(const std::vector<std::string>& args, std::string* output, const std::string& password,
                         std::string* errors) const
{
    std::string command = "CFRONT_DB_PASSWORD=" + shellQuoted(password) + " " QUELLIX_BINARY_DIR "/cfront/cfront-db";
    for (const std::string& arg : args)
        command += " " + shellQuoted(arg);
    const std::string errorFile = file("cfront-db.stderr");
    if (errors)
        command += " 2>" + shellQuoted(errorFile);
    FILE* pipe = popen((command + " </dev/null").c_str(), "r");
    if (!pipe)
        return -1;
    std::string text;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    int status = pclose(pipe);
    if (output)
        *output = text;
    if (errors) {
        std::ifstream stream(errorFile, std::ios::binary);
        errors->assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string StandInFolder::createDatabase(const std::string& name, const std::string& exportText) const
{
    std::string database = file(name);
    writeFile(name + ".txt", exportText);
    if (admin({"create", database}) != 0 || admin({"import", database, file(name + ".txt")}) != 0)
        throw std::runtime_error("cfront-db failed to create " + database);
    return database;
}

DatabaseConnection StandInFolder::localConnection(const std::string& database, const std::string& user,
                                                  const std::string& password) const
{
    return DatabaseConnection{database, "lokal", "", user, password, m_folder};
}

void* StandInFolder::exported(const char* name) const
{
    void* handle = dlopen(CFrontLibrary::libraryFilePath(m_folder).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return nullptr;
    void* address = dlsym(handle, name);
    dlclose(handle); // the binding still holds the library, so the address stays valid
    return address;
}

std::string StandInFolder::callTrace() const
{
    auto trace = reinterpret_cast<int32_t (*)(char*, int32_t)>(exported("cfront_call_trace"));
    char buffer[1024] = {};
    if (trace)
        trace(buffer, sizeof buffer);
    return buffer;
}

int StandInFolder::lastError(std::string* text) const
{
    auto lastError = reinterpret_cast<int32_t (*)(char*, int32_t)>(exported("cfront_last_error"));
    char buffer[1024] = {};
    int code = lastError ? lastError(buffer, sizeof buffer) : -1;
    if (text)
        *text = buffer;
    return code;
}

bool StandInFolder::libraryInMemory() const
{
    void* handle = dlopen(CFrontLibrary::libraryFilePath(m_folder).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

std::string sampleExport()
{
    return crlf({"OBJECT Table 18 Customer", "{", "  OBJECT-PROPERTIES", "  {", "    Date=14.07.03;",
                 "    Time=12:00:00;", "    Modified=Yes;", "    Version List=NAVW14.00;", "  }", "  PROPERTIES",
                 "  {", "  }", "}", "",
                 "OBJECT Form 21 Kunde \x9A" "bersicht \x84\x94\x81", "{", "  OBJECT-PROPERTIES", "  {",
                 "    Date=01.02.95;", "    Time=[ 9:30:05];", "    Version List=NAVW13.70,M\x84rz;", "  }",
                 "}", "",
                 "OBJECT Codeunit 80 Sales-Post", "{", "  OBJECT-PROPERTIES", "  {", "    Date=31.12.2029;",
                 "    Time=23:59:59;", "    Version List=;", "  }", "  CODE", "  {", "    Date=01.01.99;",
                 "  }", "}", "",
                 "OBJECT XMLport 6000 Export Items", "{", "  OBJECT-PROPERTIES", "  {", "    Date=29.02.04;",
                 "    Time=00:00:00;", "  }", "}", "",
                 "OBJECT MenuSuite 10 Navigation", "{", "  OBJECT-PROPERTIES", "  {", "    Date=01.01.05;",
                 "  }", "}"});
}

HeldSession::HeldSession(const std::string& database, const std::string& user, std::vector<std::string> options)
{
    // Everything the child needs is made before fork: the parent may run other threads.
    std::vector<std::string> args{QUELLIX_BINARY_DIR "/cfront/cfront-db", "session", database, user};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int output[2];
    if (pipe(output) != 0)
        return;
    m_pid = fork();
    if (m_pid == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(output[1]);
    char c = 0;
    while (read(output[0], &c, 1) == 1 && c != '\n')
        m_announced += c; // "session <ID>" once the row is there
    close(output[0]);
}

void HeldSession::end()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
}

void runSql(const std::string& database, const std::string& sql)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    char* message = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    std::string text = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error("SQL on " + database + " failed: " + text);
}

std::string largeExport(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "OBJECT Codeunit " + std::to_string(i) + " Posting routine number " + std::to_string(i) +
                "\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n    Date=14.07.03;\r\n    Time=12:00:00;\r\n"
                "    Version List=NAVW14.00;\r\n  }\r\n}\r\n\r\n";
    }
    return text;
}
