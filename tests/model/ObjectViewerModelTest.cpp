#include "model/ObjectViewerModel.h"

#include "model/ObjectRecord.h"
#include "results/ResultList.h"
#include "support/SmallExport.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> texts(const std::vector<OutlineItem>& items)
{
    std::vector<std::string> out;
    for (const OutlineItem& item : items)
        out.push_back(item.text);
    return out;
}

// The small export after a text search, so the manager holds the locations of its hits.
struct SearchedExport {
    explicit SearchedExport(const std::string& term, const std::string& text = smallExport()) : loaded(text)
    {
        loaded.manager->searchText(term, list, nullptr, false, false);
    }
    const CResultLocation& result(int i) { return loaded.manager->results[i]; }
    int firstResultIn(const CObjectRecord& object)
    {
        for (int i = 0; i < loaded.manager->results.count(); ++i)
            if (result(i).object == &object)
                return i;
        return -1;
    }
    LoadedExport loaded;
    CResultList list;
};
} // namespace

TEST(ObjectOutline, TableShowsKeysProceduresAndGlobalsWithTheirDeclarations)
{
    SearchedExport e("Customer");
    CObjectRecord& table = e.loaded.object(0);
    CObjectViewerModel model(e.result(e.firstResultIn(table)));
    const std::vector<OutlineItem>& roots = model.outline();
    ASSERT_EQ(texts(roots), (std::vector<std::string>{"Keys", "Procedures", "globale Variablen"}));
    EXPECT_EQ(texts(roots[0].children), std::vector<std::string>{"Key0 active"});
    EXPECT_EQ(texts(roots[0].children[0].children), std::vector<std::string>{"No."});
    EXPECT_EQ(texts(roots[1].children),
              (std::vector<std::string>{"CheckCredit@1(VAR Amount@1000 : Decimal) : Boolean Id 1 ",
                                        "CalcTotal@3() Id 3 ", "Helper@2() Id 2 "}));
    // TextConst has no type word of its own: the name and the blank stay.
    EXPECT_EQ(texts(roots[2].children), (std::vector<std::string>{"Text000 ", "Cust Record", "Total Decimal",
                                                                  "Unused Text"}));
    std::string_view text = table.objectText();
    EXPECT_EQ(text.substr(static_cast<size_t>(roots[0].children[0].declPos), 6), "{    ;");
    EXPECT_EQ(text.substr(static_cast<size_t>(roots[1].children[2].declPos), 26), "    LOCAL PROCEDURE Helper");
    EXPECT_EQ(text.substr(static_cast<size_t>(roots[2].children[1].declPos), 5), "Cust@");
    EXPECT_EQ(roots[0].declPos, -1);
}

TEST(ObjectOutline, PassiveKeysAndObjectsWithoutOutline)
{
    std::string text = smallExport();
    std::string key = "    {    ;No.                                     ;Clustered=Yes }\r\n";
    text.insert(text.find(key) + key.size(), "    {XX  ;Name,No.                               }\r\n");
    LoadedExport e(text);
    e.object(0).readKeys();
    std::vector<OutlineItem> roots = buildOutline(e.object(0));
    ASSERT_FALSE(roots.empty());
    ASSERT_EQ(texts(roots[0].children), (std::vector<std::string>{"Key0 active", "Key1 passive"}));
    EXPECT_EQ(texts(roots[0].children[1].children), (std::vector<std::string>{"Name", "No."}));

    // The page has no keys, procedures or globals; the codeunit has no keys.
    e.object(1).ensureCode();
    e.object(2).ensureCode();
    EXPECT_EQ(texts(buildOutline(e.object(1))), (std::vector<std::string>{"Procedures", "globale Variablen"}));
    EXPECT_TRUE(buildOutline(e.object(2)).empty());
}

