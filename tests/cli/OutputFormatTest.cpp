#include "cli/OutputFormat.h"
#include "support/SarifSchema.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

OutputDocument twoRowDocument()
{
    OutputDocument document;
    document.command = "unused-variables";
    document.exportPath = "my dir/\xC3\xA4.txt";
    OutputList list;
    list.name = "unused-variables";
    list.columns = {"Object", "Name"};
    list.rows = {{"Codeunit 1 A", "x"}, {"Codeunit 1 A", "x"}, {"Table 2 B", "y"}};
    list.identities = {"Codeunit 1\tx", "Codeunit 1\tx", "Table 2\ty"};
    list.locations = {OutputLocation{"Codeunit", 1, "A", "Proc Post@1()", 40, 3, 7, 3, 7}, std::nullopt,
                      std::nullopt};
    document.lists.push_back(list);
    return document;
}

} // namespace

TEST(OutputFormat, CellsAndLines)
{
    EXPECT_EQ(outputCell("a\tb\r\nc\nd\re"), "a bc d e");
    EXPECT_EQ(outputCell(std::string(300, 'x')).size(), 250u);
    EXPECT_EQ(outputCell("\n\r\n\r"), "  "); // a lone LF and CR around a removed pair

    LineIndex lines("ab\r\ncd\nef");
    int line = 0, column = 0;
    lines.lineAndColumn(0, line, column);
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(1, 1));
    lines.lineAndColumn(2, line, column); // the CR ends line 1
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(1, 3));
    lines.lineAndColumn(4, line, column);
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(2, 1));
    lines.lineAndColumn(8, line, column);
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(3, 2));

    OutputFormat format = OutputFormat::Tsv;
    EXPECT_TRUE(parseOutputFormat("sarif", format));
    EXPECT_EQ(format, OutputFormat::Sarif);
    EXPECT_FALSE(parseOutputFormat("JSON", format));
}

TEST(OutputFormat, BaselineAcceptsEachLineOnceAndIsSorted)
{
    OutputDocument document = twoRowDocument();
    const std::string text = Baseline::text(document);
    EXPECT_EQ(text.substr(text.find('\n') + 1), "unused-variables\tCodeunit 1\tx\n"
                                                "unused-variables\tCodeunit 1\tx\n"
                                                "unused-variables\tTable 2\ty\n");
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("quellix-baseline-" + std::to_string(::getpid()) + ".txt")).string();
    // One of the two equal findings accepted, with a CR LF line end and a comment.
    std::ofstream(path, std::ios::binary) << "# accepted\r\nunused-variables\tCodeunit 1\tx\r\n\nother\tTable 2\ty\n";
    Baseline baseline;
    ASSERT_TRUE(baseline.read(path));
    std::remove(path.c_str());
    EXPECT_EQ(baseline.filter(document), 1);
    ASSERT_EQ(document.lists[0].rows.size(), 2u);
    EXPECT_EQ(document.lists[0].rows[1][1], "y"); // another analysis's line accepts nothing here
    EXPECT_FALSE(document.lists[0].locations[0].has_value()); // locations follow their rows
    EXPECT_FALSE(Baseline().read(path));
}

TEST(OutputFormat, JsonAndSarifOfOneList)
{
    OutputDocument document = twoRowDocument();
    nlohmann::json doc = nlohmann::json::parse(formatOutput(document, OutputFormat::Json, false));
    EXPECT_EQ(doc["rows"][2][1], "y");
    EXPECT_EQ(doc["locations"][0]["where"], "Proc Post@1()");
    EXPECT_TRUE(doc["locations"][1].is_null());
    nlohmann::json several = nlohmann::json::parse(formatOutput(document, OutputFormat::Json, true));
    EXPECT_EQ(several["analyses"][0]["analysis"], "unused-variables");

    const std::string sarif = formatOutput(document, OutputFormat::Sarif, false);
    nlohmann::json log = nlohmann::json::parse(sarif);
    const nlohmann::json& result = log["runs"][0]["results"][0];
    EXPECT_EQ(result["message"]["text"], "Object: Codeunit 1 A; Name: x");
    EXPECT_EQ(result["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], "my%20dir/%C3%A4.txt");
    EXPECT_EQ(result["locations"][0]["logicalLocations"][1]["name"], "Post");
    EXPECT_EQ(result["partialFingerprints"]["quellixFinding/v2"], "unused-variables\tCodeunit 1\tx");
    EXPECT_EQ(log["runs"][0]["results"][1]["partialFingerprints"]["quellixFinding/v2"],
              "unused-variables\tCodeunit 1\tx\t2");
    // A row that points nowhere in the export points at the export.
    const nlohmann::json& whole = log["runs"][0]["results"][1]["locations"][0]["physicalLocation"];
    EXPECT_EQ(whole["artifactLocation"]["uri"], "my%20dir/%C3%A4.txt");
    EXPECT_FALSE(whole.contains("region"));

    EXPECT_EQ(formatOutput(document, OutputFormat::Tsv, true),
              "Analysis\tObject\tName\t\nunused-variables\tCodeunit 1 A\tx\t\nunused-variables\tCodeunit 1 A\tx\t\n"
              "unused-variables\tTable 2 B\ty\t\n");

    SKIP_ON_WINDOWS("validates the SARIF log with python3 through a POSIX shell");
    EXPECT_EQ(sarifSchemaFaults(sarif), "");
}
