#include "cli/OutputFormat.h"

#include "results/ResultList.h"
#include "model/FileAccess.h"
#include "QuellixVersion.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <functional>
#include <fstream>

using nlohmann::ordered_json;

namespace {

const char* const kSarifSchema = "https://json.schemastore.org/sarif-2.1.0.json";
const char* const kInformationUri = "man:quellix-cli(1)";
const char* const kBaselineHelp =
    "Findings that are accepted are silenced with a baseline: write the present ones with "
    "--write-baseline FILE, then pass --baseline FILE on later runs, and only new findings are reported.";

ordered_json locationJson(const OutputLocation& l)
{
    ordered_json j;
    j["objectType"] = l.objectType;
    j["objectNumber"] = l.objectNumber;
    j["objectName"] = l.objectName;
    if (!l.where.empty())
        j["where"] = l.where;
    j["position"] = l.position;
    j["line"] = l.line;
    j["column"] = l.column;
    j["objectLine"] = l.objectLine;
    j["objectColumn"] = l.objectColumn;
    return j;
}

void addListMembers(ordered_json& j, const OutputList& list)
{
    j["columns"] = list.columns;
    j["rows"] = ordered_json::array();
    for (const auto& row : list.rows) {
        ordered_json cells = row; // missing trailing cells are written empty, as tsv does
        while (cells.size() < list.columns.size())
            cells.push_back("");
        j["rows"].push_back(std::move(cells));
    }
    ordered_json locations = ordered_json::array();
    for (size_t r = 0; r < list.rows.size(); ++r) {
        if (r < list.locations.size() && list.locations[r])
            locations.push_back(locationJson(*list.locations[r]));
        else
            locations.push_back(nullptr);
    }
    j["locations"] = std::move(locations);
}

ordered_json jsonDocument(const OutputDocument& document, bool severalLists)
{
    ordered_json j;
    j["command"] = document.command;
    if (!document.exportPath.empty())
        j["export"] = document.exportPath;
    if (!document.databases.empty())
        j["databases"] = document.databases;
    if (document.request)
        j["request"] = *document.request;
    if (!severalLists && document.lists.size() == 1) {
        addListMembers(j, document.lists.front());
    } else {
        j["analyses"] = ordered_json::array();
        for (const OutputList& list : document.lists) {
            ordered_json one;
            one["analysis"] = list.name;
            addListMembers(one, list);
            j["analyses"].push_back(std::move(one));
        }
    }
    return j;
}

std::string jsonText(const OutputDocument& document, bool severalLists)
{
    return jsonDocument(document, severalLists).dump(1, '\t', false, nlohmann::json::error_handler_t::replace) +
           "\n";
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

ordered_json sarifLocation(const OutputLocation& l, const std::string& uri)
{
    const std::string objectText = l.objectType + " " + std::to_string(l.objectNumber) + " " + l.objectName;
    ordered_json object;
    object["name"] = l.objectName;
    object["fullyQualifiedName"] = objectText;
    object["kind"] = "type";
    object["properties"] = {{"objectType", l.objectType}, {"objectNumber", l.objectNumber}};
    ordered_json logical = ordered_json::array({object});
    std::string kind;
    const std::string member = memberName(l.where, kind);
    if (!member.empty()) {
        ordered_json m;
        m["name"] = member;
        m["fullyQualifiedName"] = objectText + "::" + member;
        m["kind"] = kind;
        logical.push_back(std::move(m));
    }
    ordered_json location;
    location["physicalLocation"] = {{"artifactLocation", {{"uri", uri}}},
                                    {"region", {{"startLine", l.line}, {"startColumn", l.column}}}};
    location["logicalLocations"] = std::move(logical);
    return location;
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

ordered_json sarifRule(const OutputList& list)
{
    const std::string shortText = list.description.empty() ? list.name : list.description;
    const std::string fullText = list.details.empty() ? shortText : list.details;
    ordered_json rule;
    rule["id"] = list.name;
    // A name that differs from the id by letter case only is no name (the validator says so).
    const std::string name = pascalCaseName(list.name);
    if (name.size() != list.name.size())
        rule["name"] = name;
    rule["shortDescription"] = {{"text", shortText}};
    rule["fullDescription"] = {{"text", fullText}};
    rule["help"] = {{"text", fullText + " " + kBaselineHelp}};
    return rule;
}

std::string sarifText(const OutputDocument& document)
{
    ordered_json rules = ordered_json::array();
    ordered_json results = ordered_json::array();
    const std::string uri = uriReference(document.exportPath);
    std::map<std::string, int> fingerprints;
    for (size_t i = 0; i < document.lists.size(); ++i) {
        const OutputList& list = document.lists[i];
        rules.push_back(sarifRule(list));
        for (size_t r = 0; r < list.rows.size(); ++r) {
            ordered_json result;
            result["ruleId"] = list.name;
            result["ruleIndex"] = static_cast<int>(i);
            result["level"] = "warning";
            result["message"] = {{"text", resultMessage(list, list.rows[r])}};
            if (r < list.locations.size() && list.locations[r])
                result["locations"] = ordered_json::array({sarifLocation(*list.locations[r], uri)});
            else if (!document.exportPath.empty()) // the export as a whole
                result["locations"] = ordered_json::array(
                    {{{"physicalLocation", {{"artifactLocation", {{"uri", uri}}}}}}});
            if (r < list.identities.size()) {
                // Equal findings (the same name twice in one place) are told apart by their count.
                std::string fingerprint = list.name + '\t' + list.identities[r];
                if (int seen = ++fingerprints[fingerprint]; seen > 1)
                    fingerprint += '\t' + std::to_string(seen);
                result["partialFingerprints"] = {{"quellixFinding/v2", fingerprint}};
            }
            results.push_back(std::move(result));
        }
    }
    ordered_json driver;
    driver["name"] = "quellix-cli";
    driver["version"] = QUELLIX_VERSION;
    driver["informationUri"] = kInformationUri;
    driver["rules"] = std::move(rules);
    ordered_json run;
    run["tool"] = {{"driver", std::move(driver)}};
    if (!document.exportPath.empty())
        run["artifacts"] = ordered_json::array({{{"location", {{"uri", uri}}}}});
    run["columnKind"] = "utf16CodeUnits";
    run["results"] = std::move(results);
    ordered_json log;
    log["$schema"] = kSarifSchema;
    log["version"] = "2.1.0";
    log["runs"] = ordered_json::array({std::move(run)});
    return log.dump(1, '\t', false, nlohmann::json::error_handler_t::replace) + "\n";
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
    case OutputFormat::Json: write(jsonText(document, analysisColumn)); return;
    case OutputFormat::Sarif: write(sarifText(document)); return;
    case OutputFormat::Tsv: break;
    }
    writeTsv(document, analysisColumn, write);
}

std::string jsonLine(const OutputDocument& document, bool severalLists)
{
    return jsonDocument(document, severalLists).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
           "\n";
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
