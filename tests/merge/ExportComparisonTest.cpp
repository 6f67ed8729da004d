#include "merge/ExportComparison.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string smallExport()
{
    std::ifstream in(std::string(QUELLIX_SOURCE_DIR) + "/tests/data/small-export.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// text with every (from, to) pair replaced once, in order.
std::string edited(std::string text, const std::vector<std::pair<std::string, std::string>>& edits)
{
    for (const auto& [from, to] : edits) {
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
    }
    return text;
}

struct Loaded {
    CSourceText text;
    CObjektManager manager;
    Loaded(const std::string& content, const std::string& name)
    {
        text.str() = content;
        manager.load(&text, name);
    }
};

// The rows, cells joined by "|".
std::vector<std::string> rowsOf(const std::string& a, const std::string& b, bool noise,
                                ExportComparison* keep = nullptr)
{
    Loaded la(a, "a.txt"), lb(b, "b.txt");
    ExportComparison comparison = compareExports(la.manager, lb.manager, nullptr, nullptr);
    std::vector<std::string> rows;
    for (const ComparisonRow& row : comparisonRows(comparison, noise)) {
        std::string line;
        for (const std::string& cell : row.cells)
            line += (line.empty() ? "" : "|") + cell;
        rows.push_back(line.substr(0));
    }
    if (keep != nullptr)
        *keep = std::move(comparison);
    return rows;
}

struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> edits;
    std::vector<std::string> rows;
    bool noise = false;
};

} // namespace

TEST(ExportComparison, EachKindOfChangeGivesItsRows)
{
    const std::vector<Case> cases = {
        {"field property by number",
         {{"{ 2   ;   ;Name                ;Text30        }", "{ 2   ;   ;Name                ;Text50        }"}},
         {"Table|18|Customer|changed|FIELDS|2 Name Type|Type=Text30|Type=Text50|"}},
        {"a cell wider than its padding moves only the first line's properties",
         {{";Balance             ;Decimal       ;FieldClass", ";Balance             ;BigInteger1234567;FieldClass"}},
         {"Table|18|Customer|changed|FIELDS|3 Balance Type|Type=Decimal|Type=BigInteger1234567|"}},
        {"field renamed keeps its number",
         {{";Name                ;Text30", ";Search Name         ;Text30"}},
         {"Table|18|Customer|changed|FIELDS|2 Search Name Name|Name=Name|Name=Search Name|"}},
        {"field added and removed",
         {{"    { 2   ;   ;Name                ;Text30        }\r\n", ""},
          {"Text30        }\r\n  }", "Text30        }\r\n    { 5   ;   ;City                ;Text30        }\r\n  }"}},
         {"Table|18|Customer|removed|FIELDS|2 Name|{ 2   ;   ;Name                ;Text30        }||+0 -1",
          "Table|18|Customer|added|FIELDS|5 City||{ 5   ;   ;City                ;Text30        }|+1 -0"}},
        {"property added to a field, multi-line value on one line",
         {{"    { 2   ;   ;Name                ;Text30        }",
           "    { 2   ;   ;Name                ;Text30        ;CaptionML=[DEU=Name;\r\n"
           "                                                              ENU=Name] }"}},
         {"Table|18|Customer|changed|FIELDS|2 Name CaptionML||CaptionML=[DEU=Name; ENU=Name]|"}},
        {"fields moved: the fewest elements",
         {{"    { 1   ;   ;No.                 ;Code20        }\r\n", ""},
          {"    { 4   ;", "    { 1   ;   ;No.                 ;Code20        }\r\n    { 4   ;"}},
         {"Table|18|Customer|moved|FIELDS|1 No.|||"}},
        {"keys by their field list",
         {{"{    ;Name                                     }", "{    ;Name                                     ;MaintainSIFTIndex=No }"}},
         {"Table|18|Customer|changed|KEYS|Name MaintainSIFTIndex||MaintainSIFTIndex=No|"}},
        {"control by ID",
         {{"SourceExpr=\"No.\" }", "SourceExpr=Name }"}},
         {"Form|21|Customer Card|changed|CONTROLS|2 SourceExpr|SourceExpr=\"No.\"|SourceExpr=Name|"}},
        {"trigger code as lines",
         {{"                 NoSeriesMgt.InitSeries", "                 CLEAR(Rec);\r\n                 NoSeriesMgt.InitSeries"}},
         {"Table|18|Customer|changed|PROPERTIES|OnInsert Code|||+1 -0"}},
        {"procedure renamed keeps its ID, code changed, local retyped",
         {{"PROCEDURE AssistEdit@2", "PROCEDURE AssistEditNo@2"},
          {"      Cust@1001 : Record 18;", "      Cust@1001 : Record 36;"},
          {"      EXIT(TRUE);", "      EXIT(FALSE);"}},
         {"Table|18|Customer|changed|CODE|AssistEditNo Name|Name=AssistEdit|Name=AssistEditNo|",
          "Table|18|Customer|changed|CODE|AssistEditNo Code|||+1 -1",
          "Table|18|Customer|changed|CODE|AssistEditNo.Cust Type|Type=Record 18|Type=Record 36|"}},
        {"global added, procedure removed",
         {{"      SalesHeader@1001 : Record 36;\r\n", "      SalesHeader@1001 : Record 36;\r\n      Counter@1002 : Integer;\r\n"},
          {"    LOCAL PROCEDURE NeverCalled@2();\r\n    BEGIN\r\n    END;\r\n\r\n", ""}},
         {"Codeunit|80|Sales-Post|added|CODE|Counter||Counter@1002 : Integer;|+1 -0",
          "Codeunit|80|Sales-Post|removed|CODE|NeverCalled|LOCAL PROCEDURE NeverCalled@2();||+0 -3"}},
        {"object renamed",
         {{"OBJECT Report 101 Customer - List", "OBJECT Report 101 Customer List"}},
         {"Report|101|Customer List|changed|OBJECT|Name|Customer - List|Customer List|"}},
        {"noise only: off by default",
         {{"Version List=;", "Version List=QLX1.00;"}},
         {}},
        {"noise only: shown with the noise filter",
         {{"Version List=;", "Version List=QLX1.00;"}},
         {"Dataport|50000|Customer Import|noise|OBJECT-PROPERTIES|Version List||QLX1.00|"},
         true},
        {"noise beside a change: only the change",
         {{"Date=14.07.03;\r\n    Time=12:00:00;\r\n    Version List=;", "Date=15.07.03;\r\n    Time=12:00:00;\r\n    Version List=;"},
          {"  PROPERTIES\r\n  {\r\n  }\r\n  CODE\r\n  {\r\n    BEGIN", "  PROPERTIES\r\n  {\r\n    Permissions=TableData 18=r;\r\n  }\r\n  CODE\r\n  {\r\n    BEGIN"}},
         {"Dataport|50000|Customer Import|added|PROPERTIES|Permissions||Permissions=TableData 18=r;|+1 -0"}},
        {"object added and removed; a Page is not a Form of the same number",
         {{"OBJECT Form 21 Customer Card", "OBJECT Page 21 Customer Card"}},
         {"Form|21|Customer Card|removed|||||+0 -31", "Page|21|Customer Card|added|||||+31 -0"}},
    };
    const std::string a = smallExport();
    for (const Case& c : cases)
        EXPECT_EQ(rowsOf(a, edited(a, c.edits), c.noise), c.rows) << c.name;
}

