#include "db/CFrontLibrary.h"
#include "db/DatabaseSession.h"
#include "db/StandInFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The users of the Session table as the loaded library delivers them (with their login kind).
std::set<std::string> sessionUsers()
{
    CFrontLibrary& library = CFrontLibrary::instance();
    cfront_table* table = library.openTable(CFRONT_TABLE_SESSION);
    cfront_record* record = library.newRecord(table);
    std::set<std::string> users;
    if (library.findFirst(table, record)) {
        do {
            users.insert(library.fieldText(table, record, 2));
        } while (library.next(table, record) == 1);
    }
    library.freeRecord(record);
    library.closeTable(table);
    return users;
}

// Another program: logs in as user, reports through ready, waits for a byte on go and ends
// without logging out, as a program that crashes would.
pid_t startOtherProgram(const StandInFolder& folder, const std::string& database, int ready, int go)
{
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    CFrontLibrary& library = CFrontLibrary::instance();
    char result = library.Load(folder.programPath()) == 0 ? 1 : 0;
    library.openDatabase(database);
    result = result && library.login("OTHER", "") == 1;
    char ignored = 0;
    if (write(ready, &result, 1) != 1 || read(go, &ignored, 1) != 1)
        _exit(2);
    _exit(0);
}

class DatabaseSessionTest : public ::testing::Test {
protected:
    StandInFolder folder;
    MessageRecorder messages;
    std::ostringstream conversionLog;
    CDatabaseSession session{messages, conversionLog};
};

TEST_F(DatabaseSessionTest, ReadObjectTableReadsTypesOneToSixInKeyOrderAndUnloads)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    CDbObjectEntryArray entries;
    entries.add(CDbObjectEntry{});
    session.ReadObjectTable(entries, folder.localConnection(database));

    ASSERT_EQ(entries.count(), 5); // the entry already there, then four objects; MenuSuite (7) filtered out
    const CDbObjectEntry& table = entries[1];
    EXPECT_EQ(table.typeWord, "Table");
    EXPECT_EQ(table.id, 18);
    EXPECT_EQ(table.name, "Customer");
    EXPECT_EQ(table.version, "NAVW14.00");
    EXPECT_EQ(table.date, "2003-07-14");
    EXPECT_EQ(table.time, "12:00:00");
    EXPECT_TRUE(table.statusFlag);
    EXPECT_FALSE(table.matched);
    EXPECT_EQ(table.state, 0);

    EXPECT_EQ(entries[2].typeWord, "Form");
    EXPECT_EQ(entries[2].date, "1995-02-01");
    EXPECT_EQ(entries[2].time, "09:30:05");
    EXPECT_FALSE(entries[2].statusFlag);
    EXPECT_EQ(entries[3].typeWord, "Codeunit");
    EXPECT_EQ(entries[3].date, "2029-12-31"); // the Date= inside CODE is not a property
    EXPECT_EQ(entries[3].version, "");
    EXPECT_EQ(entries[4].typeWord, ""); // type code 6
    EXPECT_EQ(entries[4].id, 6000);
    EXPECT_EQ(entries[4].date, "2004-02-29");
    EXPECT_EQ(entries[4].time, "00:00:00");

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(conversionLog.str(), "");
    EXPECT_FALSE(CFrontLibrary::instance().isLoaded());
    EXPECT_FALSE(folder.libraryInMemory());
}

TEST_F(DatabaseSessionTest, OemUmlautsAreReadBackInAnsi)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    CDbObjectEntryArray entries;
    session.ReadObjectTable(entries, folder.localConnection(database));
    ASSERT_EQ(entries.count(), 4);
    EXPECT_EQ(entries[1].name, "Kunde \xDC" "bersicht \xE4\xF6\xFC");
    EXPECT_EQ(entries[1].version, "NAVW13.70,M\xE4rz");
}

TEST_F(DatabaseSessionTest, DatabaseWithoutObjectsOfTypesOneToSixYieldsNothingAndUnloads)
{
    std::string database = folder.createDatabase("menus.db", "OBJECT MenuSuite 10 Navigation\r\n{\r\n}\r\n");
    CDbObjectEntryArray entries;
    session.ReadObjectTable(entries, folder.localConnection(database));
    EXPECT_EQ(entries.count(), 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(folder.libraryInMemory());
}

TEST_F(DatabaseSessionTest, LoginWithoutUsersAcceptsAnyUserAndPassword)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    EXPECT_TRUE(session.Login(folder.localConnection(database, "ANYONE", "whatever")));
    EXPECT_TRUE(messages.shown.empty());
    session.Logout();
    EXPECT_FALSE(CFrontLibrary::instance().isLoaded());
}

