// cfront-db: creates and fills the SQLite databases of the stand-in C/FRONT library.
#include "admin/AdminArguments.h"
#include "admin/ExportImport.h"
#include "admin/SessionHold.h"
#include "db/PasswordPrompt.h"
#include "model/CodePage.h"
#include "model/Console.h"
#include "model/FileAccess.h"
#include "QuellixVersion.h"
#include "store/DateTimeCodec.h"
#include "store/Records.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <unistd.h>

using namespace cfront;

namespace {

const char* const kUsage =
    "usage: cfront-db [--oem 850|437] COMMAND DATABASE [ARGS...]\n"
    "       cfront-db --help | --version\n"
    "  create DATABASE             create an empty database file\n"
    "  import DATABASE EXPORT [--date-order dmy|mdy|ymd] [--lenient]\n"
    "                              add the objects of an object text export (OEM code page);\n"
    "                              without --date-order the file's dates decide it; --lenient\n"
    "                              stores unreadable dates and times as undefined\n"
    "  add-user DATABASE USER [--replace]\n"
    "                              add a user; the password (not empty) comes from\n"
    "                              CFRONT_DB_PASSWORD, a prompt, or one line of standard input;\n"
    "                              an existing user's password is replaced after a question on\n"
    "                              the terminal, or with --replace\n"
    "  set DATABASE TYPE ID [--date D] [--time T] [--name N] [--version V]\n"
    "                              add or change an object; D as YYYY-MM-DD or D.M.YYYY, T as\n"
    "                              H:M:S, both local time; \"\" makes a date or time undefined\n"
    "  delete DATABASE TYPE ID     remove an object\n"
    "  touch DATABASE TYPE ID      set an object's date and time to now\n"
    "  session DATABASE USER --hold SECONDS [--reads N] [--inserts N] [--deletes N] [--modifies N]\n"
    "                              keep a session logged in while its counters rise to N\n"
    "  objects DATABASE            list the Object table\n"
    "  sessions DATABASE           list the sessions logged in\n"
    "  users DATABASE              list the users\n"
    "TYPE is a type word (Table, Form, Report, Dataport, Codeunit, XMLport, MenuSuite, Page, Query)\n"
    "or its code 1..9; numbers are whole decimal numbers.\n";

// Text of the database (OEM bytes) as UTF-8.
std::string oemToUtf8(std::string text)
{
    oemToAnsi(text);
    return ansiToUtf8ViaOem(text, oemCodePage());
}

// Said once a command has waited a second for a database another program holds.
void waitNotice(const std::string& text)
{
    std::cerr << "cfront-db: " << text << "\n";
}

int32_t objectNumber(const std::string& text)
{
    return static_cast<int32_t>(parseWholeNumber(text, 0, INT32_MAX, "the object number"));
}

int importExport(Database& db, const CommandArguments& a)
{
    ImportOptions options;
    if (const std::string* order = a.value("--date-order")) {
        options.dateOrder = dateOrderNamed(*order);
        if (!options.dateOrder)
            throw UsageError("--date-order takes dmy, mdy or ymd, not \"" + *order + "\"");
    }
    options.lenient = a.has("--lenient");
    db.requireWritable();
    int32_t todayTime = 0;
    localDateTime(currentStamp(), options.today, todayTime);
    const std::string& path = a.positional[2];
    std::ifstream file(fileSystemPath(path), std::ios::binary);
    std::error_code error;
    if (!file || std::filesystem::is_directory(fileSystemPath(path), error)) {
        std::cerr << "cfront-db: cannot read " << path << "\n";
        return 1;
    }
    // A failed read throws, so an allocation failure inside it reaches the caller as itself.
    file.exceptions(std::ios::badbit);
    db.execute("BEGIN IMMEDIATE");
    ExportReading reading;
    try {
        reading = importExport(file, options, [&db](const ObjectRow& row) { putObject(db, row); });
    } catch (const std::ios_base::failure&) {
        db.execute("ROLLBACK");
        std::cerr << "cfront-db: cannot read " << path << "\n";
        return 1;
    }
    for (const std::string& warning : reading.warnings)
        std::cerr << path << ": " << warning << "\n";
    if (!reading.undecidedOrder.empty()) {
        db.execute("ROLLBACK");
        std::cerr << "cfront-db: " << path << ": " << reading.undecidedOrder << "\n";
        return 1;
    }
    if (reading.unreadableCount != 0 && !options.lenient) {
        db.execute("ROLLBACK");
        for (const std::string& line : reading.unreadable)
            std::cerr << path << ": " << oemToUtf8(line) << "\n";
        if (reading.unreadable.size() < reading.unreadableCount)
            std::cerr << path << ": " << reading.unreadableCount - reading.unreadable.size() << " more\n";
        std::cerr << "cfront-db: nothing imported; " << reading.unreadableCount
                  << " dates or times cannot be read (--lenient stores them as undefined)\n";
        return 1;
    }
    if (reading.unreadableCount != 0)
        std::cerr << "cfront-db: " << path << ": " << reading.unreadableCount
                  << " dates or times could not be read and are stored as undefined\n";
    db.execute("COMMIT");
    std::cout << reading.objects << " objects imported\n";
    return 0;
}

bool confirmed(const std::string& question)
{
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    return std::getline(std::cin, answer) && (answer == "y" || answer == "Y" || answer == "yes");
}

int addUserCommand(Database& db, const CommandArguments& a)
{
    db.requireWritable();
    const std::string& name = a.positional[2];
    std::string user = utf8ToOemText(name, "the user name");
    if (user.empty())
        throw UsageError("the user name is empty");
    bool replace = a.has("--replace");
    if (!replace && userExists(db, user)) {
        if (isatty(STDIN_FILENO) == 0) {
            std::cerr << "cfront-db: user " << name << " exists; nothing changed (--replace sets a new password)\n";
            return 1;
        }
        if (!confirmed("User " + name + " exists. Replace its password?")) {
            std::cerr << "cfront-db: nothing changed\n";
            return 1;
        }
        replace = true;
    }
    std::string password;
    if (const char* fromEnvironment = std::getenv("CFRONT_DB_PASSWORD"))
        password = fromEnvironment;
    else if (!readPassword("Password for " + name + ": ", password))
        password.clear();
    std::string oemPassword = utf8ToOemText(password, "the password");
    if (oemPassword.empty()) {
        std::cerr << "cfront-db: the password is empty; nothing changed\n";
        return 1;
    }
    addUser(db, user, oemPassword, replace);
    return 0;
}

int32_t dateArgument(const std::string& text)
{
    int32_t date = 0;
    if (text.empty() || textToDate(text, date) || parseDayMonthYear(text, date))
        return date;
    throw UsageError("not a date (YYYY-MM-DD or D.M.YYYY): \"" + text + "\"");
}

int32_t timeArgument(const std::string& text)
{
    int32_t time = 0;
    if (text.empty() || parseHoursMinutesSeconds(text, time))
        return time;
    throw UsageError("not a time of day (H:M:S): \"" + text + "\"");
}

// A date and time given as local time are kept as the moment they name; a date or time left
// undefined leaves the other as a zone-less value.
int setCommand(Database& db, const CommandArguments& a)
{
    db.requireWritable();
    int32_t type = parseObjectType(a.positional[2]), id = objectNumber(a.positional[3]);
    const std::string *date = a.value("--date"), *time = a.value("--time");
    int32_t newDate = date ? dateArgument(*date) : 0, newTime = time ? timeArgument(*time) : 0;
    ObjectRow row;
    if (std::optional<ObjectRow> existing = findObject(db, type, id))
        row = *existing;
    else
        row = ObjectRow{type, id, "", 0, type == 1 ? id : 0, 0, 0, "", std::nullopt};
    if (const std::string* name = a.value("--name"))
        row.name = utf8ToOemText(*name, "the name");
    if (const std::string* version = a.value("--version"))
        row.version = utf8ToOemText(*version, "the version list");
    if (date || time) {
        row.date = date ? newDate : row.date;
        row.time = time ? newTime : row.time;
        row.stamp.reset();
        if (row.date != 0 && row.time != 0)
            row.stamp = localStamp(row.date, row.time);
    }
    putObject(db, row);
    return 0;
}

int deleteCommand(Database& db, const CommandArguments& a)
{
    db.requireWritable();
    int32_t type = parseObjectType(a.positional[2]), id = objectNumber(a.positional[3]);
    if (deleteObject(db, type, id))
        return 0;
    std::cerr << "cfront-db: no object " << objectTypeWord(type) << " " << id << "\n";
    return 1;
}

int touchCommand(Database& db, const CommandArguments& a)
{
    db.requireWritable();
    int32_t type = parseObjectType(a.positional[2]), id = objectNumber(a.positional[3]);
    if (touchObject(db, type, id, currentStamp()))
        return 0;
    std::cerr << "cfront-db: no object " << objectTypeWord(type) << " " << id << "\n";
    return 1;
}

int sessionCommand(Database& db, const CommandArguments& a)
{
    db.requireWritable();
    const std::string* hold = a.value("--hold");
    if (!hold)
        throw UsageError("--hold SECONDS is missing");
    auto counter = [&](const char* option) {
        const std::string* text = a.value(option);
        return text ? parseWholeNumber(*text, 0, INT32_MAX, option) : 0;
    };
    SessionCounters target{counter("--reads"), counter("--reads"), counter("--inserts"), counter("--deletes"),
                           counter("--modifies")};
    return holdSession(db, utf8ToOemText(a.positional[2], "the user name"),
                       parseWholeNumber(*hold, 0, 86400, "--hold"), target);
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
    std::cout << "SessionID\tUser\tLogin Date\tLogin Time\tfound Records\tsearched Records\tHost\tPID\t"
                 "inserted Records\tdeleted Records\tmodified Records\n";
    for (const SessionRow& s : listSessions(db)) {
        std::cout << s.id << '\t' << oemToUtf8(s.user.empty() ? s.user : s.user.substr(1)) << '\t'
                  << dateToText(s.loginDate) << '\t' << timeToText(s.loginTime) << '\t' << s.found << '\t'
                  << s.searched << '\t' << s.host << '\t' << s.pid << '\t' << s.inserted << '\t' << s.deleted
                  << '\t' << s.modified << "\n";
    }
    return 0;
}

int runCommand(const std::vector<std::string>& args)
{
    const std::string& command = args[0];
    if (command == "create") {
        splitArguments(args, {}, {}, 2, 2);
        Database::create(args[1]);
        return 0;
    }
    if (command == "set") {
        CommandArguments a = splitArguments(args, {"--date", "--time", "--name", "--version"}, {}, 4, 4);
        Database db(a.positional[1], waitNotice);
        return setCommand(db, a);
    }
    if (command == "import") {
        CommandArguments a = splitArguments(args, {"--date-order"}, {"--lenient"}, 3, 3);
        Database db(a.positional[1], waitNotice);
        return importExport(db, a);
    }
    if (command == "add-user") {
        CommandArguments a = splitArguments(args, {}, {"--replace"}, 3, 3);
        Database db(a.positional[1], waitNotice);
        return addUserCommand(db, a);
    }
    if (command == "session") {
        CommandArguments a =
            splitArguments(args, {"--hold", "--reads", "--inserts", "--deletes", "--modifies"}, {}, 3, 3);
        Database db(a.positional[1], waitNotice);
        return sessionCommand(db, a);
    }
    CommandArguments a = splitArguments(args, {}, {}, 2, 4);
    const size_t count = a.positional.size();
    Database db(a.positional[1], waitNotice);
    if (command == "delete" && count == 4)
        return deleteCommand(db, a);
    if (command == "touch" && count == 4)
        return touchCommand(db, a);
    if (command == "objects" && count == 2)
        return listObjectsCommand(db);
    if (command == "sessions" && count == 2)
        return listSessionsCommand(db);
    if (command == "users" && count == 2) {
        for (const std::string& user : listUsers(db))
            std::cout << oemToUtf8(user) << "\n";
        return 0;
    }
    throw UsageError("wrong number of arguments");
}

// status, or 1 with one line when what went to stdout cannot be written (a full disk, a closed pipe).
int written(int status)
{
    if (std::cout.flush())
        return status;
    std::cerr << "cfront-db: cannot write the output\n";
    return 1;
}

int runAdmin(int argc, char** argv)
{
    std::vector<std::string> args = consoleArguments(argc, argv);
    if (!args.empty())
        args.erase(args.begin());
    if (args.size() == 1 && (args[0] == "--version" || args[0] == "--help" || args[0] == "-h")) {
        std::cout << (args[0] == "--version" ? "cfront-db " QUELLIX_VERSION "\n" : kUsage);
        return written(0);
    }
    if (!args.empty() && args[0] == "--oem") {
        if (args.size() < 2 || (args[1] != "850" && args[1] != "437")) {
            std::cerr << "cfront-db: --oem takes 850 or 437\n" << kUsage;
            return 2;
        }
        setOemCodePage(args[1] == "437" ? OemCodePage::CP437 : OemCodePage::CP850);
        args.erase(args.begin(), args.begin() + 2);
    }
    static const char* const commands[] = {"create", "import",  "add-user", "set",   "delete", "touch",
                                           "session", "objects", "sessions", "users"};
    bool known = false;
    for (const char* c : commands)
        known = known || (!args.empty() && args[0] == c);
    if (!known || args.size() < 2) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        return written(runCommand(args));
    } catch (const UsageError& e) {
        std::cerr << "cfront-db: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        std::cerr << "cfront-db: " << e.what() << "\n";
        return 1;
    }
}

} // namespace

// Out of memory anywhere ends the command with one line instead of an abort.
int main(int argc, char** argv)
{
    try {
        return runAdmin(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("cfront-db: not enough memory\n", stderr);
    }
    return 1;
}
