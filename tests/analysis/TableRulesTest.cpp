// One rule per test, each on a short export with one case that fires and one that must not.
#include "model/ReadExport.h"
#include "support/Catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using Rows = std::vector<std::vector<std::string>>;

TEST(UnusedFieldRule, NameFoundNowhereButInItsOwnEntry)
{
    Catalogue e(R"(OBJECT Table 50000 Rule
{
  FIELDS
  {
    { 1   ;   ;Lonely Field        ;Code20         }
    { 2   ;   ;Shared Field        ;Integer        }
  }
}

OBJECT Codeunit 50001 User
{
  CODE
  {
    BEGIN
      Rec."Shared Field" := 1;
    END.
  }
}
)");
    CResultList list;
    e.manager->findUnusedTableFields(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{{"Table 50000 Rule", "", "1", "Lonely Field", "", ""}}));
}

namespace {

const char* const kSumIndexRule = R"(OBJECT Table 50000 Sums
{
  FIELDS
  {
    { 1   ;   ;No.                 ;Code20         }
    { 2   ;   ;Quantity            ;Decimal        }
    { 3   ;   ;Amount              ;Decimal        }
    { 4   ;   ;Cost                ;Decimal        }
  }
  KEYS
  {
    {    ;No.                                     ;SumIndexFields=Quantity,Amount,Cost }
  }
  CODE
  {
    BEGIN
    END.
  }
}

OBJECT Table 50001 Totals
{
  FIELDS
  {
    { 1   ;   ;Total Cost          ;Decimal       ;FieldClass=FlowField;
                                                   CalcFormula=Sum(Sums.Cost) }
  }
  CODE
  {
    BEGIN
      Rec.CALCSUMS(Quantity);
    END.
  }
}
)";

} // namespace

TEST(UnusedSumIndexFieldRule, FieldNeitherSummedByAFormulaNorByCalcSums)
{
    Catalogue e(kSumIndexRule);
    CResultList list;
    e.manager->findUnusedSumIndexFields(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{{"Table 50000 Sums", "Active", ";No.", ";Amount"}}));
}

namespace {

// Ä Ö Ü ä ö ü ß in the code page the loaded text is in (Windows-1252) and in the export files (CP850).
const char* const kUmlautsAnsi[] = {"\xC4", "\xD6", "\xDC", "\xE4", "\xF6", "\xFC", "\xDF"};
const char* const kUmlautsOem[] = {"\x8E", "\x99", "\x9A", "\x84", "\x94", "\x81", "\xE1"};

// Fourteen SumIndexFields, each umlaut once at the start and once inside a name, in table 1; all of
// them summed without quotes, one half by CALCSUMS, the other by formulas; and one field "Rest"
// summed nowhere. LF line ends.
std::string umlautExport(const char* const* umlauts)
{
    std::vector<std::string> names;
    for (int i = 0; i < 7; ++i) {
        names.push_back(std::string(umlauts[i]) + "rt" + std::to_string(i));
        names.push_back("Ma" + std::string(umlauts[i]) + "e" + std::to_string(i));
    }
    std::string keys;
    std::string calcSums;
    std::string formulas;
    for (size_t i = 0; i < names.size(); ++i) {
        keys += (i == 0 ? "" : ",") + names[i];
        if (i % 2 == 0)
            calcSums += (calcSums.empty() ? "" : ",") + names[i];
        else
            formulas += "    { " + std::to_string(i) + "   ;   ;F" + std::to_string(i) +
                        "                  ;Decimal       ;FieldClass=FlowField;\n"
                        "                                                   CalcFormula=Sum(Umlauts." +
                        names[i] + ") }\n";
    }
    return "OBJECT Table 1 Umlauts\n{\n  KEYS\n  {\n    {    ;No.  ;SumIndexFields=" + keys +
           ",Rest }\n  }\n  CODE\n  {\n    BEGIN\n    END.\n  }\n}\n\n"
           "OBJECT Table 2 Sums\n{\n  FIELDS\n  {\n" +
           formulas + "  }\n  CODE\n  {\n    BEGIN\n      Rec.CALCSUMS(" + calcSums + ");\n    END.\n  }\n}\n";
}

} // namespace

TEST(UnusedSumIndexFieldRule, EveryUmlautAndSharpSBelongToTheName)
{
    Catalogue e(umlautExport(kUmlautsAnsi));
    CResultList list;
    e.manager->findUnusedSumIndexFields(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{{"Table 1 Umlauts", "Active", ";No.", ";Rest"}}));
}

TEST(UnusedSumIndexFieldRule, UmlautsReadFromACp850FileMatchToo)
{
    namespace fs = std::filesystem;
    const fs::path path = fs::temp_directory_path() / ("quellix-umlauts-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << umlautExport(kUmlautsOem);
    CSourceText text;
    ASSERT_TRUE(readExportFile(path.string(), text.str()).ok());
    fs::remove(path);
    LoadedExport e(text.str());
    CResultList list;
    e.manager->findUnusedSumIndexFields(list, nullptr);
    EXPECT_EQ(rowCells(list), (Rows{{"Table 1 Umlauts", "Active", ";No.", ";Rest"}}));
}
