#include "analysis/UnusedSumIndexFields.h"
#include "support/Catalogue.h"
#include "support/CustomerExport.h"

#include <gtest/gtest.h>

using Names = std::vector<std::string>;

TEST(CalcReferences, ReadTokenTakesQuotedTextOrAnIdentifierRun)
{
    int pos = 0;
    EXPECT_EQ(sumrefs::readToken(" \t\r\n\"Cust. Ledger Entry\" .Amount", pos, false), "Cust. Ledger Entry");
    EXPECT_EQ(pos, 25);
    const std::string umlauts = "Gr\xF6\xDF" "e_1-2)";
    pos = 0;
    EXPECT_EQ(sumrefs::readToken(umlauts, pos, false), "Gr\xF6\xDF" "e_1");
    pos = 0;
    EXPECT_EQ(sumrefs::readToken("G-L_Entry2.x", pos, true), "G-L_Entry2");
    pos = 3;
    EXPECT_EQ(sumrefs::readToken("x( \"open", pos, false), "");
    EXPECT_EQ(pos, 8);
}

TEST(CalcReferences, SumAndAverageFormulasGiveTableAndField)
{
    const std::string text = "CalcFormula=Sum(\"Cust. Ledger Entry\".Amount WHERE (Customer No.=FIELD(No.)))";
    int pos = 0;
    CCalcFormulaRef ref;
    ASSERT_TRUE(sumrefs::parseCalcFormula(text, pos, ref));
    EXPECT_EQ(ref.table, "Cust. Ledger Entry");
    EXPECT_EQ(ref.field, "Amount");
    EXPECT_EQ(text.substr(static_cast<size_t>(pos), 5), "WHERE");

    const std::string negated = "x CalcFormula=-Average(Item.\"Unit Cost\" WHERE (No.=FIELD(No.)))";
    pos = 0;
    ASSERT_TRUE(sumrefs::parseCalcFormula(negated, pos, ref));
    EXPECT_EQ(ref.table, "Item");
    EXPECT_EQ(ref.field, "Unit Cost");

    for (const char* other : {"CalcFormula=Count(\"Cust. Ledger Entry\" WHERE (No.=FIELD(No.)))",
                              "CalcFormula=Lookup(Customer.Name WHERE (No.=FIELD(No.)))"}) {
        pos = 0;
        EXPECT_FALSE(sumrefs::parseCalcFormula(other, pos, ref)) << other;
        EXPECT_GT(pos, 12);
    }

    // Gathered prefix by prefix: Sum, -Sum, Average, -Average.
    const CCalcFormulaRefArray all = sumrefs::collectCalcFormulaRefs(
        "CalcFormula=-Average(T.D) CalcFormula=Average(T.C) CalcFormula=Count(T) CalcFormula=-Sum(T.B) "
        "CalcFormula=Sum(T.A)");
    std::string fields;
    for (const CCalcFormulaRef& r : all)
        fields += r.field;
    EXPECT_EQ(fields, "ABCD");
}

TEST(CalcReferences, CalcSumsArgumentLists)
{
    Names names;
    int pos = 0;
    sumrefs::parseCalcSums("CALCSUMS(Amount, Rec.\"Amount (LCY)\");", pos, names);
    EXPECT_EQ(names, (Names{"Amount", "Amount (LCY)", "Amount (LCY)"}));

    names.clear();
    pos = 0;
    sumrefs::parseCalcSums("CALCSUMS(Total[a,b,Qty])", pos, names);
    EXPECT_EQ(names, Names{"Qty"});

    // Text that is no argument list ends the list, keeping what was read.
    const std::string comment = "// CALCSUMS(Amount,Qty + 1) CALCSUMS(\"open";
    names.clear();
    pos = 0;
    sumrefs::parseCalcSums(comment, pos, names);
    EXPECT_EQ(names, Names{"Amount"});
    EXPECT_EQ(comment[static_cast<size_t>(pos)], '+');
    sumrefs::parseCalcSums(comment, pos, names);
    EXPECT_EQ(pos, static_cast<int>(comment.size()));
    EXPECT_EQ(sumrefs::collectCalcSumsNames(comment), Names{"Amount"});
}

TEST(UnusedSumIndexFields, ListsOneRowPerUnreferencedSumIndexField)
{
    Catalogue e(kCustomerExport);
    CResultList list;
    RecordingStatus status;
    e.manager->setStatusSink(&status);
    e.manager->findUnusedSumIndexFields(list, &status);
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(rowCells(list), (Rows{
                                  {"Table 21 Cust. Ledger Entry", "Active", ";Customer No.;Posting Date", ";Profit (LCY)"},
                                  {"Table 21 Cust. Ledger Entry", "Passive", ";Posting Date", ";Inv. Discount (LCY)"},
                              }));
    EXPECT_EQ(list.GetItemData(0), 0);
    EXPECT_EQ(list.GetIcon(0), 163);
    EXPECT_EQ(e.manager->results.count(), 0);
    EXPECT_EQ(list.GetColumn(3).heading, "SumIndexField");
    EXPECT_EQ(status.lines.front(), "0 from 5 Name: Table 18 Customer");
}
