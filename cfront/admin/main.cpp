// cfront-db: creates and fills the SQLite databases of the stand-in C/FRONT library.
#include "admin/ExportImport.h"
#include "cli/PasswordPrompt.h"
#include "model/CodePage.h"
#include "store/DateTimeCodec.h"
#include "store/Records.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace cfront;

namespace {

const char* const kUsage =
    "usage: cfront-db [--oem 850|437] COMMAND DATABASE [ARGS...]\n"
    "  create DATABASE             create an empty database file\n"
    "  import DATABASE EXPORT      add the objects of an object text export (OEM code page)\n"
    "  add-user DATABASE USER      add a user or set a new password; the password comes from\n"
    "                              CFRONT_DB_PASSWORD, a prompt, or one line of standard input\n"
    "  touch DATABASE TYPE ID      set an object's date and time to now (TYPE: word or code)\n"
    "  objects DATABASE            list the Object table\n"
    "  sessions DATABASE           list the sessions logged in\n"
    "  users DATABASE              list the users\n";

// Text of the database (OEM bytes) as UTF-8.
std::string oemToUtf8(std::string text)
{
    oemToAnsi(text);
    return ansiToUtf8ViaOem(text, oemCodePage());
}

std::string ansiToUtf8(const std::string& text)
{
    return ansiToUtf8ViaOem(text, oemCodePage());
}

int importExport(Database& db, const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    if (!file || !(content << file.rdbuf())) {
        std::cerr << "cfront-db: cannot read " << path << "\n";
        return 1;
    }
    std::vector<std::string> warnings;
    std::vector<ObjectRow> objects = readExportObjects(content.str(), warnings);
    for (const std::string& warning : warnings)
        std::cerr << path << ": " << warning << "\n";
    db.execute("BEGIN IMMEDIATE");
    for (const ObjectRow& object : objects)
        putObject(db, object);
    db.execute("COMMIT");
    std::cout << objects.size() << " objects imported\n";
    return 0;
}

int addUserCommand(Database& db, const std::string& user)
{
    std::string password;
    if (const char* fromEnvironment = std::getenv("CFRONT_DB_PASSWORD"))
        password = fromEnvironment;
    else if (!readPassword("Password for " + user + ": ", password))
        password.clear();
    addUser(db, utf8ToAnsiViaOem(user, oemCodePage()), utf8ToAnsiViaOem(password, oemCodePage()));
    return 0;
}

int touchCommand(Database& db, const std::string& typeText, const std::string& idText)
{
    int32_t type = objectTypeCode(typeText), id = 0;
    if (type == 0)
        std::from_chars(typeText.data(), typeText.data() + typeText.size(), type);
    auto [end, error] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (error != std::errc() || end != idText.data() + idText.size()) {
        std::cerr << "cfront-db: not an object number: " << idText << "\n";
        return 2;
    }
    int32_t date = 0, time = 0;
    currentDateTime(date, time);
    if (!touchObject(db, type, id, date, time)) {
        std::cerr << "cfront-db: no object " << typeText << " " << id << "\n";
        return 1;
    }
    return 0;
}

int listObjectsCommand(Database& db)
{
    std::cout << "Type\tID\tName\tVersion\tDate\tTime\tModified\n";
    for (const ObjectRow& o : listObjects(db)) {
        std::string type = *objectTypeWord(o.type) ? objectTypeWord(o.type) : std::to_string(o.type);
        std::cout << type << '\t' << o.id << '\t' << oemToUtf8(o.name) << '\t' << oemToUtf8(o.version) << '\t'
                  << dateToText(o.date) << '\t' << timeToText(o.time) << '\t' << (o.flag ? "Yes" : "No") << "\n";
    }
    return 0;
}

int listSessionsCommand(Database& db)
{
    std::cout << "SessionID\tUser\tLogin Date\tLogin Time\tfound Records\tsearched Records\tHost\tPID\n";
    for (const SessionRow& s : listSessions(db)) {
        std::cout << s.id << '\t' << ansiToUtf8(s.user.empty() ? s.user : s.user.substr(1)) << '\t'
                  << dateToText(s.loginDate) << '\t' << timeToText(s.loginTime) << '\t' << s.found << '\t'
                  << s.searched << '\t' << s.host << '\t' << s.pid << "\n";
    }
    return 0;
}

int runCommand(const std::vector<std::string>& a)
{
    const std::string& command = a[0];
    if (command == "create" && a.size() == 2) {
        Database::create(a[1]);
        return 0;
    }
    Database db(a[1]);
    if (command == "import" && a.size() == 3)
        return importExport(db, a[2]);
    if (command == "add-user" && a.size() == 3)
        return addUserCommand(db, a[2]);
    if (command == "touch" && a.size() == 4)
        return touchCommand(db, a[2], a[3]);
    if (command == "objects" && a.size() == 2)
        return listObjectsCommand(db);
    if (command == "sessions" && a.size() == 2)
        return listSessionsCommand(db);
    if (command == "users" && a.size() == 2) {
        for (const std::string& user : listUsers(db))
            std::cout << ansiToUtf8(user) << "\n";
        return 0;
    }
    std::cerr << kUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--oem") {
        setOemCodePage(args[1] == "437" ? OemCodePage::CP437 : OemCodePage::CP850);
        args.erase(args.begin(), args.begin() + 2);
    }
    static const char* const commands[] = {"create", "import", "add-user", "touch", "objects", "sessions", "users"};
    bool known = false;
    for (const char* c : commands)
        known = known || (!args.empty() && args[0] == c);
    if (!known || args.size() < 2) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        return runCommand(args);
    } catch (const std::exception& e) {
        std::cerr << "cfront-db: " << e.what() << "\n";
        return 1;
    }
}
