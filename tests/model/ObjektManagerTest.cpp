#include "support/SmallExport.h"

#include <gtest/gtest.h>

#include <random>

namespace {
struct StatusLines : IStatusText {
    std::vector<std::string> lines;
    void setStatusText(const std::string& text) override { lines.push_back(text); }
};
} // namespace

TEST(Load, CutsObjectsAtCrLfObjectOnly)
{
    LoadedExport e(smallExport());
    ASSERT_EQ(e.manager->count(), 3);
    const std::string& t = e.whole();
    const int second = static_cast<int>(t.find("\r\nOBJECT Codeunit 50000"));
    const int third = static_cast<int>(t.find("\r\nOBJECT Page"));
    EXPECT_EQ(e.object(0).objectSpan, CTextSpan(0, second - 1));
    EXPECT_EQ(e.object(1).objectSpan, CTextSpan(second, third - 1));
    EXPECT_EQ(e.object(2).objectSpan, CTextSpan(third, static_cast<int>(t.size()) - 2));
    // "OBJECT Codeunit 99" inside the first object's text constant cuts nothing.
    EXPECT_EQ(e.object(0).number, 18);
    EXPECT_EQ(e.object(1).type, OT_CODEUNIT);
    EXPECT_EQ(e.object(1).headerText(), "Codeunit 50000 Sales Helper");
    EXPECT_EQ(e.object(1).headerName(), "Sales Helper");
    EXPECT_EQ(e.object(2).type, OT_NONE);
    EXPECT_EQ(e.object(2).typeName(), std::string());
    EXPECT_EQ(e.object(2).typeImage(), 166);
    EXPECT_EQ(e.object(2).number, 21);
    EXPECT_EQ(e.object(0).objectText().substr(0, 24), "OBJECT Table 18 Customer");
    EXPECT_EQ(e.object(0).objectText().back(), '\r'); // the LF before the next object is cut off
}

TEST(Load, TextsWithoutObjectsAndTheSameFileNameAgain)
{
    LoadedExport none("just some text\r\n");
    ASSERT_EQ(none.manager->count(), 1);
    EXPECT_EQ(none.object(0).objectSpan, CTextSpan(0, 14));
    EXPECT_EQ(none.object(0).type, OT_NONE);

    LoadedExport empty("");
    ASSERT_EQ(empty.manager->count(), 1);
    EXPECT_EQ(empty.object(0).objectSpan, CTextSpan(0, -2));

    LoadedExport e(smallExport(), "a.txt");
    CSourceText other("OBJECT Table 1 X\r\n{\r\n}\r\n");
    e.manager->load(&other, "a.txt");
    EXPECT_EQ(e.manager->count(), 3);
    e.manager->load(&other, "b.txt");
    EXPECT_EQ(e.manager->count(), 1);
}

TEST(Load, OneStatusLinePerObjectCountedFromOne)
{
    CSourceText text(smallExport());
    CObjektManager manager;
    StatusLines status;
    manager.setStatusSink(&status);
    manager.load(&text, "x");
    ASSERT_EQ(status.lines.size(), 3u);
    EXPECT_EQ(status.lines[0], "1 \t Name: Table 18 Customer");
    EXPECT_EQ(status.lines[2], "3 \t Name: Page 21 Customer Card");
}

TEST(Header, TypeWordsAreExactAndNumbersAlwaysRead)
{
    LoadedExport upper("OBJECT TABLE 7 Seven\r\n{\r\n}\r\n");
    EXPECT_EQ(upper.object(0).type, OT_NONE);
    EXPECT_EQ(upper.object(0).number, 7);

    LoadedExport noName(crlf("OBJECT Codeunit 1\n{\n  PROPERTIES\n  {\n  }\n}\n"));
    EXPECT_EQ(noName.object(0).type, OT_CODEUNIT);
    EXPECT_EQ(noName.object(0).number, 1);
    EXPECT_EQ(noName.object(0).headerName(), "Codeunit 1");

    LoadedExport noBrace("OBJECT Form 5 Short");
    EXPECT_EQ(noBrace.object(0).headerSpan, CTextSpan(7, 47));
}

TEST(Header, PropertiesBlockOnlyInsideTheObject)
{
    LoadedExport e(smallExport());
    CObjectRecord& table = e.object(0);
    table.ensureCode();
    EXPECT_EQ(e.whole().substr(static_cast<size_t>(table.propertiesSpan.start()), 17), "OBJECT-PROPERTIES");
    EXPECT_EQ(e.whole()[static_cast<size_t>(table.propertiesSpan.end())], '}');
    CObjectRecord& page = e.object(2);
    page.ensureCode();
    EXPECT_EQ(page.propertiesSpan, CTextSpan(0, 0));
    LoadedExport later(crlf("OBJECT Table 1 A\n{\n}\n\nOBJECT Table 2 B\n{\n  OBJECT-PROPERTIES\n  {\n  }\n}\n"));
    later.object(0).ensureCode();
    EXPECT_EQ(later.object(0).propertiesSpan, CTextSpan(0, 0));
    EXPECT_TRUE(later.object(0).sameObject(later.object(0)));
    EXPECT_FALSE(later.object(0).sameObject(later.object(1)));
}

TEST(ObjektManager, LastOccurrenceAgreesWithRfindOnRandomTexts)
{
    std::mt19937 random(11);
    auto word = [&](int length) {
        std::string s;
        for (int k = 0; k < length; ++k)
            s += "ab\r"[random() % 3];
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        LoadedExport e(word(1 + static_cast<int>(random() % 40)));
        const std::string& whole = e.whole();
        for (int k = 0; k < 6; ++k) {
            const std::string pattern = word(1 + static_cast<int>(random() % 4));
            const size_t expected = whole.rfind(pattern);
            ASSERT_EQ(e.manager->lastOccurrence(pattern), expected == std::string::npos ? -1 : static_cast<int>(expected))
                << testing::PrintToString(whole) << " / " << testing::PrintToString(pattern);
        }
    }
}
