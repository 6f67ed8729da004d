#include "support/SmallExport.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> names(const CVariableArray& vars)
{
    std::vector<std::string> out;
    for (const CVariable& v : vars)
        out.push_back(v.name);
    return out;
}
int at(const std::string& whole, const std::string& what) { return static_cast<int>(whole.find(what)); }
} // namespace

TEST(CodeSection, GlobalsEndAtTheBlankLineWithTypesAndPositions)
{
    LoadedExport e(smallExport());
    CObjectRecord& table = e.object(0);
    table.ensureCode();
    EXPECT_EQ(table.parseLevel, 2);
    ASSERT_EQ(names(table.globals), (std::vector<std::string>{"Text000", "Cust", "Total", "Unused"}));
    EXPECT_EQ(table.globals[0].type, VT_TEXTCONST);
    EXPECT_STREQ(table.globals[0].typeName(), "");
    EXPECT_STREQ(table.globals[1].typeName(), "Record");
    EXPECT_STREQ(table.globals[2].typeName(), "Decimal"); // "Decimal;" ends at the ";"
    EXPECT_STREQ(table.globals[3].typeName(), "Text");    // "Text[30];" ends at the "["
    EXPECT_EQ(table.globals[1].declPos, at(e.whole(), "Cust@1001"));
    EXPECT_FALSE(table.globals[1].isLocal);
}

TEST(CodeSection, UnknownTypeWordsGetTheUnknownCode)
{
    CVariable v;
    v.parse("      Lines@1000 : ARRAY [10] OF Integer;", 100, true);
    EXPECT_EQ(v.type, VT_UNKNOWN);
    EXPECT_STREQ(v.typeName(), "");
    EXPECT_EQ(v.declPos, 106);
    v.parse("      Flag : Boolean;", 0, true);
    EXPECT_EQ(v.name, "Flag");
    EXPECT_EQ(v.type, VT_BOOLEAN);
}

TEST(CodeSection, ProceduresGlobalFirstThenLocalWithIdsAndLocals)
{
    LoadedExport e(smallExport());
    CObjectRecord& table = e.object(0);
    table.ensureCode();
    ASSERT_EQ(table.procedures.count(), 3);
    const CProcedure& check = table.procedures[0];
    EXPECT_EQ(check.signature, "CheckCredit@1(VAR Amount@1000 : Decimal) : Boolean");
    EXPECT_EQ(check.name(), "CheckCredit");
    EXPECT_EQ(check.id, 1);
    EXPECT_FALSE(check.isLocal);
    EXPECT_EQ(check.span.start(), at(e.whole(), "\r\n    PROCEDURE CheckCredit"));
    EXPECT_EQ(e.whole().substr(static_cast<size_t>(check.span.end()) - 4, 5), "END;\r");
    EXPECT_EQ(names(check.locals), (std::vector<std::string>{"Limit", "Customer", "Cust"}));
    EXPECT_FALSE(check.locals[0].onceOnly);
    EXPECT_TRUE(check.locals[1].onceOnly); // only inside "Customers" in a comment
    EXPECT_TRUE(check.locals[2].onceOnly);
    EXPECT_EQ(table.procedures[1].name(), "CalcTotal");
    EXPECT_EQ(table.procedures[2].name(), "Helper");
    EXPECT_TRUE(table.procedures[2].isLocal);
    EXPECT_EQ(table.procedures[2].locals.count(), 0);
}

TEST(CodeSection, ProcedureScanStopsAtTheObjectEnd)
{
    LoadedExport e(crlf("OBJECT Codeunit 1 A\n{\n  CODE\n  {\n    BEGIN\n    END.\n  }\n}\n\n"
                        "OBJECT Codeunit 2 B\n{\n  CODE\n  {\n\n    PROCEDURE P@1();\n    BEGIN\n    END;\n\n"
                        "    BEGIN\n    END.\n  }\n}\n"));
    e.object(0).ensureCode();
    e.object(1).ensureCode();
    EXPECT_EQ(e.object(0).procedures.count(), 0);
    ASSERT_EQ(e.object(1).procedures.count(), 1);
    EXPECT_EQ(e.object(1).procedures[0].signature, "P@1()");

    CProcedure noId;
    noId.signature = "Legacy(x : Integer)";
    EXPECT_EQ(noId.name(), "Legacy(x : Integer)");
}

