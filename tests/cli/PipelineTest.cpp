// quellix-cli in a build: one line per row, json and sarif output, baselines, exit status 3, check.
#include "support/SarifSchema.h"
#include "support/SmallExport.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/wait.h>

namespace {
namespace fs = std::filesystem;
using nlohmann::json;

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The cells of a tsv line: every cell is followed by a TAB.
std::vector<std::string> tsvCells(const std::string& line)
{
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        cells.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    EXPECT_EQ(start, line.size()) << "a line ends without its last TAB: " << line;
    return cells;
}

// A codeunit with a TAB in its name, unused variables and inserted lines as asked, plus a page.
// extraLines blank comment lines go into OnRun, above every finding; fresh adds one unused local.
std::string baselineExport(int extraLines, bool fresh)
{
    std::string lines;
    for (int i = 0; i < extraLines; ++i)
        lines += "            // inserted line " + std::to_string(i) + "\n";
    return crlf("OBJECT Codeunit 50010 Tab\tName\n"
                "{\n  OBJECT-PROPERTIES\n  {\n    Date=05.07.23;\n    Time=10:06:14 PM;\n    Version List=;\n  }\n"
                "  PROPERTIES\n  {\n    OnRun=BEGIN\n" +
                lines +
                "            Post;\n          END;\n\n  }\n"
                "  CODE\n  {\n    VAR\n      Used@1000 : Integer;\n      Spare@1001 : Integer;\n\n"
                "    PROCEDURE Post@1();\n    VAR\n      Counter@1000 : Integer;\n      Idle@1001 : Decimal;\n" +
                (fresh ? std::string("      Fresh@1002 : Boolean;\n") : std::string()) +
                "    BEGIN\n      Counter := Used;\n    END;\n\n    BEGIN\n    END.\n  }\n}\n\n"
                "OBJECT Page 21 Customer Card\n{\n  PROPERTIES\n  {\n  }\n}\n");
}

// Lines that put the term "Zielwert" at every offset 0..59 from a line start, so that the 100-byte
// window of the search, starting 30 bytes before a hit, starts on a CR, on an LF, and in text.
std::string windowExport()
{
    std::string body;
    for (int k = 0; k < 60; ++k)
        body += std::string(static_cast<size_t>(k), '.') + "Zielwert;\n";
    return baselineExport(0, false) + crlf("\nOBJECT Codeunit 50020 Windows\n{\n  CODE\n  {\n"
                                           "    PROCEDURE Scan@1();\n    BEGIN\n" +
                                           body + "    END;\n\n    BEGIN\n    END.\n  }\n}\n");
}

class Pipeline : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_ON_WINDOWS("runs quellix-cli through a POSIX shell and pipes");
        dir = fs::temp_directory_path() / ("quellix-pipeline-test-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        exportPath = (dir / "export.txt").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    static void write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // quellix-cli with args, its standard input from a pipe fed with input's bytes.
    CliResult run(const std::string& args, const std::string& input = "")
    {
        const fs::path in = dir / "in", out = dir / "out", err = dir / "err";
        write(in.string(), input);
        std::string cmd = "cat '" + in.string() + "' | " + std::string(QUELLIX_BINARY_DIR) + "/quellix-cli " + args +
                          " > '" + out.string() + "' 2> '" + err.string() + "'";
        int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(out), readAll(err)};
    }

    fs::path dir;
    std::string exportPath;
};

// A log valid under the official SARIF 2.1.0 schema whose results name their rules by id and index
// alike and point into the export with lines and columns from 1.
void expectSarif(const json& log)
{
    EXPECT_EQ(sarifSchemaFaults(log.dump()), "");
    ASSERT_EQ(log["runs"].size(), 1u);
    const json& run = log["runs"][0];
    const json& rules = run["tool"]["driver"]["rules"];
    for (const json& result : run["results"]) {
        ASSERT_TRUE(result["ruleIndex"].is_number_integer());
        ASSERT_LT(result["ruleIndex"].get<size_t>(), rules.size());
        EXPECT_EQ(rules[result["ruleIndex"].get<size_t>()]["id"], result["ruleId"]);
        for (const json& location : result.value("locations", json::array()))
            EXPECT_TRUE(location["physicalLocation"].contains("region")) << location.dump();
    }
}

} // namespace

