#include "cli/DbWatchCommand.h"

#include "cli/CliOutput.h"
#include "cli/OutputFormat.h"
#include "cli/DbConnectionOptions.h"
#include "db/SessionWatch.h"
#include "model/StopSignal.h"
#include "settings/WatchSettings.h"
#include "model/CodePage.h"
#include "results/ResultList.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

const char* const kUsage =
    "usage: quellix-cli db-watch --server SERVER --net tcp|netb --program-path DIR [--user USER]\n"
    "                            [--interval SECONDS] [--count N] [--log FILE] [--sessions] [--oem 850|437]\n"
    "                            [--all-types] [--deleted] [--format tsv|json]\n"
    "  Every SECONDS (5..3600, default 20) prints the objects changed since the previous request;\n"
    "  stops after N requests or on Ctrl+C and appends them to FILE. The password is read from\n"
    "  QUELLIX_DB_PASSWORD or asked for on the terminal.\n";

struct WatchOptions {
    DbConnectionOptions connection;
    int interval = 20;
    long count = -1; // no limit
    std::string logFile;
    bool sessions = false;
    WatchScope scope;
    bool json = false; // JSON Lines: one document a request
};

// Every message goes to err as one line, as soon as it is shown.
class LineMessages : public IMessageBoxes {
public:
    explicit LineMessages(std::ostream& err) : m_err(err) {}
    void show(const std::string& text, const std::string& caption, MessageIcon) override
    {
        note(caption == text || caption.empty() ? text : caption + ": " + text);
    }
    void note(const std::string& text) override
    {
        std::string line = text;
        for (char& c : line)
            if (c == '\n' || c == '\r')
                c = ' ';
        m_err << "quellix-cli db-watch: " << line << std::endl;
    }

private:
    std::ostream& m_err;
};

bool parseCount(const std::string& text, long& count)
{
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1)
        return false;
    count = value;
    return true;
}

bool parseValueOption(const std::string& option, const std::string& value, WatchOptions& o, std::string& problem)
{
    if (o.connection.take(option, value, problem) || !problem.empty()) {
        return problem.empty();
    } else if (option == "--interval") {
        if (checkWatchInterval(value, o.interval) != IntervalCheck::Ok)
            problem = "--interval needs a whole number of seconds from " + std::to_string(kWatchIntervalMin) +
                      " to " + std::to_string(kWatchIntervalMax);
    } else if (option == "--count") {
        if (!parseCount(value, o.count))
            problem = "--count needs a number of at least 1";
    } else if (option == "--format" && (value == "tsv" || value == "json")) {
        o.json = value == "json";
    } else if (option == "--format") {
        problem = "--format needs tsv or json (the rows are changes, not findings: no sarif)";
    } else if (option == "--log") {
        o.logFile = value;
    } else if (option == "--oem" && (value == "850" || value == "437")) {
        setOemCodePage(value == "437" ? OemCodePage::CP437 : OemCodePage::CP850);
    } else {
        problem = "unknown option " + option + " " + value;
    }
    return problem.empty();
}

bool parseOptions(const std::vector<std::string>& args, WatchOptions& o, std::string& problem)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--sessions" || args[i] == "--all-types" || args[i] == "--deleted") {
            (args[i] == "--sessions" ? o.sessions : args[i] == "--all-types" ? o.scope.allTypes : o.scope.reportDeleted) =
                true;
            continue;
        }
        if (i + 1 >= args.size()) {
            problem = "missing value after " + args[i];
            return false;
        }
        if (!parseValueOption(args[i], args[i + 1], o, problem))
            return false;
        ++i;
    }
    problem = o.connection.missing();
    return problem.empty();
}

// The rows from first on, every cell as the list text writes it with CR, LF and TAB as blanks.
void writeRows(std::ostream& out, const CResultList& list, int first, bool heading)
{
    auto cell = [&](const std::string& ansi) { out << ansiToUtf8ViaOem(outputCell(ansi), oemCodePage()) << '\t'; };
    if (heading) {
        for (int c = 0; c < list.GetColumnCount(); ++c)
            cell(list.GetColumn(c).heading);
        out << '\n';
    }
    for (int r = first; r < list.GetRowCount(); ++r) {
        for (int c = 0; c < list.GetColumnCount(); ++c)
            cell(list.GetCellText(r, c));
        out << '\n';
    }
}