TEST(ObjectViewerModel, HitsAreTheResultsInsideTheObjectInResultOrderWithTheChosenOneCurrent)
{
    SearchedExport e("Customer");
    CObjectRecord& codeunit = e.loaded.object(1);
    int first = e.firstResultIn(codeunit);
    ASSERT_GE(first, 0);
    CObjectViewerModel model(e.result(first + 1));
    ASSERT_GE(model.hits().size(), 2u);
    int inObject = 0;
    for (int i = 0; i < e.loaded.manager->results.count(); ++i)
        inObject += e.result(i).object == &codeunit;
    EXPECT_EQ(static_cast<int>(model.hits().size()), inObject);
    for (size_t h = 0; h < model.hits().size(); ++h) {
        const ViewerHit& hit = model.hits()[h];
        EXPECT_EQ(hit.index, first + static_cast<int>(h));
        EXPECT_EQ(hit.length, 8);
        EXPECT_EQ(codeunit.objectText().substr(static_cast<size_t>(hit.offset), 8), "Customer");
    }
    EXPECT_EQ(model.chosenHit(), 1);
    EXPECT_EQ(model.current(), 1);
    EXPECT_EQ(model.title(), "Codeunit 50000 Sales Helper - " + e.result(first + 1).where);
}

TEST(ObjectViewerModel, SteppingClampsAndTheFirstVisibleLineKeepsTenLinesAbove)
{
    SearchedExport e("Customer");
    CObjectViewerModel model(e.result(e.firstResultIn(e.loaded.object(0))));
    const int last = static_cast<int>(model.hits().size()) - 1;
    ASSERT_GE(last, 2);
    EXPECT_TRUE(model.step(CObjectViewerModel::Step::Previous));
    EXPECT_EQ(model.current(), 0);
    EXPECT_EQ(model.firstVisibleLine(), 0) << "the header line's hit stays at the top";
    EXPECT_TRUE(model.step(CObjectViewerModel::Step::Last));
    EXPECT_EQ(model.current(), last);
    EXPECT_TRUE(model.step(CObjectViewerModel::Step::Next));
    EXPECT_EQ(model.current(), last);
    int offset = model.hits().back().offset;
    EXPECT_EQ(model.firstVisibleLine(), srctext::lineOf(model.objectText(), offset) - 10);
    EXPECT_GT(model.firstVisibleLine(), 0);
    EXPECT_TRUE(model.step(CObjectViewerModel::Step::First));
    EXPECT_EQ(model.current(), 0);
    EXPECT_TRUE(model.showHit(-5));
    EXPECT_EQ(model.current(), 0);

    // The codeunit's text starts with the CR LF before its header: that empty line counts.
    CObjectViewerModel codeunit(e.result(e.firstResultIn(e.loaded.object(1))));
    ASSERT_TRUE(codeunit.objectText().starts_with("\r\nOBJECT Codeunit"));
    int post = static_cast<int>(codeunit.objectText().find("Customer.CalcTotal"));
    EXPECT_EQ(codeunit.firstVisibleLineFor(post), srctext::lineOf(codeunit.objectText(), post) + 1 - 10);
    EXPECT_EQ(codeunit.firstVisibleLineFor(post), 24 - 10);
}

TEST(ObjectViewerModel, OneHitStaysCurrentAndNoHitOrNoObjectStepsNowhere)
{
    SearchedExport e("Sales Helper");
    ASSERT_EQ(e.loaded.manager->results.count(), 1);
    CObjectViewerModel one(e.result(0));
    ASSERT_EQ(one.hits().size(), 1u);
    for (auto step : {CObjectViewerModel::Step::Next, CObjectViewerModel::Step::Last,
                      CObjectViewerModel::Step::Previous}) {
        EXPECT_TRUE(one.step(step));
        EXPECT_EQ(one.current(), 0);
    }

    // A location of the page made by hand: the last search found nothing there.
    CResultLocation onPage = e.loaded.object(2).locate(e.loaded.object(2).objectSpan.start() + 3, "ECT");
    CObjectViewerModel none(onPage);
    EXPECT_TRUE(none.hits().empty());
    EXPECT_EQ(none.chosenHit(), -1);
    EXPECT_FALSE(none.step(CObjectViewerModel::Step::Next));
    EXPECT_EQ(none.firstVisibleLine(), 0);
    EXPECT_TRUE(none.outline().empty());
    EXPECT_EQ(none.title(), "Page 21 Customer Card - ");

    CObjectViewerModel empty{CResultLocation()};
    EXPECT_EQ(empty.object(), nullptr);
    EXPECT_TRUE(empty.hits().empty());
    EXPECT_TRUE(empty.objectText().empty());
}

