#include "analysis/ReferenceIndex.h"
#include "model/ReadExport.h"
#include "support/TestExport.h"
#include "support/PosixOnly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string objectName(const ReferenceIndex& index, const CObjektManager& manager, int object)
{
    (void)index;
    return manager.get(object).headerTypeWord() + " " + std::to_string(manager.get(object).number);
}

// Every reference to a field, procedure or object, or unresolved, as gen_export --references lists them.
std::vector<std::string> listed(const ReferenceIndex& index, const CObjektManager& manager)
{
    std::vector<std::string> out;
    for (const XrefReference& ref : index.references()) {
        std::string target = "-";
        std::string kind = ref.symbol < 0 ? "unresolved" : referenceKindName(ref.kind);
        if (ref.symbol >= 0) {
            const XrefSymbol& s = index.symbols()[static_cast<size_t>(ref.symbol)];
            if (s.kind == SymbolKind::Variable)
                continue;
            target = objectName(index, manager, s.object);
            if (s.kind != SymbolKind::Object)
                target += ".\"" + std::string(index.name(ref.symbol)) + "\"";
        }
        out.push_back(objectName(index, manager, manager.objectAt(ref.pos)) + "\t" + std::to_string(index.lineOf(ref.pos)) +
                      "\t" + kind + "\t" + target);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// "code line | kind" of every reference to target.
std::vector<std::string> rowsOf(const ReferenceIndex& index, const std::string& whole, const std::string& target)
{
    std::vector<std::string> out;
    const int symbol = index.findTarget(target);
    if (symbol < 0)
        return {"no symbol " + target};
    for (int r : index.referencesTo(symbol)) {
        const XrefReference& ref = index.references()[static_cast<size_t>(r)];
        size_t start = whole.rfind('\n', static_cast<size_t>(ref.pos)) + 1;
        size_t end = whole.find('\r', static_cast<size_t>(ref.pos));
        std::string line = whole.substr(start, end - start);
        line.erase(0, line.find_first_not_of(' '));
        out.push_back(line + " | " + referenceKindName(ref.kind));
    }
    return out;
}

const char* const kRules = R"EXPORT(OBJECT Table 18 Customer
{
  OBJECT-PROPERTIES
  {
    Date=01.01.17;
  }
  PROPERTIES
  {
    OnModify=BEGIN
               IF Name <> xRec.Name THEN
                 Rec.Balance := 0;
             END;

  }
  FIELDS
  {
    { 1   ;   ;No.                 ;Code20        }
    { 2   ;   ;Name                ;Text50        ;TableRelation="Item Ledger".Name WHERE (Owner=FIELD(No.)) }
    { 3   ;   ;Balance             ;Decimal       ;FieldClass=FlowField;
                                                   CalcFormula=Sum("Item Ledger".Amount WHERE (Owner=FIELD(No.))) }
  }
  KEYS
  {
    {    ;No.,Name                                ;Clustered=Yes }
  }
  CODE
  {

    PROCEDURE Check@1() : Boolean;
    BEGIN
      EXIT(Balance > 0);
    END;

    BEGIN
    END.
  }
}

OBJECT Table 32 Item Ledger
{
  OBJECT-PROPERTIES
  {
    Date=01.01.17;
  }
  FIELDS
  {
    { 1   ;   ;Owner               ;Code20        }
    { 2   ;   ;Name                ;Text50        }
    { 3   ;   ;Amount              ;Decimal       }
  }
  CODE
  {

    BEGIN
    END.
  }
}

OBJECT Codeunit 80 Sales-Post
{
  OBJECT-PROPERTIES
  {
    Date=01.01.17;
  }
  PROPERTIES
  {
    OnRun=BEGIN
            Code;
          END;

  }
  CODE
  {
    VAR
      Cust@1000 : Record 18;
      Name@1001 : Text[50];

    PROCEDURE Code@1();
    VAR
      Cust@1000 : Record Customer;
      Lost@1001 : Record 4711;
    BEGIN
      cust."no." := 'X';
      Cust.SETRANGE(Name,Name);
      Cust.SETCURRENTKEY("No.",Name);
      WITH Cust DO BEGIN
        VALIDATE(Name);
        IF Check THEN;
      END;
      Name := 'Y';
      CODEUNIT.RUN(CODEUNIT::"Sales-Post");
      IF DATABASE::Customer = 18 THEN;
      Lost."No." := '';
      Nobody.Check;
      Cust."Not There" := 1;
    END;

    BEGIN
    END.
  }
}
)EXPORT";

} // namespace