TEST_F(Pipeline, TsvHasOneLinePerRowAndJsonTheSameCells)
{
    write(exportPath, windowExport());
    for (const std::string& command : {std::string("search Zielwert"), std::string("search Tab"),
                                       std::string("unused-variables"), std::string("objects"),
                                       std::string("search Zielwert --locations")}) {
        SCOPED_TRACE(command);
        const std::string verb = command.substr(0, command.find(' '));
        const std::string rest = command.size() > verb.size() ? command.substr(verb.size()) : "";
        CliResult tsv = run(verb + " " + exportPath + rest);
        CliResult js = run(verb + " " + exportPath + rest + " --format json");
        ASSERT_EQ(tsv.status, 0) << tsv.err;
        ASSERT_EQ(js.status, 0) << js.err;
        json doc = json::parse(js.out);
        EXPECT_EQ(doc["export"], exportPath);
        const std::vector<std::string> lines = splitLines(tsv.out);
        ASSERT_EQ(lines.size(), doc["rows"].size() + 1);
        EXPECT_EQ(tsvCells(lines[0]), doc["columns"].get<std::vector<std::string>>());
        for (size_t r = 0; r < doc["rows"].size(); ++r)
            EXPECT_EQ(tsvCells(lines[r + 1]), doc["rows"][r].get<std::vector<std::string>>()) << "row " << r;
        EXPECT_EQ(doc["locations"].size(), doc["rows"].size());
    }
    // check: per analysis its rows, in the order and with the cells of the tsv lines that name it.
    CliResult tsv = run("check " + exportPath);
    CliResult js = run("check " + exportPath + " --format json");
    ASSERT_EQ(js.status, 0) << js.err;
    const json checkDoc = json::parse(js.out);
    std::vector<std::vector<std::string>> fromJson;
    for (const json& analysis : checkDoc["analyses"]) {
        std::vector<std::string> heading = {"Analysis"};
        for (const json& column : analysis["columns"])
            heading.push_back(column);
        fromJson.push_back(heading);
        for (const json& row : analysis["rows"]) {
            fromJson.push_back({analysis["analysis"].get<std::string>()});
            for (const json& cell : row)
                fromJson.back().push_back(cell);
        }
    }
    std::vector<std::vector<std::string>> fromTsv;
    for (const std::string& line : splitLines(tsv.out))
        fromTsv.push_back(tsvCells(line));
    EXPECT_EQ(fromTsv, fromJson);
    EXPECT_GT(fromTsv.size(), 10u); // nine headings and the findings

    // The search hits every one of the 60 lines, and the windows that start on an LF or hold a
    // lone CR are written without it; the TAB of the name is a blank.
    CliResult search = run("search " + exportPath + " Zielwert");
    EXPECT_EQ(splitLines(search.out).size(), 61u);
    CliResult tab = run("search " + exportPath + " Spare --mode case");
    EXPECT_NE(tab.out.find("\tCodeunit 50010 Tab Name\t"), std::string::npos) << tab.out;
    CliResult objects = run("objects " + exportPath);
    EXPECT_NE(objects.out.find("\nCodeunit\t50010\tTab Name\t"), std::string::npos);
    EXPECT_NE(objects.out.find("\nPage\t21\tCustomer Card\t"), std::string::npos);
}

