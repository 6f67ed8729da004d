#include "cli/DbCompareCommand.h"

#include "cli/CliOutput.h"
#include "cli/DbConnectionOptions.h"
#include "cli/OutputFormat.h"
#include "db/DatabaseSession.h"
#include "db/ObjectCompare.h"
#include "model/CodePage.h"
#include "model/ObjektManager.h"
#include "results/ResultList.h"


namespace {

const char* const kUsage =
    "usage: quellix-cli db-compare --server1 SERVER|DATABASE [--net1 tcp|netb|lokal] [--program-path1 DIR]\n"
    "                              [--user1 USER] [--license1 FILE]\n"
    "                              --server2 SERVER|DATABASE [--net2 ...] [--program-path2 ...] [--user2 ...]\n"
    "                              [--license2 ...] [--all-types] [--oem 850|437] [--ansi] [--format tsv|json]\n"
    "  Passwords are read from QUELLIX_DB1_PASSWORD and QUELLIX_DB2_PASSWORD or asked for on the terminal.\n";

// Writes the messages of one database's read to standard error, one line each, naming the
// database; a message box means the database could not be read, a note is a remark only.
class DatabaseMessages : public IMessageBoxes {
public:
    DatabaseMessages(std::ostream& err, int database) : m_err(err), m_database(database) {}
    void show(const std::string& text, const std::string& caption, MessageIcon) override
    {
        write(caption == text || caption.empty() ? text : caption + ": " + text);
        failed = true;
    }
    void note(const std::string& text) override { write(text); }
    bool failed = false;

private:
    void write(std::string text)
    {
        for (char& c : text)
            if (c == '\n' || c == '\r')
                c = ' ';
        m_err << "quellix-cli db-compare: database " << m_database << ": " << text << "\n";
    }
    std::ostream& m_err;
    int m_database;
};

struct CompareOptions {
    DbConnectionOptions database[2] = {DbConnectionOptions("1"), DbConnectionOptions("2")};
    bool allTypes = false;
    bool ansi = false;
    OutputFormat format = OutputFormat::Tsv;
};

// tsv or json; the rows are differences between two databases, not findings, so no sarif.
bool parseFormat(const std::string& value, OutputFormat& format, std::string& problem)
{
    if (!parseOutputFormat(value, format) || format == OutputFormat::Sarif)
        problem = "--format needs tsv or json (the rows are differences, not findings: no sarif)";
    return problem.empty();
}

bool parseOptions(const std::vector<std::string>& args, CompareOptions& options, std::string& problem)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--all-types" || option == "--ansi") {
            (option == "--ansi" ? options.ansi : options.allTypes) = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            problem = "missing value after " + option;
            return false;
        }
        const std::string& value = args[++i];
        if (options.database[0].take(option, value, problem) || options.database[1].take(option, value, problem))
            continue;
        if (!problem.empty())
            return false;
        if (option == "--oem" && (value == "850" || value == "437")) {
            setOemCodePage(value == "437" ? OemCodePage::CP437 : OemCodePage::CP850);
        } else if (option == "--format") {
            if (!parseFormat(value, options.format, problem))
                return false;
        } else {
            problem = "unknown option " + option + " " + value;
            return false;
        }
    }
    problem = options.database[0].missing().empty() ? options.database[1].missing() : options.database[0].missing();
    if (problem.empty() && options.ansi && options.format != OutputFormat::Tsv)
        problem = "--ansi writes tsv only";
    return problem.empty();
}

} // namespace

int runDbCompare(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CompareOptions options;
    std::string problem;
    if (!parseOptions(args, options, problem)) {
        err << "quellix-cli db-compare: " << problem << "\n" << kUsage;
        return 2;
    }
    for (int n = 0; n < 2; ++n) {
        if (!options.database[n].finish(problem)) {
            err << "quellix-cli db-compare: database " << n + 1 << ": " << problem << "\n";
            return 1;
        }
    }

    CDbObjectEntryArray entries[2];
    bool readable = true;
    for (int n = 0; n < 2; ++n) {
        DatabaseMessages messages(err, n + 1);
        CDatabaseSession session(messages, err);
        session.ReadObjectTable(entries[n], options.database[n].connection(), options.allTypes);
        readable = readable && !messages.failed;
    }
    if (!readable)
        return 1;
    CResultList list;
    fillCompareList(list, entries[0], entries[1]);
    CObjektManager noCatalogue;
    OutputDocument document;
    document.command = "db-compare";
    document.databases = {options.database[0].connection().server, options.database[1].connection().server};
    document.lists.push_back(cliOutputList("db-compare", "The objects of two databases compared", list, noCatalogue,
                                           CliListOptions{false, options.ansi, oemCodePage()}));
    out << formatOutput(document, options.format, false);
    return finishOutput(out, err, "quellix-cli db-compare", 0);
}
