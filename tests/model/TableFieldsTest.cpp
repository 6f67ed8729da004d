#include "support/Catalogue.h"
#include "support/CustomerExport.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> names(const CTableFieldArray& fields)
{
    std::vector<std::string> out;
    for (const CTableField& field : fields)
        out.push_back(field.name);
    return out;
}

} // namespace

TEST(TableFields, FieldsAndKeysAreReadForTablesOnly)
{
    Catalogue e(kCustomerExport);
    CObjectRecord& customer = e.byNumber(OT_TABLE, 18);
    customer.fieldsOnce();
    ASSERT_EQ(customer.fields.count(), 5);
    EXPECT_EQ(customer.fields[2].number, 59);
    EXPECT_EQ(customer.fields[2].name, "Balance");
    EXPECT_EQ(customer.fields[4].name, "Zzyzx Flag");
    customer.readKeys();
    EXPECT_EQ(customer.keys.count(), 2);

    // The form's CONTROLS entries have the layout of field entries, yet a form has no fields.
    CObjectRecord& form = e.byNumber(OT_FORM, 18);
    form.fieldsOnce();
    form.readKeys();
    EXPECT_TRUE(form.fields.empty());
    EXPECT_TRUE(form.keys.empty());
}

TEST(TableFields, EachSectionIsReadOnceWhateverRanBefore)
{
    Catalogue e(kCustomerExport);
    CObjectRecord& table = e.byNumber(OT_TABLE, 21);
    table.readKeys();
    table.ensureFields();
    table.fieldsOnce();
    table.readKeys();
    EXPECT_EQ(table.parseLevel, 5);
    EXPECT_EQ(table.fields.count(), 8);
    EXPECT_EQ(table.keys.count(), 3);
}

TEST(TableFields, EntryCutShortEndsTheFieldList)
{
    Catalogue e("OBJECT Table 5 Short\n{\n  FIELDS\n  {\n    { 1   ;   ;Code                ;Code10 }\n"
                   "    { 2   ;   ;Cut short }\n  }\n}\n");
    CObjectRecord& table = e.manager->get(0);
    table.fieldsOnce();
    EXPECT_EQ(names(table.fields), (std::vector<std::string>{"Code", ""}));
    EXPECT_EQ(table.fields[1].number, 2);
}

TEST(TableKey, FirstColumnDecidesWhetherTheKeyIsEnabled)
{
    CTableKey active;
    active.parse("    ;No.          ;Clustered=Yes ", false);
    EXPECT_TRUE(active.enabled);
    EXPECT_EQ(names(active.keyFields), std::vector<std::string>{"No."});
    EXPECT_TRUE(active.sumIndexFields.empty());

    CTableKey passive;
    passive.parse(" No ;Document Type,No.    ", true);
    EXPECT_FALSE(passive.enabled);
    EXPECT_TRUE(passive.flag);
    EXPECT_EQ(names(passive.keyFields), (std::vector<std::string>{"Document Type", "No."}));
}

TEST(TableKey, SumIndexFieldsOnlyWithExactlyThreeParts)
{
    CTableKey key;
    key.parse("    ;Document Type,No.                   ;SumIndexFields=Amount,Amount Including VAT ", false);
    EXPECT_EQ(names(key.sumIndexFields), (std::vector<std::string>{"Amount", "Amount Including VAT"}));

    CTableKey withMore;
    withMore.parse("    ;No.    ;SumIndexFields=Amount;MaintainSIFTIndex=No ", false);
    EXPECT_TRUE(withMore.sumIndexFields.empty());

    // A list continued on the next line keeps the line break in front of the continued name.
    CTableKey continued;
    continued.parse(crlf("    ;No.   ;SumIndexFields=Amount,\n                  Quantity "), false);
    EXPECT_EQ(names(continued.sumIndexFields), (std::vector<std::string>{"Amount", "\r\n                  Quantity"}));
}

TEST(TableKey, SumIndexFieldUsesCountReferencesToThisTableAndSummedNames)
{
    Catalogue e(kCustomerExport);
    CObjectRecord& table = e.byNumber(OT_TABLE, 21);
    CCalcFormulaRefArray refs;
    refs.add({"Amount", "Cust. Ledger Entry"});
    refs.add({"Amount", "Cust. Ledger Entry"});
    refs.add({"Profit (LCY)", "Customer"});   // another table's field of that name
    table.countSumIndexFieldUses(refs, {"Sales (LCY)", "Remaining Amount", "sales (lcy)"});
    const CTableKeyArray& keys = table.keys;
    EXPECT_EQ(keys[1].sumIndexFields[0].uses, 2);
    EXPECT_EQ(keys[1].sumIndexFields[1].uses, 1);
    EXPECT_EQ(keys[1].sumIndexFields[2].uses, 1);
    EXPECT_EQ(keys[1].sumIndexFields[3].uses, 0);

    CTableKeyArray unused;
    table.collectUnusedSumIndexFields(unused);
    ASSERT_EQ(unused.count(), 2);
    EXPECT_EQ(names(unused[0].sumIndexFields), std::vector<std::string>{"Profit (LCY)"});
    EXPECT_EQ(names(unused[0].keyFields), (std::vector<std::string>{"Customer No.", "Posting Date"}));
    EXPECT_FALSE(unused[1].enabled);
    EXPECT_EQ(names(unused[1].sumIndexFields), std::vector<std::string>{"Inv. Discount (LCY)"});
}