TEST_F(Pipeline, PlainOutputTellsFindingsAndAFullDiskByItsExitStatus)
{
    write(exportPath, windowExport());
    CliResult found = run("unused-variables " + exportPath + " --fail-on-findings");
    EXPECT_EQ(found.status, 3) << found.err;
    EXPECT_GT(splitLines(found.out).size(), 1u);
    CliResult one = run("search " + exportPath + " Scan@1 --fail-on-findings");
    EXPECT_EQ(one.status, 3) << one.err;
    EXPECT_EQ(splitLines(one.out).size(), 2u); // the heading and the one finding
    CliResult none = run("search " + exportPath + " NoSuchTextAnywhere --fail-on-findings");
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(splitLines(none.out).size(), 1u); // the heading line only
    CliResult checkFound = run("check " + exportPath + " --fail-on-findings");
    EXPECT_EQ(checkFound.status, 3) << checkFound.err;

    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    for (const std::string& command : {std::string("unused-variables ") + exportPath,
                                       std::string("check ") + exportPath,
                                       std::string("search ") + exportPath + " Zielwert --format json"}) {
        SCOPED_TRACE(command);
        const std::string cmd = std::string(QUELLIX_BINARY_DIR) + "/quellix-cli " + command + " > /dev/full 2> '" +
                                (dir / "err").string() + "' < /dev/null";
        int raw = std::system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), 1);
        EXPECT_NE(readAll(dir / "err").find("cannot write the output"), std::string::npos);
    }
}

TEST_F(Pipeline, JsonLocationsNameTheObjectAndItsLines)
{
    write(exportPath, windowExport());
    CliResult r = run("unused-variables " + exportPath + " --format json");
    ASSERT_EQ(r.status, 0) << r.err;
    json doc = json::parse(r.out);
    const std::vector<std::string> file = splitLines(windowExport());
    ASSERT_FALSE(doc["rows"].empty());
    for (size_t i = 0; i < doc["rows"].size(); ++i) {
        const json& l = doc["locations"][i];
        ASSERT_TRUE(l.is_object());
        const std::string name = doc["rows"][i][2];
        EXPECT_EQ(file[l["line"].get<size_t>() - 1].substr(l["column"].get<size_t>() - 1, name.size()), name);
        EXPECT_EQ(l["objectType"], "Codeunit");
        EXPECT_EQ(l["objectName"], "Tab Name");
        // The codeunit is the first object, so its lines are the file's.
        EXPECT_EQ(l["objectLine"], l["line"]);
        EXPECT_EQ(windowExport().substr(l["position"].get<size_t>(), name.size()), name);
    }
}

// Every object after the first starts after a blank line: a row at its object or at a name in it
// counts its object's lines from the OBJECT line.
TEST_F(Pipeline, ObjectLinesCountFromTheObjectLineOfEveryObject)
{
    write(exportPath, windowExport());
    const std::vector<std::string> file = splitLines(windowExport());
    int atObject = 0;
    for (const std::string& command : {"number-range " + exportPath + " 1 99999", "check " + exportPath}) {
        CliResult r = run(command + " --format json");
        ASSERT_LE(r.status, 3) << r.err;
        const json doc = json::parse(r.out);
        const json lists = doc.contains("analyses") ? doc["analyses"] : json::array({doc});
        for (const json& list : lists)
            for (const json& l : list["locations"]) {
                if (l.is_null())
                    continue;
                const std::string objectLine = file.at(l["line"].get<size_t>() - l["objectLine"].get<size_t>());
                EXPECT_EQ(objectLine.rfind("OBJECT " + l["objectType"].get<std::string>(), 0), 0u) << command;
                atObject += l["objectLine"] == 1;
            }
    }
    EXPECT_GE(atObject, 3); // the number range's rows, one per object
}

TEST_F(Pipeline, SarifIsValidUnderThe210SchemaAndPointsAtTheFindings)
{
    // LF line ends: the loaded text gets CR LF, the lines and columns must still be the file's.
    std::string lf = windowExport();
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    lf = std::string("\n\n") + lf; // blank lines before the first object
    write(exportPath, lf);
    CliResult r = run("check " + exportPath + " --format sarif");
    ASSERT_EQ(r.status, 0) << r.err;
    json log = json::parse(r.out);
    expectSarif(log);
    const json& run0 = log["runs"][0];
    EXPECT_EQ(run0["tool"]["driver"]["rules"].size(), 9u);
    const std::vector<std::string> file = splitLines(lf);
    int pointed = 0;
    for (const json& result : run0["results"]) {
        if (result["ruleId"] != "unused-variables")
            continue;
        const json& region = result["locations"][0]["physicalLocation"]["region"];
        const std::string& line = file.at(region["startLine"].get<size_t>() - 1);
        const std::string at = line.substr(region["startColumn"].get<size_t>() - 1);
        const std::string message = result["message"]["text"];
        const std::string name = at.substr(0, at.find('@'));
        EXPECT_NE(message.find("Name: " + name + ";"), std::string::npos) << message << " / " << line;
        EXPECT_EQ(result["locations"][0]["logicalLocations"][0]["fullyQualifiedName"], "Codeunit 50010 Tab Name");
        ++pointed;
    }
    EXPECT_EQ(pointed, 2); // Spare and Idle
    // The local of Post names its procedure as the second logical location.
    bool procedureNamed = false;
    for (const json& result : run0["results"])
        for (const json& logical : result["locations"][0]["logicalLocations"])
            procedureNamed = procedureNamed || logical["fullyQualifiedName"] == "Codeunit 50010 Tab Name::Post";
    EXPECT_TRUE(procedureNamed);
}