TEST_F(DatabaseSessionTest, LoginChecksUserAndPasswordWhenTheDatabaseHasUsers)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    ASSERT_EQ(folder.admin({"add-user", database, "Admin"}, nullptr, "geheim"), 0);

    EXPECT_TRUE(session.Login(folder.localConnection(database, "ADMIN", "geheim"))); // user case-insensitive
    session.Logout();
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_FALSE(session.Login(folder.localConnection(database, "Admin", "Geheim")));
    EXPECT_FALSE(session.Login(folder.localConnection(database, "Other", "geheim")));
    EXPECT_FALSE(session.Login(folder.localConnection(database, "Admin", "")));
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].text, "Login nicht ok");
    EXPECT_EQ(messages.shown[0].caption, "Login nicht ok");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
}

TEST_F(DatabaseSessionTest, RefusedLoginKeepsTheLibraryUntilLogout)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    ASSERT_EQ(folder.admin({"add-user", database, "Admin"}, nullptr, "geheim"), 0);
    EXPECT_FALSE(session.Login(folder.localConnection(database, "Admin", "falsch")));
    EXPECT_TRUE(CFrontLibrary::instance().isLoaded());
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_LOGIN);
    session.Logout();
    EXPECT_FALSE(CFrontLibrary::instance().isLoaded());
    EXPECT_FALSE(folder.libraryInMemory());

    CDbObjectEntryArray entries;
    session.ReadObjectTable(entries, folder.localConnection(database, "Admin", "falsch"));
    EXPECT_EQ(entries.count(), 0);
    EXPECT_FALSE(folder.libraryInMemory());
}

TEST_F(DatabaseSessionTest, OnlyExactlyLokalOpensALocalDatabase)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    ASSERT_TRUE(session.Login(folder.localConnection(database)));
    EXPECT_EQ(folder.callTrace(), "3 88 7 52");
    session.Logout();

    DatabaseConnection upper = folder.localConnection(database);
    upper.netType = "LOKAL";
    EXPECT_FALSE(session.Login(upper));
    EXPECT_EQ(folder.callTrace(), "3 88 5 52");
    EXPECT_EQ(folder.lastError(), CFRONT_ERR_NOT_CONNECTED);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Login nicht ok");
}

TEST_F(DatabaseSessionTest, ServerNamesAreLookedUpInTheServersFileBesideTheLibrary)
{
    folder.createDatabase("nav.db", sampleExport());
    folder.writeFile("cfront/servers", "# test servers\nNAVSERVER = ../nav.db\n  other=/nonexistent.db  \n");
    DatabaseConnection connection{"NAVSERVER", "tcp", "", "u", "p", folder.programPath()};
    CDbObjectEntryArray entries;
    session.ReadObjectTable(entries, connection);
    EXPECT_EQ(entries.count(), 4);

    std::string reason;
    connection.server = "other";
    EXPECT_FALSE(session.Login(connection));
    EXPECT_EQ(folder.lastError(&reason), CFRONT_ERR_NOT_CONNECTED);
    EXPECT_NE(reason.find("cannot open database /nonexistent.db"), std::string::npos) << reason;
    session.Logout();
    connection.server = "unknown";
    EXPECT_FALSE(session.Login(connection));
    EXPECT_EQ(folder.lastError(&reason), CFRONT_ERR_NOT_CONNECTED);
    EXPECT_NE(reason.find("server \"unknown\" not listed"), std::string::npos) << reason;
    session.Logout();
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(DatabaseSessionTest, EmptyLicenceFileSkipsTheLicenceCall)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    DatabaseConnection connection = folder.localConnection(database);
    connection.licenceFile = "/tmp/fin.flf";
    ASSERT_TRUE(session.Login(connection));
    EXPECT_EQ(folder.callTrace(), "3 88 89 7 52");
    session.Logout();
}

TEST_F(DatabaseSessionTest, MissingLibraryFileIsReportedAndNothingIsRead)
{
    std::string nowhere = folder.file("no-navision");
    EXPECT_FALSE(session.CheckLibraryFile(nowhere));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, nowhere + "/cfront/cfront.so not existing");
    EXPECT_EQ(messages.shown[0].caption, "CFront File access error");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);

    CDbObjectEntryArray entries;
    session.ReadObjectTable(entries, DatabaseConnection{"x", "lokal", "", "", "", nowhere});
    EXPECT_EQ(entries.count(), 0);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(session.CheckLibraryFile(folder.programPath()));
}

TEST_F(DatabaseSessionTest, LibraryWithoutOneOrdinalFailsToLoad)
{
    const std::string broken = QUELLIX_BINARY_DIR "/cfront_broken";
    EXPECT_EQ(CFrontLibrary::instance().Load(broken), -1);
    CFrontLibrary::instance().Unload();

    EXPECT_FALSE(session.Login(DatabaseConnection{"x", "lokal", "", "", "", broken}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("cfront_ordinal_60"), std::string::npos);
    EXPECT_EQ(messages.shown[0].caption, "Error");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    session.Logout();
    EXPECT_FALSE(CFrontLibrary::instance().isLoaded());
}

TEST_F(DatabaseSessionTest, UnloadableLibraryFileGivesTheSystemErrorCode)
{
    folder.writeFile("cfront/cfront.so", "not a shared library");
    int code = CFrontLibrary::instance().Load(folder.programPath());
    EXPECT_GT(code, 0);
    EXPECT_FALSE(CFrontLibrary::instance().isLoaded());
    EXPECT_FALSE(session.Login(folder.localConnection("x")));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text, "");
    EXPECT_EQ(messages.shown[0].caption, "Error");
}

