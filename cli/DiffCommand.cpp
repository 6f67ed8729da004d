#include "cli/DiffCommand.h"

#include "cli/CliOutput.h"
#include "cli/CommandHelp.h"
#include "cli/JsonWriter.h"
#include "cli/OutputFormat.h"
#include "merge/ExportComparison.h"
#include "model/CodePage.h"
#include "model/ReadExport.h"

#include <unistd.h>

namespace {

struct DiffOptions {
    std::vector<std::string> paths;
    bool noise = false;
    bool unified = false;
    bool failOnChanges = false;
    bool ansi = false;
    OutputFormat format = OutputFormat::Tsv;
    OemCodePage page = OemCodePage::CP850;
};

std::string helpText()
{
    const CliCommandHelp* help = findCliCommandHelp("diff");
    return help != nullptr ? cliCommandHelpText(*help) : std::string();
}

// The options; an empty text, or the usage problem.
std::string parseOptions(const std::vector<std::string>& args, DiffOptions& options)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--noise") {
            options.noise = true;
        } else if (a == "--unified") {
            options.unified = true;
        } else if (a == "--fail-on-changes") {
            options.failOnChanges = true;
        } else if (a == "--ansi") {
            options.ansi = true;
        } else if (a == "--format") {
            if (i + 1 >= args.size() || !parseOutputFormat(args[i + 1], options.format) ||
                options.format == OutputFormat::Sarif)
                return "--format needs tsv or json";
            ++i;
        } else if (a == "--oem") {
            if (i + 1 >= args.size() || (args[i + 1] != "850" && args[i + 1] != "437"))
                return "--oem needs 850 or 437";
            options.page = args[++i] == "437" ? OemCodePage::CP437 : OemCodePage::CP850;
        } else if (a.size() > 1 && a[0] == '-') {
            return "unknown option: " + a;
        } else {
            options.paths.push_back(a);
        }
    }
    if (options.paths.size() != 2)
        return "diff needs EXPORT_A EXPORT_B";
    if (options.unified && options.format != OutputFormat::Tsv)
        return "--unified writes a diff, not a list: no --format with it";
    return std::string();
}

// Reads and loads one export; false with the message written when it cannot be read or has no object.
bool loadExport(const std::string& path, CSourceText& text, CObjektManager& manager, std::ostream& err)
{
    if (Outcome read = readExportFile(path, text.str()); !read.ok()) {
        err << "quellix-cli: cannot read " << read.reason << "\n"; // the reason names the file
        return false;
    }
    manager.load(&text, path);
    if (text.str().find("OBJECT ") == std::string::npos) {
        err << "no objects in " << path << "\n";
        return false;
    }
    return true;
}

std::string cell(const std::string& ansi, const DiffOptions& options)
{
    return outputCell(options.ansi ? ansi : ansiToUtf8ViaOem(ansi, options.page));
}

void writeHunks(JsonWriter& json, const ElementChange* change, const DiffOptions& options)
{
    json.beginArray();
    for (size_t h = 0; change != nullptr && h < change->hunks.size(); ++h) {
        const LineHunk& hunk = change->hunks[h];
        json.beginObject();
        json.member("oldStart", hunk.oldStart);
        json.member("oldLines", hunk.oldCount);
        json.member("newStart", hunk.newStart);
        json.member("newLines", hunk.newCount);
        json.key("lines");
        json.beginArray();
        for (const DiffLine& line : hunk.lines)
            json.value(std::string(1, line.op) + (options.ansi ? line.text : ansiToUtf8ViaOem(line.text, options.page)));
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void writeJsonList(const std::vector<ComparisonRow>& rows, const DiffOptions& options, std::ostream& out)
{
    JsonWriter json([&](std::string_view piece) { out << piece; }, true);
    json.beginObject();
    json.member("command", "diff");
    json.key("exports");
    json.strings(options.paths);
    json.key("columns");
    json.strings(comparisonColumns());
    json.key("rows");
    json.beginArray();
    for (const ComparisonRow& row : rows) {
        json.beginArray();
        for (const std::string& c : row.cells)
            json.value(cell(c, options));
        json.endArray();
    }
    json.endArray();
    json.key("hunks");
    json.beginArray();
    for (const ComparisonRow& row : rows)
        writeHunks(json, row.change, options);
    json.endArray();
    json.endObject();
    json.finish();
}

void writeList(const std::vector<ComparisonRow>& rows, const DiffOptions& options, std::ostream& out)
{
    if (options.format == OutputFormat::Json) {
        writeJsonList(rows, options, out);
        return;
    }
    std::string text;
    for (const std::string& heading : comparisonColumns())
        text += heading + "\t";
    text += "\n";
    for (const ComparisonRow& row : rows) {
        for (const std::string& c : row.cells)
            text += cell(c, options) + "\t";
        text += "\n";
    }
    out << text;
}

void writeUnified(const ExportComparison& comparison, const CObjektManager& a, const CObjektManager& b,
                  const DiffOptions& options, std::ostream& out)
{
    for (const ObjectChange& object : comparison.objects) {
        if (!showsObject(object, options.noise))
            continue;
        std::string oldText = a.sourceText(object.indexA);
        std::string newText = b.sourceText(object.indexB);
        ansiToOem(oldText);
        ansiToOem(newText);
        out << unifiedObjectDiff(object, oldText, newText);
    }
}

} // namespace

int runDiff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") {
            out << helpText();
            return 0;
        }
    DiffOptions options;
    const std::string problem = parseOptions(args, options);
    if (!problem.empty()) {
        err << "quellix-cli: " << problem << "\n" << helpText();
        return 2;
    }
    setOemCodePage(options.page);
    CSourceText textA, textB;
    CObjektManager a, b;
    if (!loadExport(options.paths[0], textA, a, err) || !loadExport(options.paths[1], textB, b, err))
        return 1;
    TerminalProgress terminal;
    const ExportComparison comparison = compareExports(a, b, isatty(STDERR_FILENO) ? &terminal : nullptr, nullptr);
    terminal.finish();
    for (const std::string& line : comparison.duplicates)
        err << "quellix-cli: " << line << "\n";
    for (const std::string& line : comparison.damaged)
        err << "quellix-cli: " << line << "\n";
    const std::vector<ComparisonRow> rows = comparisonRows(comparison, options.noise);
    if (options.unified)
        writeUnified(comparison, a, b, options, out);
    else
        writeList(rows, options, out);
    out.flush();
    if (!out)
        return 1;
    return options.failOnChanges && !rows.empty() ? 3 : 0;
}
