#include "analysis/AwareRules.h"
#include "model/ReadExport.h"
#include "results/ResultList.h"
#include "support/SmallExport.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>

namespace {
std::vector<std::vector<std::string>> rows(const CResultList& list)
{
    std::vector<std::vector<std::string>> out;
    for (int r = 0; r < list.GetRowCount(); ++r)
        out.push_back(list.GetRow(r).cells);
    return out;
}

struct Progress : IProgress {
    int low = -1, high = -1, pos = -1, calls = 0;
    void setRange(int l, int h) override { low = l, high = h; }
    void setPos(int p) override { pos = p, ++calls; }
};

// The unused-procedure rule applied literally, two whole-text searches per procedure: the slow
// reference the name index is compared with on large exports (small cases write their rows out).
std::vector<std::vector<std::string>> unusedProceduresDirect(CObjektManager& m)
{
    std::vector<std::vector<std::string>> out;
    for (int i = 0; i < m.count(); ++i) {
        CObjectRecord& r = m.get(i);
        r.ensureCode();
        for (const CProcedure& proc : r.procedures) {
            std::string name = proc.name();
            int d = proc.span.start() + (proc.isLocal ? 22 : 16);
            int p = m.text()->findWholeWord(name, 0);
            if (p == d)
                p = m.text()->findWholeWord(name, d + static_cast<int>(name.size()));
            if (p == -1)
                out.push_back({std::string(r.headerText()), "", proc.signature,
                               proc.isLocal ? "locale Proc. " : "Proc. ", "", proc.signature});
        }
    }
    return out;
}
} // namespace

TEST(UnusedVariables, ProcedureLocalsThenTriggerLocalsThenGlobals)
{
    LoadedExport e(smallExport());
    CResultList list;
    Progress progress;
    e.manager->findUnusedVariables(list, &progress);
    EXPECT_EQ(list.GetColumnCount(), 6);
    EXPECT_EQ(list.GetColumn(1).heading, "Count of unused Vars");
    const std::string t18 = "Table 18 Customer";
    const std::string sig = "CheckCredit@1(VAR Amount@1000 : Decimal) : Boolean";
    std::vector<std::vector<std::string>> expected = {
        {t18, "", "Customer", "Proc. ", "", sig},
        {t18, "", "Cust", "Proc. ", "", sig},
        {t18, "", "Spare", "Trigger", "OnInsert", "OnInsert"},
        {t18, "", "Unused", "global Var", ""},
    };
    EXPECT_EQ(rows(list), expected);
    ASSERT_EQ(e.manager->results.count(), 4);
    EXPECT_EQ(list.GetItemData(3), 3);
    EXPECT_EQ(list.GetIcon(0), 163);
    EXPECT_EQ(e.manager->results[3].position, static_cast<int>(e.whole().find("Unused@1003")));
    EXPECT_EQ(e.manager->results[2].where, "Trigger OnInsert");
    EXPECT_EQ(progress.high, 3);
    EXPECT_EQ(progress.pos, 3);
}

TEST(UnusedVariables, GlobalsUsePlainSearchLocalsWholeWordsAndCase)
{
    LoadedExport e(crlf(R"(OBJECT Codeunit 7 Scope
{
  PROPERTIES
  {
    OnRun=BEGIN
            Customer.INIT;
            LocalTest;
          END;

  }
  CODE
  {
    VAR
      Cust@1000 : Record 18;
      Other@1001 : Integer;

    LOCAL PROCEDURE LocalTest@1();
    VAR
      Cust@1000 : Record 18;
      Amount@1001 : Decimal;
    BEGIN
      Customer.INIT;
      amount := 1;
    END;

    BEGIN
    END.
  }
}

OBJECT Codeunit 8 Elsewhere
{
  CODE
  {

    PROCEDURE Use@1();
    BEGIN
      Other := 1;
    END;

    BEGIN
    END.
  }
}
)"));
    CResultList list;
    e.manager->findUnusedVariables(list, nullptr);
    auto r = rows(list);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0][2], "Cust");   // local: "Customer" is no whole-word use
    EXPECT_EQ(r[0][3], "local Proc. ");
    EXPECT_EQ(r[1][2], "Amount"); // "amount" in another case does not count
    EXPECT_EQ(r[2][2], "Other");  // a global used only in another object
    EXPECT_EQ(r[2][3], "global Var");
}