// The list's rows from first on as a list of the output formats, cells in UTF-8.
OutputList outputRows(const std::string& name, const CResultList& list, int first)
{
    auto cell = [](const std::string& ansi) { return ansiToUtf8ViaOem(outputCell(ansi), oemCodePage()); };
    OutputList out;
    out.name = name;
    for (int c = 0; c < list.GetColumnCount(); ++c)
        out.columns.push_back(cell(list.GetColumn(c).heading));
    for (int r = first; r < list.GetRowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < list.GetColumnCount(); ++c)
            row.push_back(cell(list.GetCellText(r, c)));
        out.rows.push_back(std::move(row));
    }
    return out;
}

// What one request (0: the start) printed, in the chosen format, flushed: tsv the new changed
// objects (their heading at the start, or every request with --sessions) and the sessions table;
// json one line holding the same lists.
void writeRequest(std::ostream& out, const WatchOptions& options, long request, const CResultList& changedObjects,
                  int first, const CResultList& sessions)
{
    if (options.json) {
        OutputDocument document;
        document.command = "db-watch";
        document.databases = {options.connection.connection().server};
        document.request = static_cast<int>(std::min<long>(request, 2147483647L));
        document.lists.push_back(outputRows("changed-objects", changedObjects, first));
        if (options.sessions) // the sessions of this request; none asked for at the start
            document.lists.push_back(outputRows("sessions", sessions, request == 0 ? sessions.GetRowCount() : 0));
        out << jsonLine(document, options.sessions);
    } else {
        writeRows(out, changedObjects, first, request == 0 ? !options.sessions : options.sessions);
        if (options.sessions && request > 0)
            writeRows(out, sessions, 0, true);
    }
    out.flush();
}

// Waits for the interval in short steps; false when stop was set meanwhile.
bool waitInterval(int seconds, const std::atomic<bool>& stop)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (stop.load())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return !stop.load();
}

// Whether the database answers a login now; the failure is reported through messages.
bool reachable(CDatabaseSession& session, const DatabaseConnection& connection)
{
    if (!session.CheckLibraryFile(connection.programPath))
        return false;
    bool ok = session.Login(connection);
    session.Logout();
    return ok;
}

std::atomic<bool> g_signalled{false};

} // namespace

int runDbWatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::atomic<bool>& stop)
{
    WatchOptions options;
    std::string problem;
    if (!parseOptions(args, options, problem)) {
        err << "quellix-cli db-watch: " << problem << "\n" << kUsage;
        return 2;
    }
    std::string reason;
    if (!options.logFile.empty() && !canAppendTo(options.logFile, reason)) {
        err << "quellix-cli db-watch: cannot write " << options.logFile << ": " << reason << "\n";
        return 1;
    }
    if (!options.connection.finish(problem)) {
        err << "quellix-cli db-watch: " << problem << "\n";
        return 1;
    }
    const DatabaseConnection& connection = options.connection.connection();
    LineMessages messages(err);
    CResultList changedObjects;
    CResultList sessions;
    addChangedObjectColumns(changedObjects);
    addSessionColumns(sessions);
    CSystemWatchClock clock;
    CSessionWatch watch(changedObjects, sessions, messages, clock, err);
    if (!reachable(watch.session(), connection))
        return 1;

    watch.Start(connection, options.scope);
    writeRequest(out, options, 0, changedObjects, 0, sessions);
    // Once the output cannot be written nobody reads the watch: it ends.
    for (long done = 0; (options.count < 0 || done < options.count) && out && waitInterval(options.interval, stop);
         ++done) {
        int first = changedObjects.GetRowCount();
        watch.Tick();
        writeRequest(out, options, done + 1, changedObjects, first, sessions);
    }
    bool logWritten = false;
    watch.Stop(options.logFile, &logWritten);
    if (!options.logFile.empty() && !logWritten) {
        err << "quellix-cli db-watch: cannot write " << options.logFile << "\n";
        return 1;
    }
    return finishOutput(out, err, "quellix-cli db-watch", 0);
}

int runDbWatchUntilSignal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    stopOnInterrupt(g_signalled);
    return runDbWatch(args, out, err, g_signalled);
}