TEST(ReferenceIndex, FindsEveryReferenceTheGeneratorWroteAndNothingElse)
{
    SKIP_ON_WINDOWS("runs the benchmark tool gen_export through a POSIX shell");
    const std::string path = std::string(QUELLIX_BINARY_DIR) + "/references-generated.txt";
    const std::string listPath = path + ".list";
    const std::string command = std::string(QUELLIX_BINARY_DIR) + "/bench/gen_export '" + path + "' 0.3 --references '" + listPath + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string text;
    ASSERT_TRUE(readExportFile(path, text).ok());
    std::ifstream list(listPath);
    std::vector<std::string> expected;
    for (std::string line; std::getline(list, line);)
        expected.push_back(line);
    std::remove(path.c_str());
    std::remove(listPath.c_str());
    ASSERT_GT(expected.size(), 1000u);
    LoadedExport loaded(text);
    const ReferenceIndex& index = referenceIndex(*loaded.manager);
    const std::vector<std::string> found = listed(index, *loaded.manager);
    std::vector<std::string> missing, extra;
    std::set_difference(expected.begin(), expected.end(), found.begin(), found.end(), std::back_inserter(missing));
    std::set_difference(found.begin(), found.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    EXPECT_TRUE(missing.empty()) << missing.size() << " missing, first: " << missing.front();
    EXPECT_TRUE(extra.empty()) << extra.size() << " not written, first: " << extra.front();
}

TEST(ReferenceIndex, ResolvesByTheRulesOfCal)
{
    const std::string text = crlf(kRules);
    LoadedExport loaded(text);
    const ReferenceIndex& index = referenceIndex(*loaded.manager);
    struct Case {
        const char* target;
        std::vector<std::string> rows;
    } cases[] = {
        // Qualified (letter case ignored), field arguments, WITH, the implicit record, properties, keys.
        {"Table 18.\"No.\"",
         {"{ 2   ;   ;Name                ;Text50        ;TableRelation=\"Item Ledger\".Name WHERE (Owner=FIELD(No.)) } | property",
          "CalcFormula=Sum(\"Item Ledger\".Amount WHERE (Owner=FIELD(No.))) } | property",
          "{    ;No.,Name                                ;Clustered=Yes } | key", "cust.\"no.\" := 'X'; | write",
          "Cust.SETCURRENTKEY(\"No.\",Name); | key"}},
        // Rec and xRec; a local named like a field is the local outside WITH, the field inside it.
        {"Table 18.Name",
         {"IF Name <> xRec.Name THEN | read", "IF Name <> xRec.Name THEN | read",
          "{    ;No.,Name                                ;Clustered=Yes } | key", "Cust.SETRANGE(Name,Name); | filter",
          "Cust.SETCURRENTKEY(\"No.\",Name); | key", "VALIDATE(Name); | write"}},
        {"Table 18.Balance", {"Rec.Balance := 0; | write", "EXIT(Balance > 0); | read"}},
        {"Table 18.Check", {"IF Check THEN; | call"}},
        {"Table 32.Owner",
         {"{ 2   ;   ;Name                ;Text50        ;TableRelation=\"Item Ledger\".Name WHERE (Owner=FIELD(No.)) } | property",
          "CalcFormula=Sum(\"Item Ledger\".Amount WHERE (Owner=FIELD(No.))) } | property"}},
        {"Codeunit 80.Code", {"Code; | call"}},
        {"Codeunit Sales-Post", {"CODEUNIT.RUN(CODEUNIT::\"Sales-Post\"); | call"}},
        {"Table Customer",
         {"Cust@1000 : Record 18; | type", "Cust@1000 : Record Customer; | type", "IF DATABASE::Customer = 18 THEN; | read"}},
        // The global Name is hidden by nothing: it is written; the local Cust hides the global Cust.
        {"Codeunit 80.Name", {"Cust.SETRANGE(Name,Name); | read", "Name := 'Y'; | write"}},
        {"Codeunit 80.Cust", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rowsOf(index, text, c.target), c.rows) << c.target;
    // Unresolved, never guessed: an absent table, an undeclared variable, a field the table lacks.
    std::vector<std::string> reasons;
    for (int r : index.unresolved())
        reasons.push_back(unresolvedReasonText(index.references()[static_cast<size_t>(r)].reason));
    EXPECT_EQ(reasons, (std::vector<std::string>{"object not in the export", "object not in the export", "unknown variable",
                                                 "member not declared"}));
}

TEST(ReferenceIndex, DamagedObjectLeavesItsReferencesUnresolvedAndTheRestIntact)
{
    const std::string damaged[] = {
        "      IF Cust.\"No.\" = '' THEN BEGIN\n",       // unbalanced BEGIN/END
        "      Cust.\"No. := '';\n",                     // unterminated quoted name
    };
    for (const std::string& line : damaged) {
        std::string text = kRules;
        const size_t at = text.find("      Name := 'Y';\n");
        text.insert(at, line);
        text = crlf(text);
        LoadedExport loaded(text);
        const ReferenceIndex& index = referenceIndex(*loaded.manager);
        EXPECT_TRUE(index.damaged(2)) << line;
        EXPECT_FALSE(index.damaged(0)) << line;
        EXPECT_EQ(rowsOf(index, text, "Table 18.Balance"), (std::vector<std::string>{"Rec.Balance := 0; | write", "EXIT(Balance > 0); | read"}));
        EXPECT_EQ(rowsOf(index, text, "Codeunit 80.Code"), std::vector<std::string>{}) << line;
    }
    // A procedure without a body.
    std::string text = kRules;
    text.replace(text.find("    BEGIN\n      cust."), 10, "");
    text = crlf(text);
    LoadedExport loaded(text);
    EXPECT_TRUE(referenceIndex(*loaded.manager).damaged(2));
}
