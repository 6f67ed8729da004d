#pragma once

#include "db/DatabaseSession.h"

#include <string>
#include <vector>

// A temporary program folder with a copy of the stand-in library (so each test has its own
// "servers" file and databases), the admin tool to fill databases, and the stand-in's
// diagnostic exports.
class StandInFolder {
public:
    StandInFolder();
    ~StandInFolder();
    StandInFolder(const StandInFolder&) = delete;
    StandInFolder& operator=(const StandInFolder&) = delete;

    const std::string& programPath() const { return m_folder; }
    std::string file(const std::string& name) const { return m_folder + "/" + name; }
    void writeFile(const std::string& name, const std::string& bytes) const;

    // Runs cfront-db with the arguments (each quoted for the shell); returns its exit status,
    // its standard output in output and its standard error in errors.
    int admin(const std::vector<std::string>& args, std::string* output = nullptr,
              const std::string& password = "", std::string* errors = nullptr) const;
    // A new database file "name" holding the objects of export (OEM bytes).
    std::string createDatabase(const std::string& name, const std::string& exportText) const;

    // A connection to the local database file with the given user and password.
    DatabaseConnection localConnection(const std::string& database, const std::string& user = "",
                                       const std::string& password = "") const;

    // The stand-in's call trace and last error, while the binding holds the library.
    std::string callTrace() const;
    int lastError(std::string* text = nullptr) const;
    // Whether the process still holds the library of this folder.
    bool libraryInMemory() const;
    // The address of an exported function of the loaded library, for calls with bad arguments.
    void* exported(const char* name) const;

private:
    std::string m_folder;
};

// Another program holding a session: "cfront-db session DATABASE USER [options]" (options such
// as "--hold", "30", "--reads", "1000"), whose counters rise while it runs. The constructor
// returns once the row is there; end() (or the destructor) stops the program, which removes it.
class HeldSession {
public:
    HeldSession(const std::string& database, const std::string& user, std::vector<std::string> options);
    ~HeldSession() { end(); }
    HeldSession(const HeldSession&) = delete;
    HeldSession& operator=(const HeldSession&) = delete;
    bool started() const { return m_announced.rfind("session ", 0) == 0; }
    void end();

private:
    int m_pid = -1;
    std::string m_announced;
};

// Runs sql on the database file outside the stand-in (to damage or alter it); throws on failure.
void runSql(const std::string& database, const std::string& sql);

// An export of count Codeunits 1..count with long names, dated 14.07.03, OEM, CR LF.
std::string largeExport(int count);

// Records the messages a session shows.
class MessageRecorder : public IMessageBoxes {
public:
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };
    void show(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        shown.push_back({text, caption, icon});
    }
    void note(const std::string& text) override { notes.push_back(text); }
    std::vector<Message> shown;
    std::vector<std::string> notes;
};

// An export with Table 18, Form 21 (umlauts in its name), Codeunit 80, XMLport 6000 (type 6)
// and MenuSuite 10 (type 7), in the OEM code page with CR LF line ends.
std::string sampleExport();
