#include "cli/OutputFormat.h"

#include "cli/JsonWriter.h"
#include "results/ResultList.h"
#include "model/FileAccess.h"
#include "QuellixVersion.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <fstream>

namespace {

const char* const kSarifSchema = "https://json.schemastore.org/sarif-2.1.0.json";
const char* const kInformationUri = "man:quellix-cli(1)";
const char* const kBaselineHelp =
    "Findings that are accepted are silenced with a baseline: write the present ones with "
    "--write-baseline FILE, then pass --baseline FILE on later runs, and only new findings are reported.";

void writeLocation(JsonWriter& json, const OutputLocation& l)
{
    json.beginObject();
    json.member("objectType", l.objectType);
    json.member("objectNumber", l.objectNumber);
    json.member("objectName", l.objectName);
    if (!l.where.empty())
        json.member("where", l.where);
    json.member("position", l.position);
    json.member("line", l.line);
    json.member("column", l.column);
    json.member("objectLine", l.objectLine);
    json.member("objectColumn", l.objectColumn);
    json.endObject();
}

void writeListMembers(JsonWriter& json, const OutputList& list)
{
    json.key("columns");
    json.strings(list.columns);
    json.key("rows");
    json.beginArray();
    for (const auto& row : list.rows) {
        json.beginArray();
        for (const std::string& cell : row)
            json.value(cell);
        for (size_t c = row.size(); c < list.columns.size(); ++c) // missing trailing cells are written empty, as tsv does
            json.value("");
        json.endArray();
    }
    json.endArray();
    json.key("locations");
    json.beginArray();
    for (size_t r = 0; r < list.rows.size(); ++r) {
        if (r < list.locations.size() && list.locations[r])
            writeLocation(json, *list.locations[r]);
        else
            json.null();
    }
    json.endArray();
}

void writeJson(JsonWriter& json, const OutputDocument& document, bool severalLists)
{
    json.beginObject();
    json.member("command", document.command);
    if (!document.exportPath.empty())
        json.member("export", document.exportPath);
    if (!document.databases.empty()) {
        json.key("databases");
        json.strings(document.databases);
    }
    if (document.request)
        json.member("request", *document.request);
    if (!severalLists && document.lists.size() == 1) {
        writeListMembers(json, document.lists.front());
    } else {
        json.key("analyses");
        json.beginArray();
        for (const OutputList& list : document.lists) {
            json.beginObject();
            json.member("analysis", list.name);
            writeListMembers(json, list);
            json.endObject();
        }
        json.endArray();
    }
    json.endObject();
    json.finish();
}

// A path as a URI reference: unreserved characters and "/" stay, every other byte is %XX; an
// absolute path becomes a file: URI (a reference starting with "/" does not combine with a base).
std::string uriReference(const std::string& path)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string uri = !path.empty() && path.front() == '/' ? "file://" : "";
    for (unsigned char c : path) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~' || c == '/') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

// "Heading: cell; Heading: cell" of the non-empty cells.
std::string resultMessage(const OutputList& list, const std::vector<std::string>& row)
{
    std::string text;
    for (size_t c = 0; c < row.size(); ++c) {
        if (row[c].empty())
            continue;
        if (!text.empty())
            text += "; ";
        const std::string heading = c < list.columns.size() ? list.columns[c] : "";
        text += heading.empty() ? row[c] : heading + ": " + row[c];
    }
    return text.empty() ? list.name : text;
}

// The procedure or trigger a location names: "Proc Name@1(...)" gives "Name", "Trigger OnRun"
// gives "OnRun".
std::string memberName(const std::string& where, std::string& kind)
{
    std::string rest;
    if (where.rfind("Proc ", 0) == 0) {
        kind = "function";
        rest = where.substr(5);
        rest = rest.substr(0, std::min(rest.find('@'), rest.find('(')));
    } else if (where.rfind("Trigger ", 0) == 0) {
        kind = "member";
        rest = where.substr(8);
    }
    return rest;
}

// {"text": text} as the value of name.
void writeText(JsonWriter& json, std::string_view name, const std::string& text)
{
    json.key(name);
    json.beginObject();
    json.member("text", text);
    json.endObject();
}

// {"uri": uri} as the value of name.
void writeUri(JsonWriter& json, std::string_view name, const std::string& uri)
{
    json.key(name);
    json.beginObject();
    json.member("uri", uri);
    json.endObject();
}

void writeSarifLocation(JsonWriter& json, const OutputLocation& l, const std::string& uri)
{
    const std::string objectText = l.objectType + " " + std::to_string(l.objectNumber) + " " + l.objectName;
    json.beginObject();
    json.key("physicalLocation");
    json.beginObject();
    writeUri(json, "artifactLocation", uri);
    json.key("region");
    json.beginObject();
    json.member("startLine", l.line);
    json.member("startColumn", l.column);
    json.endObject();
    json.endObject();
    json.key("logicalLocations");
    json.beginArray();
    json.beginObject();
    json.member("name", l.objectName);
    json.member("fullyQualifiedName", objectText);
    json.member("kind", "type");
    json.key("properties");
    json.beginObject();
    json.member("objectType", l.objectType);
    json.member("objectNumber", l.objectNumber);
    json.endObject();
    json.endObject();
    std::string kind;
    const std::string member = memberName(l.where, kind);
    if (!member.empty()) {
        json.beginObject();
        json.member("name", member);
        json.member("fullyQualifiedName", objectText + "::" + member);
        json.member("kind", kind);
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

// "unused-variables" -> "UnusedVariables": the rule's name as code-scanning services show it.
std::string pascalCaseName(const std::string& id)
{
    std::string name;
    bool upper = true;
    for (char c : id) {
        if (c == '-' || c == '_' || c == ' ') {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return name;
}

void writeSarifRule(JsonWriter& json, const OutputList& list)
{
    const std::string shortText = list.description.empty() ? list.name : list.description;
    const std::string fullText = list.details.empty() ? shortText : list.details;
    json.beginObject();
    json.member("id", list.name);
    // A name that differs from the id by letter case only is no name (the validator says so).
    const std::string name = pascalCaseName(list.name);
    if (name.size() != list.name.size())
        json.member("name", name);
    writeText(json, "shortDescription", shortText);
    writeText(json, "fullDescription", fullText);
    writeText(json, "help", fullText + " " + kBaselineHelp);
    json.endObject();
}

void writeSarifResults(JsonWriter& json, const OutputDocument& document, const std::string& uri)
{
    std::map<std::string, int> fingerprints;
    json.beginArray();
    for (size_t i = 0; i < document.lists.size(); ++i) {
        const OutputList& list = document.lists[i];
        for (size_t r = 0; r < list.rows.size(); ++r) {
            json.beginObject();
            json.member("ruleId", list.name);
            json.member("ruleIndex", static_cast<int>(i));
            json.member("level", "warning");
            writeText(json, "message", resultMessage(list, list.rows[r]));
            if (r < list.locations.size() && list.locations[r]) {
                json.key("locations");
                json.beginArray();
                writeSarifLocation(json, *list.locations[r], uri);
                json.endArray();
            } else if (!document.exportPath.empty()) { // the export as a whole
                json.key("locations");
                json.beginArray();
                json.beginObject();
                json.key("physicalLocation");
                json.beginObject();
                writeUri(json, "artifactLocation", uri);
                json.endObject();
                json.endObject();
                json.endArray();
            }
            if (r < list.identities.size()) {
                // Equal findings (the same name twice in one place) are told apart by their count.
                std::string fingerprint = list.name + '\t' + list.identities[r];
                if (int seen = ++fingerprints[fingerprint]; seen > 1)
                    fingerprint += '\t' + std::to_string(seen);
                json.key("partialFingerprints");
                json.beginObject();
                json.member("quellixFinding/v2", fingerprint);
                json.endObject();
            }
            json.endObject();
        }
    }
    json.endArray();
}

void writeSarif(JsonWriter& json, const OutputDocument& document)
{
    const std::string uri = uriReference(document.exportPath);
    json.beginObject();
    json.member("$schema", kSarifSchema);
    json.member("version", "2.1.0");
    json.key("runs");
    json.beginArray();
    json.beginObject();
    json.key("tool");
    json.beginObject();
    json.key("driver");
    json.beginObject();
    json.member("name", "quellix-cli");
    json.member("version", QUELLIX_VERSION);
    json.member("informationUri", kInformationUri);
    json.key("rules");
    json.beginArray();
    for (const OutputList& list : document.lists)
        writeSarifRule(json, list);
    json.endArray();
    json.endObject();
    json.endObject();
    if (!document.exportPath.empty()) {
        json.key("artifacts");
        json.beginArray();
        json.beginObject();
        writeUri(json, "location", uri);
        json.endObject();
        json.endArray();
    }
    json.member("columnKind", "utf16CodeUnits");
    json.key("results");
    writeSarifResults(json, document, uri);
    json.endObject();
    json.endArray();
    json.endObject();
    json.finish();
}

// The tsv text in pieces of about 64 KB, each handed to write.
void writeTsv(const OutputDocument& document, bool analysisColumn, const std::function<void(std::string_view)>& write)
{
    constexpr size_t kPiece = 64 * 1024;
    std::string text;
    for (const OutputList& list : document.lists) {
        text += tsvHeadingLine(list, analysisColumn);
        for (const auto& row : list.rows) {
            appendTsvRow(text, list, row, analysisColumn);
            if (text.size() >= kPiece) {
                write(text);
                text.clear();
            }
        }
    }
    if (!text.empty())
        write(text);
}

} // namespace

std::string tsvHeadingLine(const OutputList& list, bool analysisColumn)
{
    std::string text = analysisColumn ? "Analysis\t" : "";
    for (const std::string& heading : list.columns)
        text.append(heading).push_back('\t');
    text += '\n';
    return text;
}

void appendTsvRow(std::string& text, const OutputList& list, const std::vector<std::string>& row, bool analysisColumn)
{
    if (analysisColumn)
        text.append(list.name).push_back('\t');
    for (size_t c = 0; c < std::max(row.size(), list.columns.size()); ++c) {
        if (c < row.size())
            text.append(row[c]);
        text.push_back('\t');
    }
    text += '\n';
}

bool parseOutputFormat(std::string_view word, OutputFormat& format)
{
    if (word == "tsv")
        format = OutputFormat::Tsv;
    else if (word == "json")
        format = OutputFormat::Json;
    else if (word == "sarif")
        format = OutputFormat::Sarif;
    else
        return false;
    return true;
}

std::string outputCell(std::string_view cell)
{
    std::string text = CResultList::ListTextCell(cell);
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    return text;
}

std::string formatOutput(const OutputDocument& document, OutputFormat format, bool analysisColumn)
{
    std::string text;
    writeOutput(document, format, analysisColumn, [&](std::string_view piece) { text.append(piece); });
    return text;
}

void writeOutput(const OutputDocument& document, OutputFormat format, bool analysisColumn,
                 const std::function<void(std::string_view)>& write)
{
    switch (format) {
    case OutputFormat::Json: {
        JsonWriter json(write, true);
        writeJson(json, document, analysisColumn);
        return;
    }
    case OutputFormat::Sarif: {
        JsonWriter json(write, true);
        writeSarif(json, document);
        return;
    }
    case OutputFormat::Tsv: break;
    }
    writeTsv(document, analysisColumn, write);
}

std::string jsonLine(const OutputDocument& document, bool severalLists)
{
    std::string text;
    JsonWriter json([&](std::string_view piece) { text.append(piece); }, false);
    writeJson(json, document, severalLists);
    return text;
}

bool Baseline::read(const std::string& path)
{
    std::ifstream in(fileSystemPath(path), std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        ++m_accepted[line];
    }
    return !in.bad();
}

int Baseline::filter(OutputDocument& document)
{
    int removed = 0;
    for (OutputList& list : document.lists) {
        OutputList kept = list;
        kept.rows.clear();
        kept.locations.clear();
        kept.identities.clear();
        for (size_t r = 0; r < list.rows.size(); ++r) {
            const std::string identity = r < list.identities.size() ? list.identities[r] : std::string();
            auto found = m_accepted.find(list.name + '\t' + identity);
            if (found != m_accepted.end() && found->second > 0) {
                --found->second;
                ++removed;
                continue;
            }
            kept.rows.push_back(list.rows[r]);
            if (r < list.locations.size())
                kept.locations.push_back(list.locations[r]);
            kept.identities.push_back(identity);
        }
        list = std::move(kept);
    }
    return removed;
}

std::string Baseline::text(const OutputDocument& document)
{
    std::vector<std::string> lines;
    for (const OutputList& list : document.lists)
        for (size_t r = 0; r < list.rows.size(); ++r)
            lines.push_back(list.name + '\t' + (r < list.identities.size() ? list.identities[r] : std::string()));
    std::sort(lines.begin(), lines.end());
    std::string text = "# quellix-cli baseline: analysis, object, identifying cells; one accepted finding a line\n";
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

LineIndex::LineIndex(std::string_view text)
{
    m_starts.push_back(0);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            m_starts.push_back(static_cast<int>(i + 1));
}

void LineIndex::lineAndColumn(int position, int& line, int& column) const
{
    auto next = std::upper_bound(m_starts.begin(), m_starts.end(), position);
    const auto index = static_cast<int>(next - m_starts.begin()) - 1;
    line = index + 1;
    column = position - m_starts[static_cast<size_t>(std::max(index, 0))] + 1;
}
