#include "layout/AnchorLayout.h"

#include <gtest/gtest.h>

namespace {
enum { LIST = 1013, SEARCH = 1012, BOTTOM_LEFT = 1059, COUNT = 1031, LABEL = 1036, MISSING = 4711 };

CAnchorLayout searchLikeLayout()
{
    CAnchorLayout layout;
    layout.add(Anchor::GrowBoth, LIST);
    layout.add(Anchor::MoveRight, SEARCH);
    layout.add(Anchor::MoveDown, BOTTOM_LEFT);
    layout.add(Anchor::MoveDown, LABEL);
    layout.add(Anchor::MoveDownRight, COUNT);
    layout.add(Anchor::MoveDownRight, LABEL);
    layout.add(Anchor::GrowWidth, MISSING);
    layout.record(LIST, {10, 60, 700, 300});
    layout.record(SEARCH, {600, 30, 80, 24});
    layout.record(BOTTOM_LEFT, {10, 380, 120, 24});
    layout.record(COUNT, {500, 410, 60, 22});
    layout.record(LABEL, {300, 410, 60, 16});
    layout.finishInitialLayout(720, 450);
    return layout;
}

LayoutRect placed(const std::vector<std::pair<int, LayoutRect>>& places, int id)
{
    for (const auto& [placedId, rect] : places)
        if (placedId == id)
            return rect;
    ADD_FAILURE() << "control " << id << " not placed";
    return {};
}
} // namespace

TEST(AnchorLayout, EnlargingMovesAndGrowsFromTheRecordedRectangles)
{
    CAnchorLayout layout = searchLikeLayout();
    auto places = layout.place(820, 500);
    EXPECT_EQ(placed(places, SEARCH), (LayoutRect{700, 30, 80, 24}));
    EXPECT_EQ(placed(places, LIST), (LayoutRect{10, 60, 800, 350}));
    EXPECT_EQ(placed(places, BOTTOM_LEFT), (LayoutRect{10, 430, 120, 24}));
    EXPECT_EQ(placed(places, COUNT), (LayoutRect{600, 460, 60, 22}));
    // Second resize starts again from the recorded rectangles, not from the last placement.
    places = layout.place(730, 460);
    EXPECT_EQ(placed(places, SEARCH), (LayoutRect{610, 30, 80, 24}));
}

TEST(AnchorLayout, LaterListWinsForAControlInTwoLists)
{
    auto places = searchLikeLayout().place(820, 500);
    EXPECT_EQ(placed(places, LABEL), (LayoutRect{400, 460, 60, 16}));
}

TEST(AnchorLayout, ControlsWithoutRecordedRectangleAreSkipped)
{
    std::vector<int> ids;
    for (const auto& [id, rect] : searchLikeLayout().place(900, 900))
        ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<int>{LIST, SEARCH, BOTTOM_LEFT, LABEL, COUNT}));
}

TEST(AnchorLayout, BelowTheInitialSizeControlsReturnToTheirTemplatePlacesInThatDirection)
{
    CAnchorLayout layout = searchLikeLayout();
    layout.place(1000, 900); // an earlier, larger size leaves nothing behind
    auto places = layout.place(600, 400);
    EXPECT_EQ(placed(places, SEARCH), (LayoutRect{600, 30, 80, 24}));
    EXPECT_EQ(placed(places, COUNT), (LayoutRect{500, 410, 60, 22}));
    EXPECT_EQ(placed(places, LIST), (LayoutRect{10, 60, 700, 300}));
    // Wide but short: anchoring follows the width, the height stays the template's.
    places = layout.place(820, 300);
    EXPECT_EQ(placed(places, COUNT), (LayoutRect{600, 410, 60, 22}));
    EXPECT_EQ(placed(places, LIST), (LayoutRect{10, 60, 800, 300}));
    EXPECT_EQ(layout.scrolledSize(820, 300), (std::pair<int, int>{820, 450}));
    EXPECT_EQ(layout.scrolledSize(600, 900), (std::pair<int, int>{720, 900}));
}

TEST(AnchorLayout, StillInitializingChangesNothing)
{
    CAnchorLayout fresh;
    fresh.add(Anchor::GrowBoth, LIST);
    fresh.record(LIST, {0, 0, 10, 10});
    EXPECT_TRUE(fresh.initializing());
    EXPECT_TRUE(fresh.place(2000, 2000).empty());
}
