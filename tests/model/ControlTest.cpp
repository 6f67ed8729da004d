#include "support/Catalogue.h"
#include "support/CustomerExport.h"

#include <gtest/gtest.h>

TEST(Controls, FormEntryGivesColumnsTypeAndAbsolutePosition)
{
    Catalogue e(kCustomerExport);
    CObjectRecord& form = e.byNumber(OT_FORM, 18);
    form.readFormControls();
    ASSERT_EQ(form.controls.count(), 5);
    const CControl& text = form.controls[1];
    EXPECT_EQ(text.id, 2);
    EXPECT_EQ(text.type, CT_TEXTBOX);
    EXPECT_STREQ(text.typeName(), "TextBox");
    EXPECT_EQ(text.xPos, 3300);
    EXPECT_EQ(text.yPos, 770);
    EXPECT_EQ(text.width, 1700);
    EXPECT_EQ(text.height, 440);
    EXPECT_EQ(text.span.start(), e.pos("\r\n    { 2   ;TextBox"));
    EXPECT_EQ(text.span.end(), text.span.start());
}

TEST(Controls, EachEntryStartsFromAFreshControl)
{
    Catalogue e(kCustomerExport);
    CObjectRecord& form = e.byNumber(OT_FORM, 18);
    form.readFormControlsAbsolute();
    const CControl& tab = form.controls[0];
    EXPECT_EQ(tab.type, CT_TABCONTROL);
    ASSERT_EQ(tab.pageNames.size(), 2u);
    EXPECT_EQ(tab.pageNames.at("ENU"), "General,Invoicing,Shipping");
    EXPECT_EQ(tab.pageNames.at("DEU"), "Allgemein,Fakturierung");
    // No PageNamesML of its own: nothing carried over from the tab control before it.
    EXPECT_TRUE(form.controls[1].pageNames.empty());
    // "CheckBox" is none of the seven words.
    EXPECT_EQ(form.controls[3].type, CT_NONE);
    EXPECT_STREQ(form.controls[3].typeName(), "");
}

TEST(Controls, PageNamesValueKeepsOnlyThePartBeforeAFurtherEquals)
{
    CControl control;
    control.parse(" 7   ;TabControl   ;0    ;0    ;100  ;100  ;CaptionML=[ENU=x;DEU=y];PageNamesML=[ENU=a=b,c] }", 40);
    EXPECT_EQ(control.pageNames.size(), 1u);
    EXPECT_EQ(control.pageNames["ENU"], "a");
    EXPECT_EQ(control.span.start(), 40);

    CControl captionOnly;
    captionOnly.parse(" 8   ;Label        ;0    ;0    ;100  ;100  ;CaptionML=[ENU=x;DEU=y] }", 0);
    EXPECT_TRUE(captionOnly.pageNames.empty());
}

TEST(Controls, ReportControlsOfAllSectionsInTextOrder)
{
    Catalogue e(kCustomerExport);
    CObjectRecord& report = e.byNumber(OT_REPORT, 18);
    report.readFormControls();
    EXPECT_TRUE(report.controls.empty());
    report.readReportControls();
    ASSERT_EQ(report.controls.count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(report.controls[i].id, i + 1);
    EXPECT_EQ(report.controls[3].span.start(), e.pos("\r\n            { 4   ;TextBox"));
}

TEST(Controls, ReadOnceAndNotHiddenByOtherSections)
{
    Catalogue e(kCustomerExport);
    CObjectRecord& form = e.byNumber(OT_FORM, 18);
    form.fieldsOnce();
    form.readKeys();
    form.readReportControls();
    form.readFormControls();
    form.readFormControlsAbsolute();
    EXPECT_EQ(form.controls.count(), 5);
    EXPECT_EQ(form.controls[0].span.start(), e.pos("\r\n    { 1   ;TabControl"));
}