// What code-scanning services read beyond the schema: the tool's version and documentation, each
// rule's name and texts, file URIs for absolute paths, and catalogue rows at their OBJECT line.
TEST_F(Pipeline, SarifNamesItsToolAndRulesAndPointsAtFilesByUri)
{
    write(exportPath, windowExport());
    const json log = json::parse(run("check " + exportPath + " --format sarif").out);
    const json& driver = log["runs"][0]["tool"]["driver"];
    EXPECT_FALSE(driver["version"].get<std::string>().empty());
    EXPECT_FALSE(driver["informationUri"].get<std::string>().empty());
    EXPECT_EQ(driver["rules"][0]["name"], "UnusedVariables");
    for (const json& rule : driver["rules"]) {
        EXPECT_GT(rule["fullDescription"]["text"].get<std::string>().size(), 40u) << rule.dump();
        EXPECT_NE(rule["help"]["text"].get<std::string>().find("--baseline"), std::string::npos) << rule.dump();
    }
    ASSERT_EQ(exportPath.front(), '/');
    EXPECT_EQ(log["runs"][0]["artifacts"][0]["location"]["uri"], "file://" + exportPath);

    const json objects = json::parse(run("objects " + exportPath + " --format sarif").out);
    const std::vector<std::string> file = splitLines(windowExport());
    ASSERT_EQ(objects["runs"][0]["results"].size(), 3u);
    for (const json& result : objects["runs"][0]["results"]) {
        const json& region = result["locations"][0]["physicalLocation"]["region"];
        EXPECT_EQ(file.at(region["startLine"].get<size_t>() - 1).rfind("OBJECT ", 0), 0u) << result.dump();
    }
}

TEST_F(Pipeline, BaselineKeepsOnlyNewFindingsAndTheExitStatusTellsThem)
{
    write(exportPath, baselineExport(0, false));
    const std::string baseline = (dir / "baseline.txt").string();
    CliResult first = run("check " + exportPath + " --write-baseline " + baseline + " --fail-on-findings");
    EXPECT_EQ(first.status, 3) << first.err; // findings remain without a baseline
    const std::vector<std::string> accepted = splitLines(readAll(baseline));
    ASSERT_GE(accepted.size(), 3u);
    EXPECT_TRUE(std::is_sorted(accepted.begin() + 1, accepted.end()));
    EXPECT_NE(std::find(accepted.begin(), accepted.end(), "unused-variables\tCodeunit 50010\t\tSpare\tglobal Var\t\t"),
              accepted.end());
    for (const std::string& line : accepted)
        EXPECT_EQ(line.find("Tab\tName"), std::string::npos) << line;

    // Lines above every finding and one new unused local: only that one is reported.
    write(exportPath, baselineExport(7, true));
    for (const std::string& format : {std::string("tsv"), std::string("json"), std::string("sarif")}) {
        CliResult again = run("check " + exportPath + " --baseline " + baseline + " --fail-on-findings --format " + format);
        EXPECT_EQ(again.status, 3) << format << again.err;
        if (format == "tsv") {
            EXPECT_EQ(std::count(again.out.begin(), again.out.end(), '\n'), 10) << again.out; // 9 headings, 1 row
            EXPECT_NE(again.out.find("\nunused-variables\tCodeunit 50010 Tab Name\t\tFresh\tProc. \t\tPost@1()\t\n"),
                      std::string::npos) << again.out;
        } else if (format == "sarif") {
            json log = json::parse(again.out);
            EXPECT_EQ(sarifSchemaFaults(again.out), "");
            ASSERT_EQ(log["runs"][0]["results"].size(), 1u);
            const json& region = log["runs"][0]["results"][0]["locations"][0]["physicalLocation"]["region"];
            const std::vector<std::string> edited = splitLines(baselineExport(7, true));
            EXPECT_EQ(edited.at(region["startLine"].get<size_t>() - 1).substr(region["startColumn"].get<size_t>() - 1),
                      "Fresh@1002 : Boolean;");
        }
    }
    CliResult single = run("unused-variables " + exportPath + " --baseline " + baseline + " --fail-on-findings");
    EXPECT_EQ(single.status, 3);
    EXPECT_EQ(splitLines(single.out).size(), 2u);

    // The edit without the new variable: nothing new, exit status 0, only the heading lines.
    write(exportPath, baselineExport(7, false));
    CliResult clean = run("check " + exportPath + " --baseline " + baseline + " --fail-on-findings");
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_EQ(std::count(clean.out.begin(), clean.out.end(), '\n'), 9);

    // A baseline that cannot be read is a failure, not an empty baseline.
    EXPECT_EQ(run("check " + exportPath + " --baseline " + (dir / "none.txt").string()).status, 1);
}

