#include "layout/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {
const LayoutRect kFullHd{0, 0, 1920, 1040};
const LayoutRect kSmall{0, 24, 800, 576};
} // namespace

TEST(WindowPlacement, WithoutARememberedRectangleTheMainWindowTakesTheDefaultSizeCentred)
{
    EXPECT_EQ(restoredMainWindowRect(kFullHd), (LayoutRect{448, 136, 1024, 768}));
    // A small screen cuts the default to the work area, below the panel at the top.
    EXPECT_EQ(restoredMainWindowRect(kSmall), (LayoutRect{0, 24, 800, 576}));
}

TEST(WindowPlacement, ARememberedRectangleIsUsedWhenItIsUsableAndKeptOnTheScreen)
{
    LayoutRect remembered{100, 50, 1300, 900};
    EXPECT_EQ(restoredMainWindowRect(kFullHd, &remembered), remembered);
    LayoutRect halfOff{1500, 600, 1000, 700};
    EXPECT_EQ(restoredMainWindowRect(kFullHd, &halfOff), (LayoutRect{920, 340, 1000, 700}));
    // The collapsed size the toolkit once handed back, and a place on a screen no longer there.
    LayoutRect collapsed{641, 428, 219, 67};
    EXPECT_EQ(restoredMainWindowRect(kFullHd, &collapsed), restoredMainWindowRect(kFullHd));
    LayoutRect elsewhere{3000, 100, 1024, 768};
    EXPECT_EQ(restoredMainWindowRect(kFullHd, &elsewhere), restoredMainWindowRect(kFullHd));
}

TEST(WindowPlacement, DialogsAreCentredOnTheOwnerAndStayOnTheWorkArea)
{
    LayoutRect owner{100, 100, 1024, 768};
    EXPECT_EQ(centredOn(owner, 224, 180, kFullHd), (LayoutRect{500, 394, 224, 180}));
    LayoutRect nearEdge{1700, 900, 300, 200};
    EXPECT_EQ(centredOn(nearEdge, 400, 300, kFullHd), (LayoutRect{1520, 740, 400, 300}));
    EXPECT_EQ(centredOn(owner, 900, 700, kSmall), (LayoutRect{0, 24, 800, 576}));
}
