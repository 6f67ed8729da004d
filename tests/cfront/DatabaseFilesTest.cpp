// The stand-in's database files and users under misuse: read-only files and folders, a
// database held by another program, damaged or foreign files, and the password store.
#include "db/CFrontLibrary.h"
#include "db/DatabaseSession.h"
#include "db/StandInFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

mode_t permissions(const std::string& path)
{
    struct stat status{};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// The single text of a query on the database, outside the stand-in.
std::string queryText(const std::string& database, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string text;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0))
        text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return text;
}

std::string fileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class DatabaseFilesTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& path : m_restore)
            chmod(path.c_str(), 0700);
        unsetenv("CFRONT_BUSY_TIMEOUT");
    }

    int objectsRead(const DatabaseConnection& connection)
    {
        CDbObjectEntryArray entries;
        session.ReadObjectTable(entries, connection);
        return entries.count();
    }

    void makeReadOnly(const std::string& path, mode_t mode)
    {
        chmod(path.c_str(), mode);
        m_restore.push_back(path);
    }

    StandInFolder folder;
    MessageRecorder messages;
    std::ostringstream conversionLog;
    CDatabaseSession session{messages, conversionLog};

private:
    std::vector<std::string> m_restore;
};

TEST_F(DatabaseFilesTest, ReadOnlyFileIsReadAndWritingCommandsSaySo)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    makeReadOnly(database, 0444); // read-only even for root, who passes every access check
    std::string before = fileBytes(database);
    EXPECT_EQ(objectsRead(folder.localConnection(database)), 4);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(fileBytes(database), before); // no Session row written
    std::string listing, errors;
    EXPECT_EQ(folder.admin({"objects", database}, &listing), 0);
    EXPECT_NE(listing.find("Customer"), std::string::npos);
    EXPECT_EQ(folder.admin({"sessions", database}, &listing), 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"touch", database, "Table", "18"}, {"delete", database, "Table", "18"},
          {"set", database, "Table", "18", "--name", "X"}, {"add-user", database, "ADMIN"},
          {"session", database, "U", "--hold", "1"}}) {
        EXPECT_EQ(folder.admin(args, nullptr, "geheim", &errors), 1) << args[0];
        EXPECT_NE(errors.find("read-only"), std::string::npos) << errors;
    }
    EXPECT_EQ(permissions(database), 0444u);
    EXPECT_EQ(folder.admin({"objects", database}, &listing), 0);
    EXPECT_NE(listing.find("Table\t18\tCustomer"), std::string::npos);
}

TEST_F(DatabaseFilesTest, DatabaseInReadOnlyFolderIsRead)
{
    fs::create_directory(folder.file("shelf"));
    std::string database = folder.createDatabase("shelf/nav.db", sampleExport());
    makeReadOnly(folder.file("shelf"), 0555);
    EXPECT_EQ(objectsRead(folder.localConnection(database)), 4);
    EXPECT_TRUE(messages.shown.empty());
    std::string errors;
    EXPECT_EQ(folder.admin({"touch", database, "Table", "18"}, nullptr, "", &errors), 1);
    EXPECT_NE(errors.find("read-only"), std::string::npos) << errors;
}

TEST_F(DatabaseFilesTest, HeldDatabaseIsReportedBusyAfterABoundedWait)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    setenv("CFRONT_BUSY_TIMEOUT", "2", 1);
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE; DELETE FROM session;", nullptr, nullptr, nullptr), SQLITE_OK);

    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(session.Login(folder.localConnection(database)));
    double waited = secondsSince(start);
    session.Logout();
    EXPECT_GE(waited, 1.9);
    EXPECT_LT(waited, 6.0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "database busy");
    ASSERT_EQ(messages.notes.size(), 1u);
    EXPECT_NE(messages.notes[0].find("waiting for " + database), std::string::npos) << messages.notes[0];

    sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_TRUE(session.Login(folder.localConnection(database)));
    session.Logout();
}

TEST_F(DatabaseFilesTest, ForeignSchemasAreRefusedAndTheirTriggersNeverRun)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    runSql(database, "CREATE TRIGGER wipe AFTER INSERT ON session BEGIN DELETE FROM object; END;");
    EXPECT_EQ(objectsRead(folder.localConnection(database)), 0);
    ASSERT_EQ(messages.notes.size(), 1u);
    EXPECT_NE(messages.notes[0].find("unexpected trigger wipe"), std::string::npos) << messages.notes[0];
    EXPECT_EQ(queryText(database, "SELECT count(*) FROM object"), "5");
    EXPECT_EQ(folder.admin({"objects", database}), 1);
    EXPECT_EQ(queryText(database, "SELECT count(*) FROM object"), "5");

    runSql(database, "DROP TRIGGER wipe; CREATE VIEW everything AS SELECT * FROM object;");
    EXPECT_EQ(objectsRead(folder.localConnection(database)), 0);
    runSql(database, "DROP VIEW everything; ALTER TABLE object ADD COLUMN extra INTEGER;");
    EXPECT_EQ(objectsRead(folder.localConnection(database)), 0);
    EXPECT_NE(messages.notes.back().find("table object differs"), std::string::npos) << messages.notes.back();
}

TEST_F(DatabaseFilesTest, NewFilesAndTheirJournalsAreForTheOwnerOnly)
{
    mode_t old = umask(022);
    std::string database = folder.createDatabase("nav.db", sampleExport());
    umask(old);
    EXPECT_EQ(permissions(database), 0600u);
    std::string command = QUELLIX_BINARY_DIR "/cfront/cfront-db session '" + database + "' HOLDER --hold 2";
    FILE* held = popen(command.c_str(), "r");
    ASSERT_NE(held, nullptr);
    char line[64] = {};
    ASSERT_NE(fgets(line, sizeof line, held), nullptr);
    EXPECT_EQ(permissions(database + "-wal"), 0600u);
    EXPECT_EQ(permissions(database + "-shm"), 0600u);
    pclose(held);
}