// A codeunit whose local Cust (repeating the global) sits in procedure A or B, and whose global
// Text000 is used once in A, with comment lines after that use.
std::string movesExport(char localIn, int commentLines)
{
    auto local = [&](char proc) { return proc == localIn ? std::string("    VAR\n      Cust@1000 : Record 18;\n") : ""; };
    std::string comments;
    for (int i = 0; i < commentLines; ++i)
        comments += "      // note " + std::to_string(i) + "\n";
    return crlf("OBJECT Codeunit 50030 Moves\n{\n  CODE\n  {\n    VAR\n      Cust@1000 : Record 18;\n"
                "      Text000@1001 : TextConst 'ENU=x';\n\n    PROCEDURE A@1();\n" + local('A') +
                "    BEGIN\n      MESSAGE(Text000);\n" + comments + "      Cust.FIND;\n    END;\n\n"
                "    PROCEDURE B@2();\n" + local('B') + "    BEGIN\n      Cust.FIND;\n    END;\n\n"
                "    BEGIN\n    END.\n  }\n}\n");
}

// A finding keeps its identity under inserted lines and loses it when it moves to another procedure.
TEST_F(Pipeline, BaselineIdentityHoldsTheProcedureAndNeverTheTextAround)
{
    const struct {
        std::string command, before, after;
        int status;
    } cases[] = {
        {"check", movesExport('A', 0), movesExport('A', 10), 0},
        {"check", movesExport('A', 0), movesExport('B', 0), 3},
        // The catalogue's Start and End are positions: an object that grew is no new one.
        {"objects", movesExport('A', 0), movesExport('A', 10), 0},
    };
    const std::string baseline = (dir / "baseline.txt").string();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        write(exportPath, c.before);
        ASSERT_EQ(run(c.command + " " + exportPath + " --write-baseline " + baseline).status, 0);
        write(exportPath, c.after);
        CliResult r = run(c.command + " " + exportPath + " --baseline " + baseline + " --fail-on-findings");
        EXPECT_EQ(r.status, c.status) << r.out;
    }
    // Every SARIF result has a fingerprint of its own.
    write(exportPath, windowExport() + crlf("\n") + movesExport('A', 0));
    const json log = json::parse(run("check " + exportPath + " --format sarif").out);
    std::set<std::string> fingerprints;
    for (const json& result : log["runs"][0]["results"])
        EXPECT_TRUE(fingerprints.insert(result["partialFingerprints"].dump()).second) << result.dump();
    EXPECT_GT(fingerprints.size(), 4u);
}