TEST(CodeSection, TriggersWithVarFirstThenBeginAndEndAtBeginsIndentation)
{
    LoadedExport e(smallExport());
    CObjectRecord& table = e.object(0);
    table.ensureTriggerVars();
    ASSERT_EQ(table.triggers.count(), 1);
    const CTrigger& onInsert = table.triggers[0];
    EXPECT_EQ(onInsert.name, "OnInsert");
    EXPECT_EQ(onInsert.name2, "OnInsert");
    EXPECT_EQ(onInsert.indent, 15);
    EXPECT_EQ(onInsert.span.start(), at(e.whole(), "OnInsert=VAR"));
    EXPECT_EQ(e.whole().substr(static_cast<size_t>(onInsert.span.end()) - 4, 5), "END;\r");
    ASSERT_GE(onInsert.locals.count(), 2);
    EXPECT_EQ(onInsert.locals[0].name, "Counter");
    EXPECT_FALSE(onInsert.locals[0].onceOnly);
    EXPECT_EQ(onInsert.locals[1].name, "Spare");
    EXPECT_TRUE(onInsert.locals[1].onceOnly);

    table.ensureTriggers();
    EXPECT_EQ(table.parseLevel, 4);
    ASSERT_EQ(table.triggers.count(), 3);
    EXPECT_EQ(table.triggers[1].name, "OnDelete");
    EXPECT_EQ(table.triggers[2].name, "OnValidate");
    // The field trigger's END; stands under its BEGIN, far right of the line start.
    EXPECT_EQ(table.triggers[2].indent, 64);
    EXPECT_NE(table.triggers[2].triggerText().find("UPPERCASE"), std::string_view::npos);
}

TEST(CodeSection, WordFindSkipsLongerIdentifiers)
{
    EXPECT_EQ(wordFind("x Cust Customer", "Cust", 1), 2);
    EXPECT_EQ(wordFind("x Customer", "Cust", 1), -1);
    EXPECT_EQ(wordFind("x Customer", "", 1), -1);
    EXPECT_EQ(wordFind("x_Cust", "Cust", 1), 2);
}

TEST(CodeSection, LocateNamesTriggerProcedureOrNothing)
{
    LoadedExport e(smallExport());
    CObjectRecord& table = e.object(0);
    const std::string& t = e.whole();
    CResultLocation inTrigger = table.locate(at(t, "Counter := 1"), "Counter");
    EXPECT_EQ(inTrigger.where, "Trigger OnInsert");
    EXPECT_EQ(inTrigger.objectName(), "Table 18 Customer");
    EXPECT_EQ(inTrigger.term, "Counter");
    EXPECT_EQ(inTrigger.object, &table);
    EXPECT_EQ(inTrigger.objectStart, 0);
    EXPECT_EQ(inTrigger.objectEnd, table.objectSpan.end());
    EXPECT_EQ(inTrigger.context().substr(0, 5), "BEGIN"); // leading blanks removed
    EXPECT_EQ(inTrigger.context(), std::string(srctext::trimLeftBlanks(e.whole().substr(static_cast<size_t>(inTrigger.position) - 30, 100))));

    CResultLocation inProc = table.locate(at(t, "Limit := Amount"), "Limit");
    EXPECT_EQ(inProc.where, "Proc CheckCredit@1(VAR Amount@1000 : Decimal) : Boolean");
    // A trigger that begins with =BEGIN is not known at parse level 3.
    EXPECT_EQ(table.locate(at(t, "CheckCredit(Total)"), "x").where, "");
    EXPECT_EQ(table.locate(at(t, "Code20"), "x").where, "");

    CResultLocation outside = table.locate(e.object(1).objectSpan.start() + 5, "x");
    EXPECT_EQ(outside.object, nullptr);
    EXPECT_EQ(outside.position, 0);
    EXPECT_EQ(outside.objectName(), "");
    CResultLocation copy = inProc;
    EXPECT_EQ(copy.object, inProc.object);
    EXPECT_EQ(copy.where, inProc.where);
}

TEST(CodeSection, GlobalUsesCountPlainOccurrences)
{
    LoadedExport e(smallExport());
    CObjectRecord& table = e.object(0);
    table.countGlobalUses();
    const CVariable& text000 = table.globals[0];
    EXPECT_EQ(text000.occurrences, 1); // declaration and one use, the use lying before it
    EXPECT_EQ(text000.firstUse, at(e.whole(), "Text000);"));
    EXPECT_EQ(table.globals[2].occurrences, 2); // Total: the use before it, then CalcTotal
    table.markOnceOnlyGlobals();
    EXPECT_FALSE(table.globals[1].onceOnly);
    EXPECT_TRUE(table.globals[3].onceOnly);

    std::vector<const CVariable*> hiding;
    table.ensureTriggerVars();
    table.globalsUsedIn(hiding);
    ASSERT_EQ(hiding.size(), 2u); // Cust in CheckCredit and in CalcTotal
    EXPECT_EQ(hiding[0], &table.procedures[0].locals[2]);
    EXPECT_EQ(hiding[1], &table.procedures[1].locals[0]);
}

TEST(CodeSection, TriggerEndsAtTheEndLineOfItsOwnBeginsIndentation)
{
    LoadedExport e(crlf(R"(OBJECT Codeunit 3 Nested
{
  PROPERTIES
  {
    OnRun=BEGIN
            IF TRUE THEN BEGIN
              x := 1;
            END;
            y := 2;
          END;

  }
}
)"));
    CObjectRecord& cu = e.object(0);
    cu.ensureTriggers();
    ASSERT_EQ(cu.triggers.count(), 1);
    // The inner END; stands two columns further right than the trigger's own, so it ends nothing.
    EXPECT_NE(cu.triggers[0].triggerText().find("y := 2;"), std::string_view::npos);
    EXPECT_EQ(cu.triggers[0].indent, 12);
}