TEST_F(DatabaseSessionTest, SessionsAppearForOtherProgramsWhileLoggedIn)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    std::string listing;
    ASSERT_EQ(folder.admin({"sessions", database}, &listing), 0);
    EXPECT_EQ(listing.find("WATCHER"), std::string::npos);

    ASSERT_TRUE(session.Login(folder.localConnection(database, "WATCHER")));
    ASSERT_EQ(folder.admin({"sessions", database}, &listing), 0);
    EXPECT_NE(listing.find("\tWATCHER\t"), std::string::npos) << listing;

    session.Logout();
    ASSERT_EQ(folder.admin({"sessions", database}, &listing), 0);
    EXPECT_EQ(listing.find("WATCHER"), std::string::npos) << listing;
}

TEST_F(DatabaseSessionTest, TwoProgramsSeeEachOthersSessionsAndStaleOnesAreRemoved)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    int ready[2], go[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(go), 0);
    pid_t other = startOtherProgram(folder, database, ready[1], go[0]);
    char loggedIn = 0;
    ASSERT_EQ(read(ready[0], &loggedIn, 1), 1);
    ASSERT_EQ(loggedIn, 1);

    ASSERT_TRUE(session.Login(folder.localConnection(database, "ME")));
    EXPECT_EQ(sessionUsers(), (std::set<std::string>{"DME", "DOTHER"}));
    session.Logout();

    char byte = 1;
    ASSERT_EQ(write(go[1], &byte, 1), 1);
    int status = 0;
    waitpid(other, &status, 0);
    for (int fd : {ready[0], ready[1], go[0], go[1]})
        close(fd);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    ASSERT_TRUE(session.Login(folder.localConnection(database, "ME")));
    EXPECT_EQ(sessionUsers(), (std::set<std::string>{"DME"}));
    session.Logout();
}

TEST_F(DatabaseSessionTest, CorruptDatabaseFilesRefuseTheLogin)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    folder.writeFile("junk.db", std::string(8192, '\x5A'));
    std::string half(4096, '\0');
    {
        std::ifstream whole(database, std::ios::binary);
        whole.read(half.data(), static_cast<std::streamsize>(half.size()));
    }
    folder.writeFile("half.db", half);
    for (const char* name : {"junk.db", "half.db", "missing.db"}) {
        CDbObjectEntryArray entries;
        session.ReadObjectTable(entries, folder.localConnection(folder.file(name)));
        EXPECT_EQ(entries.count(), 0) << name;
    }
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_FALSE(folder.libraryInMemory());
}

// Overwrites the cell pointers of a table leaf page two thirds into the file.
void corruptOnePage(const std::string& database)
{
    std::fstream file(database, std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(0, std::ios::end);
    const long pageSize = 4096, pages = static_cast<long>(file.tellg()) / pageSize;
    for (long page = pages * 2 / 3; page < pages; ++page) {
        char type = 0;
        file.seekg(page * pageSize);
        file.get(type);
        if (type == 0x0D) { // a table leaf
            file.seekp(page * pageSize + 8);
            file << std::string(pageSize - 8, '\xFF');
            return;
        }
    }
    FAIL() << "no table leaf page in the last third of " << database;
}

TEST_F(DatabaseSessionTest, FailedReadIsShownAndYieldsNoEntriesAtAll)
{
    std::string database = folder.createDatabase("nav.db", largeExport(3000));
    CDbObjectEntryArray entries;
    session.ReadObjectTable(entries, folder.localConnection(database));
    ASSERT_EQ(entries.count(), 3000);
    ASSERT_TRUE(messages.shown.empty());

    corruptOnePage(database);
    session.ReadObjectTable(entries, folder.localConnection(database));
    EXPECT_EQ(entries.count(), 3000); // nothing appended, not the rows before the damaged page
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Error");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_NE(messages.shown[0].text.find("malformed"), std::string::npos) << messages.shown[0].text;
    EXPECT_FALSE(folder.libraryInMemory());
}

TEST_F(DatabaseSessionTest, LibraryWithoutTheLastErrorOrdinalStillLoads)
{
    CFrontLibrary& library = CFrontLibrary::instance();
    ASSERT_EQ(library.Load(QUELLIX_BINARY_DIR "/cfront_old"), 0);
    EXPECT_FALSE(library.hasLastError());
    std::string reason = "x";
    EXPECT_EQ(library.lastError(&reason), 0);
    EXPECT_EQ(reason, "");
    library.Unload();
    ASSERT_EQ(library.Load(folder.programPath()), 0);
    EXPECT_TRUE(library.hasLastError());
    EXPECT_EQ(library.login("u", "p"), 0);
    EXPECT_EQ(library.lastError(&reason), CFRONT_ERR_NOT_CONNECTED);
    EXPECT_NE(reason, "");
    library.Unload();
}

} // namespace