TEST_F(Pipeline, CheckOverOneLoadListsWhatEachAnalysisListsAlone)
{
    for (const std::string& text : {smallExport(), windowExport()}) {
        write(exportPath, text);
        CliResult check = run("check " + exportPath);
        ASSERT_EQ(check.status, 0) << check.err;
        std::string alone;
        for (const char* name : {"unused-variables", "unused-functions", "unused-fields", "unused-sumindexfields",
                                 "local-global", "once-used", "duplicate-ids", "page-translations", "check-forms"}) {
            CliResult one = run(std::string(name) + " " + exportPath);
            const std::vector<std::string> lines = splitLines(one.out);
            for (size_t i = 0; i < lines.size(); ++i)
                alone += (i == 0 ? std::string("Analysis") : std::string(name)) + "\t" + lines[i] + "\n";
        }
        EXPECT_EQ(check.out, alone);
    }
    write(exportPath, smallExport());
    CliResult some = run("check " + exportPath + " --only once-used,unused-functions");
    ASSERT_EQ(some.status, 0);
    EXPECT_EQ(run("check " + exportPath + " --only once-used,unused-functions,once-used").out, some.out);
    EXPECT_EQ(some.out.rfind("Analysis\tObject\t", 0), 0u);
    EXPECT_EQ(run("check " + exportPath + " --only split").status, 2);
    EXPECT_EQ(run("check " + exportPath + " --only nothing").status, 2);
    EXPECT_EQ(run("objects " + exportPath + " --only once-used").status, 2);
    EXPECT_EQ(run("objects " + exportPath + " --format xml").status, 2);
    EXPECT_EQ(run("objects " + exportPath + " --format json --ansi").status, 2);
    EXPECT_EQ(run("export-code " + exportPath + " " + (dir / "c.txt").string() + " --format json").status, 2);
}

// The export comes from a pipe as from a file; a file without an OBJECT line is no export, and a
// gate on it fails instead of passing on no findings.
TEST_F(Pipeline, ExportsFromPipesAndFilesThatAreNoExport)
{
    write(exportPath, windowExport());
    const CliResult fromFile = run("check " + exportPath + " --fail-on-findings");
    for (const std::string source : {"-", "/dev/stdin"}) {
        const CliResult piped = run("check " + source + " --fail-on-findings", windowExport());
        EXPECT_EQ(piped.status, fromFile.status) << source << piped.err;
        EXPECT_EQ(piped.out, fromFile.out) << source;
    }
    for (const std::string& bytes : {std::string(), std::string("\x7F\x01\xFE garbage\n\n", 14),
                                    std::string("version https://git-lfs.github.com/spec/v1\noid sha256:4d7a\nsize 155189231\n")}) {
        write(exportPath, bytes);
        const CliResult gate = run("check " + exportPath + " --fail-on-findings");
        EXPECT_EQ(gate.status, 1) << bytes;
        EXPECT_EQ(gate.err, "quellix-cli: no objects in " + exportPath + "\n");
        const CliResult objects = run("objects " + exportPath);
        EXPECT_EQ(objects.status, 0);
        EXPECT_EQ(objects.out, "Type\tNo.\tName\tStart\tEnd\t\n") << bytes;
    }
}

TEST_F(Pipeline, TheSchemaCheckRejectsABrokenLog)
{
    write(exportPath, windowExport());
    CliResult r = run("unused-variables " + exportPath + " --format sarif");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(sarifSchemaFaults(r.out), "");
    json log = json::parse(r.out);
    log["runs"][0]["results"][0]["locations"][0]["physicalLocation"]["region"]["startLine"] = 0;
    EXPECT_NE(sarifSchemaFaults(log.dump()).find("startLine"), std::string::npos);
    log = json::parse(r.out);
    log["runs"][0]["results"][0]["locations"][0]["logicalLocations"][0]["objectType"] = "Codeunit";
    EXPECT_NE(sarifSchemaFaults(log.dump()).find("objectType"), std::string::npos);
    log = json::parse(r.out);
    log.erase("version");
    EXPECT_NE(sarifSchemaFaults(log.dump()).find("version"), std::string::npos);
    EXPECT_NE(sarifSchemaFaults(r.out.substr(0, r.out.size() / 2)), ""); // cut short
}
