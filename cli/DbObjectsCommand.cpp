#include "cli/DbObjectsCommand.h"

#include "cli/OutputFormat.h"
#include "cli/PasswordPrompt.h"
#include "db/DatabaseSession.h"
#include "model/CodePage.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

const char* const kUsage =
    "usage: quellix-cli db-objects --server SERVER|DATABASE [--net tcp|netb|lokal] [--license FILE]\n"
    "                              [--user USER] [--program-path DIR] [--oem 850|437]\n"
    "                              [--format tsv|json|sarif]\n"
    "  The password is read from QUELLIX_DB_PASSWORD or asked for on the terminal.\n";

// Keeps the first message of the session; the command reports it as its error.
class RecordedMessages : public IMessageBoxes {
public:
    void show(const std::string& text, const std::string& caption, MessageIcon) override
    {
        if (first.empty())
            first = caption == text || caption.empty() ? text : caption + ": " + text;
    }
    std::string first;
};

std::string runningProgramFolder()
{
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : program.parent_path().string();
}

bool parseOptions(const std::vector<std::string>& args, DatabaseConnection& connection, OutputFormat& format,
                  std::string& problem)
{
    connection.netType = "tcp";
    connection.programPath = runningProgramFolder();
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            problem = "missing value after " + option;
            return false;
        }
        const std::string& value = args[i + 1];
        if (option == "--server")
            connection.server = value;
        else if (option == "--net")
            connection.netType = value;
        else if (option == "--license" || option == "--licence")
            connection.licenceFile = value;
        else if (option == "--user")
            connection.user = utf8ToAnsiViaOem(value, oemCodePage());
        else if (option == "--program-path")
            connection.programPath = value;
        else if (option == "--format" && parseOutputFormat(value, format))
            continue;
        else if (option == "--oem" && (value == "850" || value == "437"))
            setOemCodePage(value == "437" ? OemCodePage::CP437 : OemCodePage::CP850);
        else {
            problem = "unknown option " + option + " " + value;
            return false;
        }
    }
    if (connection.server.empty())
        problem = "--server is missing";
    return problem.empty();
}

std::string password()
{
    std::string text;
    if (const char* fromEnvironment = std::getenv("QUELLIX_DB_PASSWORD"))
        text = fromEnvironment;
    else if (isatty(STDIN_FILENO) == 1 && !readPassword("Password: ", text))
        text.clear();
    return utf8ToAnsiViaOem(text, oemCodePage());
}

// One cell as quellix-cli writes it, in UTF-8.
std::string cell(const std::string& ansi)
{
    return ansiToUtf8ViaOem(outputCell(ansi), oemCodePage());
}

std::string oneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

} // namespace

int runDbObjects(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    DatabaseConnection connection;
    std::string problem;
    OutputFormat format = OutputFormat::Tsv;
    if (!parseOptions(args, connection, format, problem)) {
        err << "quellix-cli db-objects: " << problem << "\n" << kUsage;
        return 2;
    }
    connection.password = password();
    RecordedMessages messages;
    CDatabaseSession session(messages, out);
    CDbObjectEntryArray entries;
    session.ReadObjectTable(entries, connection);
    if (!messages.first.empty()) {
        err << "quellix-cli db-objects: " << oneLine(messages.first) << "\n";
        return 1;
    }
    OutputDocument document;
    document.command = "db-objects";
    OutputList list;
    list.name = "db-objects";
    list.description = "The Object table of a database";
    for (const char* heading : {"Type", "ID", "Name", "Version", "Date", "Time"})
        list.columns.push_back(heading);
    for (const CDbObjectEntry& entry : entries) {
        std::vector<std::string> row;
        for (const std::string& text : {entry.typeWord, entry.idText(), entry.name, entry.version, entry.date,
                                        entry.time})
            row.push_back(cell(text));
        list.rows.push_back(std::move(row));
    }
    document.lists.push_back(std::move(list));
    out << formatOutput(document, format, false);
    return 0;
}