TEST(UnusedFunctions, OnlyProceduresWithoutAnyOtherWholeWordUse)
{
    LoadedExport e(smallExport());
    CResultList list;
    e.manager->findUnusedProcedures(list, nullptr);
    ASSERT_EQ(list.GetRowCount(), 1);
    std::vector<std::string> row = list.GetRow(0).cells;
    EXPECT_EQ(row, (std::vector<std::string>{"Codeunit 50000 Sales Helper", "", "Orphan@2()", "locale Proc. ", "",
                                             "Orphan@2()"}));
    EXPECT_EQ(e.manager->results[0].position, static_cast<int>(e.whole().find("Orphan@2")));
    EXPECT_EQ(e.manager->results[0].where, "Proc Orphan@2()");
}

TEST(UnusedFunctions, LongerIdentifiersCaseAndOtherDeclarations)
{
    LoadedExport e(crlf(R"(OBJECT Codeunit 1 A
{
  CODE
  {

    PROCEDURE CheckCredit@1();
    BEGIN
      CheckCreditLimit := checkcredit;
    END;

    PROCEDURE Twin@2();
    BEGIN
    END;

    PROCEDURE Before@3();
    BEGIN
    END;

    BEGIN
    END.
  }
}

OBJECT Codeunit 2 B
{
  CODE
  {

    PROCEDURE Twin@1();
    BEGIN
    END;

    BEGIN
    END.
  }
}
)"));
    CResultList list;
    e.manager->findUnusedProcedures(list, nullptr);
    // Twin: each declaration uses the other.
    EXPECT_EQ(rows(list), (std::vector<std::vector<std::string>>{
                              {"Codeunit 1 A", "", "CheckCredit@1()", "Proc. ", "", "CheckCredit@1()"},
                              {"Codeunit 1 A", "", "Before@3()", "Proc. ", "", "Before@3()"},
                          }));
}

TEST(UnusedFunctions, NamesWithUmlautsUnderscoresAndUsesBeforeTheDeclaration)
{
    LoadedExport e(crlf("OBJECT Codeunit 1 A\n{\n  CODE\n  {\n\n"
                        "    PROCEDURE Pr\xFC" "fen@1();\n    BEGIN\n      Pr\xFC" "fenX;\n    END;\n\n"
                        "    PROCEDURE _Under@2();\n    BEGIN\n    END;\n\n"
                        "    PROCEDURE Late@3();\n    BEGIN\n      Early;\n    END;\n\n"
                        "    PROCEDURE Early@4();\n    BEGIN\n      x._Under;\n    END;\n\n"
                        "    PROCEDURE NoAt();\n    BEGIN\n    END;\n\n    BEGIN\n    END.\n  }\n}\n"));
    CResultList list;
    e.manager->findUnusedProcedures(list, nullptr);
    // Pruefen stands only inside a longer word; Early is used before its declaration, _Under after ".".
    EXPECT_EQ(rows(list), (std::vector<std::vector<std::string>>{
                              {"Codeunit 1 A", "", "Pr\xFC" "fen@1()", "Proc. ", "", "Pr\xFC" "fen@1()"},
                              {"Codeunit 1 A", "", "Late@3()", "Proc. ", "", "Late@3()"},
                              {"Codeunit 1 A", "", "NoAt()", "Proc. ", "", "NoAt()"},
                          }));
}

// Names that share their first run of letters and digits ("Post") are told apart by what follows.
TEST(UnusedFunctions, NamesSharingTheirFirstWordAreToldApart)
{
    LoadedExport e(crlf("OBJECT Codeunit 1 A\n{\n  CODE\n  {\n\n"
                        "    PROCEDURE Post_Line@1();\n    BEGIN\n      Post_LineX;\n    END;\n\n"
                        "    PROCEDURE Post_Head@2();\n    BEGIN\n      Post_Header;\n    END;\n\n"
                        "    PROCEDURE Post@3();\n    BEGIN\n    END;\n\n"
                        "    PROCEDURE Post_Header@4();\n    BEGIN\n    END;\n\n    BEGIN\n    END.\n  }\n}\n"));
    CResultList list;
    e.manager->findUnusedProcedures(list, nullptr);
    EXPECT_EQ(rows(list), (std::vector<std::vector<std::string>>{
                              {"Codeunit 1 A", "", "Post_Line@1()", "Proc. ", "", "Post_Line@1()"},
                              {"Codeunit 1 A", "", "Post_Head@2()", "Proc. ", "", "Post_Head@2()"},
                          }));
}

// The name index reads slices of a long text on threads of their own, one per core: calls laid
// across every border the slices can have on up to 8 cores are found.
TEST(UnusedFunctions, CallsAcrossTheBordersOfTheIndexSlicesAreFound)
{
    const size_t filler = 9 << 20;
    std::string head = "OBJECT Codeunit 1 A\r\n{\r\n  CODE\r\n  {\r\n\r\n";
    std::set<size_t> borders;
    std::string body = "      " + std::string(filler, ' ') + "\r\n";
    std::string procedures;
    int id = 0;
    for (size_t slices = 2; slices <= 8; ++slices)
        for (size_t k = 1; k < slices; ++k)
            borders.insert(filler * k / slices);
    for (size_t border : borders) {
        const std::string name = "Border" + std::to_string(++id);
        procedures += "    PROCEDURE " + name + "@" + std::to_string(id) + "();\r\n    BEGIN\r\n    END;\r\n\r\n";
        (void)border;
    }
    procedures += "    PROCEDURE NeverCalled@99();\r\n    BEGIN\r\n";
    const std::string tail = "    END;\r\n\r\n    BEGIN\r\n    END.\r\n  }\r\n}\r\n";
    std::string text = head + procedures + body + tail;
    // Each call starts three bytes before a border of the text (the slices divide the whole text).
    id = 0;
    const size_t n = text.size();
    std::set<size_t> textBorders;
    for (size_t slices = 2; slices <= 8; ++slices)
        for (size_t k = 1; k < slices; ++k)
            textBorders.insert(n * k / slices);
    ASSERT_EQ(textBorders.size(), borders.size());
    for (size_t border : textBorders) {
        const std::string name = "Border" + std::to_string(++id);
        const size_t at = border - 3;
        ASSERT_EQ(text.substr(at - 1, name.size() + 2), std::string(name.size() + 2, ' '));
        text.replace(at, name.size(), name);
    }
    LoadedExport e(text);
    CResultList list;
    e.manager->findUnusedProcedures(list, nullptr);
    EXPECT_EQ(rows(list), (std::vector<std::vector<std::string>>{
                              {"Codeunit 1 A", "", "NeverCalled@99()", "Proc. ", "", "NeverCalled@99()"}}));
    e.manager->findUnusedProcedures(list, nullptr, true);
    EXPECT_EQ(rows(list), (std::vector<std::vector<std::string>>{
                              {"Codeunit 1 A", "", "NeverCalled@99()", "Proc. ", "", "NeverCalled@99()"}}));
}

TEST(UnusedFunctions, ANameAtTheEndOfALongerWordIsNoUseAtAnyAlignment)
{
    // The text is read in blocks of bytes: "RePost" and "PostX" stand at every offset, so each
    // meets a block's border somewhere inside; whole words alone are uses, so Post stays unused.
    for (size_t shift = 0; shift < 80; ++shift) {
        const std::string text = crlf("OBJECT Codeunit 1 A\n{\n  CODE\n  {\n\n    PROCEDURE Post@1();\n    BEGIN\n" "      " +
                                      std::string(shift, ' ') + "RePost := PostX;\n    END;\n\n    BEGIN\n    END.\n  }\n}\n");
        LoadedExport e(text);
        CResultList list;
        e.manager->findUnusedProcedures(list, nullptr);
        ASSERT_EQ(list.GetRowCount(), 1) << shift;
    }
}

namespace {
std::unique_ptr<LoadedExport> loadFile(const std::string& path)
{
    CSourceText text;
    if (!readExportFile(path, text.str()).ok())
        return nullptr;
    return std::make_unique<LoadedExport>(text.str(), path);
}
} // namespace

TEST(UnusedFunctions, IndexMatchesTheDirectRuleOnTheSampleAndAGeneratedExport)
{
    SKIP_ON_WINDOWS("runs the benchmark tool gen_export through a POSIX shell");
    const std::string generated = std::string(QUELLIX_BINARY_DIR) + "/unused-functions-generated.txt";
    const std::string command = std::string(QUELLIX_BINARY_DIR) + "/bench/gen_export '" + generated + "' 3 11";
    ASSERT_EQ(std::system(command.c_str()), 0);
    // The real shape: pages, XMLports, queries and menusuites, names that share their first words.
    const std::string realShaped = std::string(QUELLIX_BINARY_DIR) + "/unused-functions-real.txt";
    const std::string realCommand = std::string(QUELLIX_BINARY_DIR) + "/bench/gen_export '" + realShaped + "' 2 11 --real";
    ASSERT_EQ(std::system(realCommand.c_str()), 0);
    for (const std::string& path :
         {std::string(QUELLIX_SOURCE_DIR) + "/examples/sample-export.txt", generated, realShaped}) {
        auto e = loadFile(path);
        ASSERT_TRUE(e) << path;
        CResultList list;
        e->manager->findUnusedProcedures(list, nullptr);
        auto direct = unusedProceduresDirect(*e->manager);
        EXPECT_FALSE(direct.empty()) << path;
        EXPECT_EQ(rows(list), direct) << path;
    }
    std::remove(generated.c_str());
    std::remove(realShaped.c_str());
}

namespace {
// An export of random procedure and field names that share first words and differ in letter
// case, used in random letter case, inside longer words and across objects.
std::string randomCaseExport(std::mt19937& random)
{
    const char* const heads[] = {"Post", "post", "POST", "Calc", "cALC", "Line"};
    const char* const tails[] = {"", "_Line", "_line", "Line", "2", "_Head", "x"};
    auto name = [&] { return std::string(heads[random() % 6]) + tails[random() % 7]; };
    auto recased = [&](std::string s) {
        for (char& c : s)
            if (random() % 4 == 0)
                c = static_cast<char>(c >= 'a' ? c - ('a' - 'A') : (c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c));
        return s;
    };
    auto use = [&] {
        const char* const around[] = {"", "X", "_", "."};
        return std::string(around[random() % 4]) + recased(name()) + around[random() % 4];
    };
    std::string text;
    std::set<std::string> fields;
    while (fields.size() < 12)
        fields.insert(name());
    text += "OBJECT Table 50000 Random\n{\n  FIELDS\n  {\n";
    int number = 1;
    for (const std::string& field : fields) {
        std::string padded = field;
        padded.resize(20, ' ');
        text += "    { " + std::to_string(number++) + "   ;   ;" + padded + ";Code20        }\n";
    }
    text += "  }\n  KEYS\n  {\n    {    ;No.                                     ;Clustered=Yes }\n  }\n"
            "  CODE\n  {\n\n    BEGIN\n    END.\n  }\n}\n\n";
    for (int object = 1; object <= 3; ++object) {
        text += "OBJECT Codeunit " + std::to_string(object) + " Random\n{\n  CODE\n  {\n\n";
        std::set<std::string> procedures;
        while (procedures.size() < 6)
            procedures.insert(name());
        int id = 1;
        for (const std::string& procedure : procedures) {
            text += std::string(random() % 3 == 0 ? "    LOCAL PROCEDURE " : "    PROCEDURE ") + procedure + "@" +
                    std::to_string(id++) + "();\n    BEGIN\n";
            for (int k = static_cast<int>(random() % 3); k > 0; --k)
                text += "      " + use() + " := " + use() + ";\n";
            text += "    END;\n\n";
        }
        text += "    BEGIN\n    END.\n  }\n}\n\n";
    }
    return crlf(text);
}

int countNoCase(std::string_view text, const std::string& name)
{
    int n = 0;
    for (int p = srctext::findNoCase(text, name, 0); p != -1; p = srctext::findNoCase(text, name, p + 1))
        ++n;
    return n;
}
} // namespace

// The C/AL-aware runs against the rules applied literally, one whole-text search after the other:
// a procedure is listed when its name stands as a whole word nowhere else in any letter case, a
// field when its name occurs once in the text in any letter case (and once as written).
TEST(UnusedAnalyses, AwareIndexesMatchTheLiteralSearchesOnRandomExports)
{
    std::mt19937 random(5);
    for (int round = 0; round < 60; ++round) {
        LoadedExport e(randomCaseExport(random));
        std::string_view text = e.whole();
        std::vector<std::vector<std::string>> expected;
        int textual = 0;
        for (const auto& row : unusedProceduresDirect(*e.manager)) {
            ++textual;
            const std::string name = row[2].substr(0, row[2].find('@'));
            const int first = aware::findWholeWordNoCase(text, name, 0);
            if (aware::findWholeWordNoCase(text, name, first + 1) == -1)
                expected.push_back(row);
        }
        CResultList list;
        e.manager->findUnusedProcedures(list, nullptr, true);
        ASSERT_EQ(rows(list), expected) << e.whole();
        EXPECT_EQ(e.manager->awareSummary().rfind(std::to_string(textual) + " textual, ", 0), 0u);

        expected.clear();
        e.object(0).ensureFields();
        for (const CTableField& field : e.object(0).fields) {
            int asWritten = 0;
            for (int p = srctext::find(text, field.name, 0); p != -1; p = srctext::find(text, field.name, p + 1))
                ++asWritten;
            if (asWritten == 1 && countNoCase(text, field.name) == 1)
                expected.push_back({"Table 50000 Random", "", std::to_string(field.number), field.name, "", ""});
        }
        e.manager->findUnusedTableFields(list, nullptr, true);
        ASSERT_EQ(rows(list), expected) << e.whole();
    }
}