TEST_F(DatabaseFilesTest, CreateRefusesSymbolicLinks)
{
    std::string errors;
    fs::create_symlink(folder.file("elsewhere.db"), folder.file("dangling.db"));
    EXPECT_EQ(folder.admin({"create", folder.file("dangling.db")}, nullptr, "", &errors), 1);
    EXPECT_NE(errors.find("symbolic link"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(folder.file("elsewhere.db")));

    folder.writeFile("precious.txt", "keep me");
    fs::create_symlink(folder.file("precious.txt"), folder.file("link.db"));
    EXPECT_EQ(folder.admin({"create", folder.file("link.db")}), 1);
    EXPECT_EQ(fs::file_size(folder.file("precious.txt")), 7u);
}

TEST_F(DatabaseFilesTest, PasswordsAreArgon2idHashesAndUsersAreNotReplacedSilently)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    std::string errors;
    EXPECT_EQ(folder.admin({"add-user", database, "ADMIN"}, nullptr, "", &errors), 1); // empty password
    EXPECT_NE(errors.find("empty"), std::string::npos) << errors;
    EXPECT_EQ(queryText(database, "SELECT count(*) FROM user"), "0");

    ASSERT_EQ(folder.admin({"add-user", database, "ADMIN"}, nullptr, "geheim"), 0);
    EXPECT_EQ(queryText(database, "SELECT hash FROM user").rfind("$argon2id$v=19$m=65536,t=2,p=1$", 0), 0u);
    EXPECT_EQ(folder.admin({"add-user", database, "admin"}, nullptr, "anders", &errors), 1);
    EXPECT_NE(errors.find("--replace"), std::string::npos) << errors;
    EXPECT_TRUE(session.Login(folder.localConnection(database, "admin", "geheim")));
    session.Logout();

    ASSERT_EQ(folder.admin({"add-user", database, "admin", "--replace"}, nullptr, "anders"), 0);
    EXPECT_EQ(queryText(database, "SELECT count(*) FROM user"), "1");
    EXPECT_FALSE(session.Login(folder.localConnection(database, "ADMIN", "geheim")));
    session.Logout();
    EXPECT_TRUE(session.Login(folder.localConnection(database, "ADMIN", "anders")));
    session.Logout();
}

TEST_F(DatabaseFilesTest, NamesAndPasswordsOutsideTheOemCodePageAreRefused)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    const std::string ivan = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD", petr = "\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80";
    const std::string parol = "\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C";
    std::string errors;
    EXPECT_EQ(folder.admin({"add-user", database, ivan}, nullptr, "geheim", &errors), 1);
    EXPECT_NE(errors.find("U+0418"), std::string::npos) << errors;
    EXPECT_EQ(folder.admin({"add-user", database, petr}, nullptr, "geheim"), 1);
    EXPECT_EQ(folder.admin({"add-user", database, "IVAN"}, nullptr, parol, &errors), 1);
    EXPECT_NE(errors.find("the password holds"), std::string::npos) << errors;
    EXPECT_EQ(queryText(database, "SELECT count(*) FROM user"), "0");

    // Umlauts are OEM characters: stored as OEM bytes and matched through the binding.
    ASSERT_EQ(folder.admin({"add-user", database, "M\xC3\xBCller"}, nullptr, "S\xC3\xBC\xC3\x9F"), 0);
    EXPECT_EQ(queryText(database, "SELECT hex(name) FROM user"), "4D816C6C6572");
    EXPECT_TRUE(session.Login(folder.localConnection(database, "M\xFCller", "S\xFC\xDF"))); // ANSI
    session.Logout();
    EXPECT_FALSE(session.Login(folder.localConnection(database, "M\xFCller", "S??")));
    session.Logout();
}

TEST_F(DatabaseFilesTest, HugeStoredCostsAreRefusedAndUnknownUsersTakeAsLong)
{
    std::string database = folder.createDatabase("nav.db", sampleExport());
    ASSERT_EQ(folder.admin({"add-user", database, "ADMIN"}, nullptr, "geheim"), 0);
    auto timeLogin = [&](const std::string& user) {
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(session.Login(folder.localConnection(database, user, "falsch")));
        session.Logout();
        return secondsSince(start);
    };
    double wrongPassword = 1e9, unknownUser = 1e9;
    for (int i = 0; i < 3; ++i) {
        wrongPassword = std::min(wrongPassword, timeLogin("ADMIN"));
        unknownUser = std::min(unknownUser, timeLogin("NOBODY"));
    }
    // Both refusals hash once; a wide margin keeps a loaded machine from failing the comparison.
    EXPECT_GT(unknownUser, wrongPassword / 4) << unknownUser << " s against " << wrongPassword << " s";

    std::string hash = queryText(database, "SELECT hash FROM user");
    for (const char* cost : {"m=65536,t=1000000000000,p=1", "m=4294967296,t=2,p=1", "m=65536,t=2,p=8"}) {
        std::string changed = "$argon2id$v=19$" + std::string(cost) + hash.substr(hash.find("$", 20));
        runSql(database, "UPDATE user SET hash = '" + changed + "'");
        messages.notes.clear();
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(session.Login(folder.localConnection(database, "ADMIN", "geheim"))) << cost;
        session.Logout();
        // A stored cost that were honoured would take hours; refused, it takes no hashing at all.
        EXPECT_LT(secondsSince(start), 10.0) << cost;
        ASSERT_EQ(messages.notes.size(), 1u) << cost;
        EXPECT_NE(messages.notes[0].find("cost limits"), std::string::npos) << messages.notes[0];
    }
}

} // namespace
