#pragma once

#include "db/DbConnection.h"
#include "db/DbObjectEntry.h"

#include <cstdint>
#include <iostream>
#include <string>

enum class MessageIcon { None, Error, Information };

// Shows the messages of a database operation: message boxes in the GUI, a record in tests.
class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    virtual void show(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // A remark that needs no answer (waiting for a busy database, the library's reason for a
    // refused login): the status bar in the program, standard error in the command line.
    virtual void note(const std::string&) {}
    // The library waits for a database another program holds (said once a wait has lasted a
    // second); the wait goes on after this returns.
    virtual void waiting(const std::string& text) { note(text); }
};

// Login, reads and logout of one database operation through C/FRONT. Between a successful
// Login and Logout the library is loaded and logged in; only one session is active at a time.
class CDatabaseSession {
public:
    // messages receives the failure reports; conversionLog the date and time conversion
    // errors (standard output by default).
    explicit CDatabaseSession(IMessageBoxes& messages, std::ostream& conversionLog = std::cout);
    // Takes back the wait notice it handed the library, which calls into this session.
    virtual ~CDatabaseSession();

    // True when the library file exists under the program path; otherwise reports
    // "<path> not existing".
    bool CheckLibraryFile(const std::string& programPath);
    // Loads the library, sets program path and licence file, connects or opens the database
    // and logs in with user and password in the OEM code page. Reports its own failures: a
    // database another program holds past the library's wait as "database busy" (a note after
    // the first second of waiting), any other refusal as "Login nicht ok", with the library's
    // reason as a note unless user or password were wrong. A failed Login leaves the library
    // loaded.
    bool Login(const DatabaseConnection& connection);
    // Shuts the library down and unloads it; harmless when it is not loaded.
    void Logout();
    // Appends one entry per object of types 1..6 of the database, in the library's order;
    // entries stay unchanged when the library file is missing or the login fails. A read that
    // fails on the way (a search or step of the library reports an error) is shown with
    // caption "Error" and the library's reason, and appends nothing at all. With allTypes it
    // reads types 1..9 and names 6..9 "XMLport", "MenuSuite", "Page", "Query".
    void ReadObjectTable(CDbObjectEntryArray& entries, const DatabaseConnection& connection,
                         bool allTypes = false);

    // A date or time value of the loaded library written to text (ordinal 76 / 78); when the
    // text does not convert back to the same value, "DATE conversion \nError !!\n" or
    // "TIME conversion \nError !!\n" goes to the conversion log. The text is returned anyway.
    std::string checkedDateText(int32_t date);
    std::string checkedTimeText(int32_t time);

private:
    IMessageBoxes& m_messages;
    std::ostream& m_conversionLog;
};
