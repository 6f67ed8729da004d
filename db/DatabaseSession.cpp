#include "db/DatabaseSession.h"

#include "db/CFrontLibrary.h"
#include "model/CodePage.h"
#include "model/FileAccess.h"

#include <fstream>

namespace {

const int32_t kObjectTable = 2000000001;

std::string ansiText(std::string oem)
{
    oemToAnsi(oem);
    return oem;
}

CDbObjectEntry readEntry(CFrontLibrary& library, CDatabaseSession& session, cfront_table* table,
                         cfront_record* record, bool allTypes)
{
    CDbObjectEntry entry;
    entry.typeWord = CDbObjectEntry::typeWordOf(library.fieldInteger(table, record, 1), allTypes);
    entry.id = library.fieldInteger(table, record, 3);
    entry.name = ansiText(library.fieldText(table, record, 4));
    entry.version = ansiText(library.fieldText(table, record, 12));
    entry.date = session.checkedDateText(library.fieldInteger(table, record, 10));
    entry.time = session.checkedTimeText(library.fieldInteger(table, record, 11));
    entry.statusFlag = library.fieldInteger(table, record, 5) != 0;
    return entry;
}

} // namespace

CDatabaseSession::CDatabaseSession(IMessageBoxes& messages, std::ostream& conversionLog)
    : m_messages(messages), m_conversionLog(conversionLog)
{
}

CDatabaseSession::~CDatabaseSession()
{
    CFrontLibrary::instance().setWaitNotice(nullptr);
}

bool CDatabaseSession::CheckLibraryFile(const std::string& programPath)
{
    std::string path = CFrontLibrary::libraryFilePath(programPath);
    std::ifstream file(fileSystemPath(path), std::ios::binary);
    if (file.is_open())
        return true;
    m_messages.show(path + " not existing", "CFront File access error", MessageIcon::Error);
    return false;
}

bool CDatabaseSession::Login(const DatabaseConnection& connection)
{
    CFrontLibrary& library = CFrontLibrary::instance();
    if (library.Load(connection.programPath) != 0) {
        m_messages.show(library.lastErrorText(), "Error", MessageIcon::Information);
        return false;
    }
    library.setWaitNotice([this](const std::string& text) { m_messages.waiting(text); });
    library.setProgramPath(connection.programPath);
    if (!connection.licenceFile.empty())
        library.setLicenceFile(connection.licenceFile);
    if (connection.netType == "lokal")
        library.openDatabase(connection.server);
    else
        library.connectServer(connection.server, connection.netType);
    // C/FRONT takes user and password in the OEM code page.
    std::string user = connection.user, password = connection.password;
    ansiToOem(user);
    ansiToOem(password);
    if (library.login(user, password) == 1)
        return true;
    std::string reason;
    int32_t code = library.lastError(&reason);
    if (code == CFRONT_ERR_BUSY) {
        m_messages.show("database busy", "Error", MessageIcon::Error);
        return false;
    }
    if (code != CFRONT_OK && code != CFRONT_ERR_LOGIN && !reason.empty())
        m_messages.note(reason);
    m_messages.show("Login nicht ok", "Login nicht ok", MessageIcon::None);
    return false;
}

void CDatabaseSession::Logout()
{
    CFrontLibrary::instance().Unload();
}

void CDatabaseSession::ReadObjectTable(CDbObjectEntryArray& entries, const DatabaseConnection& connection,
                                       bool allTypes)
{
    if (!CheckLibraryFile(connection.programPath))
        return;
    if (!Login(connection)) {
        Logout();
        return;
    }
    CFrontLibrary& library = CFrontLibrary::instance();
    std::string failure;
    CDbObjectEntryArray read;
    const char* typeFilter = allTypes ? "1..9" : "1..6";
    cfront_table* table = library.openTable(kObjectTable);
    cfront_record* record = nullptr;
    if (!table)
        failure = library.failureReason("the Object table cannot be opened");
    else if (!library.setFilter(table, 1, typeFilter))
        failure = library.failureReason(std::string("the filter ") + typeFilter + " on the Object table is refused");
    else if (!(record = library.newRecord(table)))
        failure = library.failureReason("no record buffer for the Object table");
    else if (!library.findFirst(table, record))
        failure = library.readFailure();
    else {
        do {
            read.add(readEntry(library, *this, table, record, allTypes));
        } while (library.next(table, record, 1) == 1);
        failure = library.readFailure();
    }
    if (record)
        library.freeRecord(record);
    if (table)
        library.closeTable(table);
    Logout();
    if (!failure.empty()) {
        m_messages.show(failure, "Error", MessageIcon::Error);
        return;
    }
    for (const CDbObjectEntry& entry : read)
        entries.add(entry);
}

std::string CDatabaseSession::checkedDateText(int32_t date)
{
    CFrontLibrary& library = CFrontLibrary::instance();
    std::string text = library.dateToText(date);
    if (library.textToDate(text) != date)
        m_conversionLog << "DATE conversion \nError !!\n";
    return text;
}

std::string CDatabaseSession::checkedTimeText(int32_t time)
{
    CFrontLibrary& library = CFrontLibrary::instance();
    std::string text = library.timeToText(time);
    if (library.textToTime(text) != time)
        m_conversionLog << "TIME conversion \nError !!\n";
    return text;
}