TEST(ExportComparison, SameObjectsInAnotherOrderGiveNoRows)
{
    const std::string a = smallExport();
    EXPECT_EQ(rowsOf(a, a, true), std::vector<std::string>());
    // The objects joined again last to first, as split files joined in another order are.
    std::vector<std::string> objects;
    for (size_t at = 0; at != std::string::npos;) {
        const size_t next = a.find("\r\nOBJECT ", at + 1);
        objects.push_back(a.substr(at, next == std::string::npos ? std::string::npos : next + 2 - at));
        at = next == std::string::npos ? next : next + 2;
    }
    std::string reversed;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        reversed += *it + (it->size() > 4 && it->substr(it->size() - 4) == "\r\n\r\n" ? "" : "\r\n");
    ASSERT_GT(objects.size(), 3u);
    EXPECT_EQ(rowsOf(a, reversed, true), std::vector<std::string>());
}

TEST(ExportComparison, RepeatedObjectsAreComparedByTheirFirstAndDamagedOnesAsLines)
{
    const std::string a = smallExport();
    const std::string report = a.substr(a.find("OBJECT Report 101"), a.find("OBJECT Dataport") - a.find("OBJECT Report 101"));
    std::string b = a + "\r\n" + edited(report, {{"Text[250]", "Text[30]"}});
    b = edited(b, {{"  CODE\r\n  {\r\n    BEGIN\r\n    END.\r\n  }\r\n}", "  CODE\r\n  {\r\n    BEGIN\r\n    END.\r\n"}});
    ExportComparison comparison;
    EXPECT_EQ(rowsOf(a, b, false, &comparison),
              std::vector<std::string>({"Dataport|50000|Customer Import|changed|TEXT|Text|||+0 -2"}));
    EXPECT_EQ(comparison.duplicates,
              std::vector<std::string>({"Report 101 stands twice in b.txt; its first occurrence is compared"}));
    EXPECT_EQ(comparison.damaged, std::vector<std::string>({"Dataport 50000 is damaged; compared as text lines"}));
}
