#include "settings/LayoutSettings.h"

#include <gtest/gtest.h>

using namespace layoutkeys;

TEST(ListColumns, KindKeyJoinsHeadingsAndTurnsOtherCharactersIntoOneUnderscore)
{
    EXPECT_EQ(listcolumns::kindKey({"Objects", "FindPos", "StartPos", "EndPos"}), "Objects.FindPos.StartPos.EndPos");
    // '/' would open a group of the settings file and '=' end the key.
    EXPECT_EQ(listcolumns::kindKey({"No.", "Count of unused Vars", "a/b=c", ""}), "No_.Count_of_unused_Vars.a_b_c.");
    EXPECT_NE(listcolumns::kindKey({"Type", "No."}), listcolumns::kindKey({"Type", "Name"}));
}

TEST(ListColumns, WidthsAreKeptPerListKindAndOnlyWhenTheirNumberMatches)
{
    CMemorySettingsStore store;
    const std::vector<std::string> search{"Objects", "FindPos", "StartPos", "EndPos"};
    const std::vector<std::string> unused{"Type", "No.", "Name", "Count of unused Vars"};
    EXPECT_TRUE(listcolumns::read(store, search).empty());
    listcolumns::write(store, search, {400, 90, 80, 70});
    listcolumns::write(store, unused, {60, 50, 300, 150});
    EXPECT_EQ(listcolumns::read(store, search), (std::vector<int>{400, 90, 80, 70}));
    EXPECT_EQ(listcolumns::read(store, unused), (std::vector<int>{60, 50, 300, 150}));
    EXPECT_EQ(store.getString(kSectionListColumns, "Objects.FindPos.StartPos.EndPos", ""), "400,90,80,70");

    listcolumns::write(store, search, {1, 2}); // a wrong number of widths is not stored
    EXPECT_EQ(listcolumns::read(store, search), (std::vector<int>{400, 90, 80, 70}));
    for (const char* damaged : {"400,90,80", "400,90,80,70,60", "400,x,80,70", "400,-5,80,70", "400,,80,70"}) {
        store.writeString(kSectionListColumns, listcolumns::kindKey(search), damaged);
        EXPECT_TRUE(listcolumns::read(store, search).empty()) << damaged;
    }
}

TEST(RecentSearchTerms, NewestFirstNoneTwiceAtMostTwentyAndStoredInOrder)
{
    RecentSearchTerms recent;
    recent.add("Customer");
    recent.add("Vendor");
    recent.add("");
    recent.add("Customer");
    EXPECT_EQ(recent.terms, (std::vector<std::string>{"Customer", "Vendor"}));
    for (int i = 1; i <= 25; ++i)
        recent.add("term " + std::to_string(i));
    ASSERT_EQ(recent.terms.size(), 20u);
    EXPECT_EQ(recent.terms.front(), "term 25");
    EXPECT_EQ(recent.terms.back(), "term 6");

    CMemorySettingsStore store;
    recent.write(store);
    EXPECT_EQ(store.getString(kSectionSearchTerms, "Term1", ""), "term 25");
    EXPECT_EQ(store.getString(kSectionSearchTerms, "Term20", ""), "term 6");
    RecentSearchTerms read;
    read.read(store);
    EXPECT_EQ(read.terms, recent.terms);

    // A shorter list leaves no old entries behind.
    RecentSearchTerms shorter;
    shorter.add("$HOME");
    shorter.write(store);
    read.read(store);
    EXPECT_EQ(read.terms, (std::vector<std::string>{"$HOME"}));
    EXPECT_FALSE(store.has(kSectionSearchTerms, "Term2"));
}

TEST(MainWindowPlacement, NothingStoredMeansMaximisedAndAStoredPlaceComesBack)
{
    CMemorySettingsStore store;
    MainWindowPlacement placement;
    placement.read(store);
    EXPECT_FALSE(placement.stored());
    EXPECT_TRUE(placement.maximized);
    MainWindowPlacement{40, 30, 900, 600, false}.write(store);
    placement.read(store);
    EXPECT_TRUE(placement.stored());
    EXPECT_EQ(placement.x, 40);
    EXPECT_EQ(placement.y, 30);
    EXPECT_EQ(placement.width, 900);
    EXPECT_EQ(placement.height, 600);
    EXPECT_FALSE(placement.maximized);
    EXPECT_EQ(store.getInt(kSectionLayout, kMainWidth, 0), 900);
}
