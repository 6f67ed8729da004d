#include "cli/DbObjectsCommand.h"

#include "cli/CliOutput.h"
#include "cli/OutputFormat.h"
#include "cli/CommandHelp.h"
#include "cli/DbConnectionOptions.h"
#include "db/DatabaseSession.h"
#include "model/CodePage.h"

namespace {

std::string oneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

// Writes every message of the session to standard error, one line each; a message box means
// the command failed.
class StderrMessages : public IMessageBoxes {
public:
    explicit StderrMessages(std::ostream& err) : m_err(err) {}
    void show(const std::string& text, const std::string& caption, MessageIcon) override
    {
        m_err << "quellix-cli db-objects: " << oneLine(caption == text || caption.empty() ? text : caption + ": " + text)
              << "\n";
        failed = true;
    }
    void note(const std::string& text) override { m_err << "quellix-cli db-objects: " << oneLine(text) << "\n"; }
    bool failed = false;

private:
    std::ostream& m_err;
};

bool parseOptions(const std::vector<std::string>& args, DbConnectionOptions& connection, OutputFormat& format,
                  std::string& problem)
{
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            problem = "missing value after " + option;
            return false;
        }
        const std::string& value = args[i + 1];
        if (connection.take(option, value, problem))
            continue;
        if (!problem.empty())
            return false;
        if (option == "--format" && parseOutputFormat(value, format))
            continue;
        else if (option == "--oem" && (value == "850" || value == "437"))
            setOemCodePage(value == "437" ? OemCodePage::CP437 : OemCodePage::CP850);
        else {
            problem = "unknown option " + option + " " + value;
            return false;
        }
    }
    problem = connection.missing();
    return problem.empty();
}

// One cell as quellix-cli writes it, in UTF-8.
std::string cell(const std::string& ansi)
{
    return ansiToUtf8ViaOem(outputCell(ansi), oemCodePage());
}

} // namespace

int runDbObjects(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    DbConnectionOptions options;
    std::string problem;
    OutputFormat format = OutputFormat::Tsv;
    if (!parseOptions(args, options, format, problem)) {
        err << "quellix-cli db-objects: " << problem << "\n" << cliCommandHelpText(*findCliCommandHelp("db-objects"));
        return 2;
    }
    if (!options.finish(problem)) {
        err << "quellix-cli db-objects: " << problem << "\n";
        return 1;
    }
    const DatabaseConnection& connection = options.connection();
    StderrMessages messages(err);
    CDatabaseSession session(messages, err);
    CDbObjectEntryArray entries;
    session.ReadObjectTable(entries, connection);
    if (messages.failed)
        return 1;
    OutputDocument document;
    document.command = "db-objects";
    document.databases = {connection.server};
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
    return finishOutput(out, err, "quellix-cli db-objects", 0);
}
