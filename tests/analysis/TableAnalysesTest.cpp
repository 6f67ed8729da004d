#include "support/Catalogue.h"
#include "support/CustomerExport.h"

#include <gtest/gtest.h>

using Rows = std::vector<std::vector<std::string>>;

TEST(UnusedTableFields, FieldWhoseNameOccursOnceInTheWholeExport)
{
    Catalogue e(kCustomerExport);
    CResultList list;
    e.manager->findUnusedTableFields(list, nullptr);
    // "Profit (LCY)" also stands in a key, "Name" in other objects: both count as used.
    EXPECT_EQ(rowCells(list), (Rows{
                                  {"Table 18 Customer", "", "59", "Balance", "", ""},
                                  {"Table 18 Customer", "", "60", "Entry Count", "", ""},
                                  {"Table 18 Customer", "", "61", "Zzyzx Flag", "", ""},
                              }));
    EXPECT_EQ(list.GetItemData(0), -1);
    EXPECT_EQ(list.GetColumnCount(), 7);
    EXPECT_EQ(e.byNumber(OT_TABLE, 21).parseLevel, 5);
}

TEST(NumberRange, OneNumberListsObjectsOfEveryTypeAndFieldsOfThatNumber)
{
    Catalogue e(kCustomerExport);
    CResultList list;
    e.manager->searchNumberRange(list, nullptr, 18, 18, true, true);
    EXPECT_EQ(rowCells(list), (Rows{
                                  {"Table", "18", "18", "Customer"},
                                  {"TableField", "21", "18", "Sales (LCY)"},
                                  {"Form", "18", "18", "Customer List"},
                                  {"Report", "18", "18", "Customer Sales"},
                              }));
    // Every row, the field row too, opens its object at the start.
    ASSERT_EQ(e.manager->results.count(), 4);
    EXPECT_EQ(list.GetItemData(1), 1);
    const CResultLocation& field = e.manager->results[1];
    EXPECT_EQ(field.position, e.byNumber(OT_TABLE, 21).objectSpan.start());
    EXPECT_EQ(field.term, "Cust. Ledger Entry");
    EXPECT_EQ(list.GetIcon(2), 162);

    // Pages, XMLports, MenuSuites and Queries have no type code of their own: their rows are named
    // by the OBJECT line's word, so they stay told apart.
    Catalogue others("OBJECT Page 18 Customer Card\n{\n}\n\nOBJECT XMLport 18 Export\n{\n}\n");
    others.manager->searchNumberRange(list, nullptr, 18, 18, true, true);
    EXPECT_EQ(rowCells(list), (Rows{{"Page", "18", "18", "Customer Card"}, {"XMLport", "18", "18", "Export"}}));
}

TEST(NumberRange, EachSwitchAlone)
{
    Catalogue e(kCustomerExport);
    CResultList list;
    e.byNumber(OT_TABLE, 18).readKeys(); // keys read first do not hide the fields
    e.manager->searchNumberRange(list, nullptr, 2, 18, false, true);
    EXPECT_EQ(rowCells(list), (Rows{
                                  {"TableField", "18", "2", "Name"},
                                  {"TableField", "21", "3", "Customer No."},
                                  {"TableField", "21", "4", "Posting Date"},
                                  {"TableField", "21", "13", "Amount"},
                                  {"TableField", "21", "14", "Remaining Amount"},
                                  {"TableField", "21", "18", "Sales (LCY)"},
                              }));

    e.manager->searchNumberRange(list, nullptr, 1, 21, true, false);
    EXPECT_EQ(list.GetRowCount(), 4);
    e.manager->searchNumberRange(list, nullptr, 21, 18, true, true);
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(list.GetColumnCount(), 5);
}

TEST(NumberRange, ReleasedParsesGiveTheSameRowsAndKeepTheFields)
{
    Catalogue kept(kCustomerExport);
    Catalogue released(kCustomerExport);
    released.manager->setKeepParses(false);
    released.byNumber(OT_TABLE, 21).ensureTriggers(); // parsed before: stays parsed
    CResultList keptList, releasedList;
    kept.manager->searchNumberRange(keptList, nullptr, 1, 50000, true, true);
    released.manager->searchNumberRange(releasedList, nullptr, 1, 50000, true, true);
    ASSERT_GT(keptList.GetRowCount(), 5);
    EXPECT_EQ(rowCells(releasedList), rowCells(keptList));
    ASSERT_EQ(released.manager->results.count(), kept.manager->results.count());
    for (int i = 0; i < kept.manager->results.count(); ++i)
        EXPECT_EQ(released.manager->results[i].where, kept.manager->results[i].where);
    EXPECT_EQ(released.byNumber(OT_TABLE, 21).parseLevel, 4);
    EXPECT_EQ(released.byNumber(OT_TABLE, 18).parseLevel, 1);
    EXPECT_TRUE(released.byNumber(OT_TABLE, 18).procedures.empty());
    EXPECT_FALSE(released.byNumber(OT_TABLE, 18).fields.empty());
    EXPECT_GE(kept.byNumber(OT_TABLE, 18).parseLevel, 2);
    // Read again, the fields are not doubled.
    released.manager->searchNumberRange(releasedList, nullptr, 1, 50000, true, true);
    EXPECT_EQ(rowCells(releasedList), rowCells(keptList));
}