TEST(ObjectViewerModel, HitAtTheObjectsLastPositionIsCutToTheText)
{
    SearchedExport e("Customer");
    CResultLocation location = e.result(0);
    CObjectRecord& table = *location.object;
    location.position = table.objectSpan.end();
    location.term = "Customer";
    e.loaded.manager->results.add(location);
    CObjectViewerModel model(location);
    ASSERT_GE(model.chosenHit(), 0);
    EXPECT_EQ(model.hits()[static_cast<size_t>(model.chosenHit())].length, 0);
}

TEST(ShownText, EachByteBecomesItsOemCharacterWithItsUtf8Position)
{
    // ANSI 0xFC is u-umlaut (OEM 0x81); ANSI 0x84 holds OEM 0xB3, the box-drawing vertical line.
    std::string ansi = "a\xFC" "b\x84";
    ShownText shown = makeShownText(ansi, OemCodePage::CP850);
    EXPECT_EQ(shown.utf8, "a\xC3\xBC" "b\xE2\x94\x82");
    EXPECT_EQ(shown.positions, (std::vector<int>{0, 1, 3, 4, 7}));
    EXPECT_EQ(shown.at(2), 3);
    EXPECT_EQ(shown.at(99), 7);
    EXPECT_EQ(shown.at(-1), 0);

    std::vector<char> styles{CAL_KEYWORD, CAL_HIT, CAL_DEFAULT, CAL_STRING};
    EXPECT_EQ(styleBytes(shown, styles), std::string({CAL_KEYWORD, CAL_HIT, CAL_HIT, CAL_DEFAULT, CAL_STRING,
                                                      CAL_STRING, CAL_STRING}));
}

TEST(CalStyles, CodeIsColouredAndTheExportsStructureIsNot)
{
    std::string text = crlf("PROPERTIES\n{\nOptionString=Begin,End;\n  { 1 ;Name }\n"
                            "OnRun=BEGIN\nIF x = 'it''s {' THEN // note {\nexit(12); { a }\nEND;\n}\n");
    std::vector<char> styles = calStyles(text);
    auto styleAt = [&](const std::string& piece, size_t from = 0) { return styles[text.find(piece, from)]; };
    EXPECT_EQ(styleAt("{\r\nOption"), CAL_DEFAULT);
    EXPECT_EQ(styleAt("Begin"), CAL_DEFAULT) << "option texts outside code are no keywords";
    EXPECT_EQ(styleAt("{ 1"), CAL_DEFAULT) << "no code began yet";
    EXPECT_EQ(styleAt("1 ;"), CAL_NUMBER);
    EXPECT_EQ(styleAt("BEGIN"), CAL_KEYWORD);
    EXPECT_EQ(styleAt("IF"), CAL_KEYWORD);
    EXPECT_EQ(styleAt("it''s"), CAL_STRING);
    EXPECT_EQ(styleAt("{' THEN"), CAL_STRING) << "a brace inside a string opens no comment";
    EXPECT_EQ(styleAt("THEN"), CAL_KEYWORD);
    EXPECT_EQ(styleAt("// note"), CAL_COMMENT);
    EXPECT_EQ(styleAt("{\r\nexit"), CAL_COMMENT);
    EXPECT_EQ(styleAt("exit"), CAL_KEYWORD) << "inside code keywords match in any case";
    EXPECT_EQ(styleAt("12"), CAL_NUMBER);
    EXPECT_EQ(styleAt("{ a }"), CAL_COMMENT);
    EXPECT_EQ(styleAt("}", text.find("{ a }") + 4), CAL_COMMENT);
    EXPECT_EQ(styleAt("}\r\n", text.find("END;")), CAL_DEFAULT) << "code ended: structure again";
    EXPECT_EQ(styleAt("x ="), CAL_DEFAULT);

    markHits(styles, {ViewerHit{0, 0, 3}, ViewerHit{0, static_cast<int>(text.size()) - 1, 5}});
    EXPECT_EQ(std::string(styles.begin(), styles.begin() + 4), std::string({CAL_HIT, CAL_HIT, CAL_HIT, CAL_DEFAULT}));
    EXPECT_EQ(styles.back(), CAL_HIT);
}
