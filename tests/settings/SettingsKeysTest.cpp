#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(Settings, MissingValuesReadAsTheDefaults)
{
    CMemorySettingsStore store;
    SearchSettings search;
    search.read(store);
    EXPECT_EQ(search.searchOption, "normal");
    EXPECT_FALSE(search.sourceFile.empty());
    EXPECT_FALSE(search.searchTerm.empty());

    SplitSettings split;
    split.read(store);
    EXPECT_EQ(split.from, 1);
    EXPECT_EQ(split.to, 99999999);
#ifdef _WIN32
    EXPECT_EQ(split.targetPath, "c:\\tmp\\split");
#else
    // The Windows default folder is a folder under the home folder here.
    EXPECT_EQ(split.targetPath, std::string(std::getenv("HOME")) + "/Quellix/split");
#endif

    NumberRangeSettings range;
    range.read(store);
    EXPECT_EQ(range.from, 50000u);
    EXPECT_EQ(range.to, 50010u);
    EXPECT_TRUE(range.objects);
    EXPECT_TRUE(range.tableFields);
}

TEST(Settings, ValuesAreWrittenUnderTheirSectionsAndKeys)
{
    CMemorySettingsStore store;
    SearchSettings search{"/data/export.txt", "CALCFIELDS", "Case sensitiv"};
    search.write(store);
    EXPECT_EQ(store.getString("Search", "Quelldatei", ""), "/data/export.txt");
    EXPECT_EQ(store.getString("Search", "Suchbegriff", ""), "CALCFIELDS");
    EXPECT_EQ(store.getString("Search", "Searchoption", ""), "Case sensitiv");

    NumberRangeSettings range;
    range.from = 7;
    range.to = 9;
    range.tableFields = false;
    range.write(store);
    EXPECT_EQ(store.getInt("Nummernsuche", "NrVon", 0), 7);
    EXPECT_EQ(store.getInt("Nummernsuche", "NrBis", 0), 9);
    EXPECT_EQ(store.getInt("Nummernsuche", "Objekte", 0), 1);
    EXPECT_EQ(store.getInt("Nummernsuche", "Tabellenfelder", 1), 0);

    SplitSettings split{-5, 10, "/tmp/out"};
    split.write(store);
    SplitSettings again;
    again.read(store);
    EXPECT_EQ(again.from, -5);
    EXPECT_EQ(again.to, 10);
    EXPECT_EQ(again.targetPath, "/tmp/out");
}

TEST(Settings, RecentFileListKeepsTenEntriesNumberedFromOne)
{
    CMemorySettingsStore store;
    std::vector<std::string> files;
    for (int i = 1; i <= 12; ++i)
        files.push_back("f" + std::to_string(i));
    writeRecentFiles(store, files);
    EXPECT_EQ(store.getString("Recent File List", "File1", ""), "f1");
    EXPECT_EQ(store.getString("Recent File List", "File10", ""), "f10");
    EXPECT_FALSE(store.has("Recent File List", "File11"));
    EXPECT_FALSE(store.has("Recent File List", "File0"));
    EXPECT_EQ(readRecentFiles(store).size(), 10u);

    writeRecentFiles(store, {"a", "b"});
    EXPECT_EQ(readRecentFiles(store), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(store.has("Recent File List", "File3"));
}

TEST(Settings, WindowsDefaultsMapUnderHomeButConfirmedPathsStayAsTyped)
{
#ifdef _WIN32
    // Windows keeps the defaults as they are given.
    EXPECT_EQ(localDefaultPath("c:\\tmp\\split", "C:\\Users\\ann"), "c:\\tmp\\split");
    EXPECT_EQ(localDefaultPath("D:\\Navision\\", "C:\\Users\\ann"), "D:\\Navision\\");
#else
    EXPECT_EQ(localDefaultPath("c:\\tmp\\split", "/home/ann"), "/home/ann/Quellix/split");
    EXPECT_EQ(localDefaultPath("D:\\Navision\\", "/home/ann/"), "/home/ann/Quellix/files");
    EXPECT_EQ(localDefaultPath("export.txt", "/home/ann"), "export.txt");
    EXPECT_EQ(localDefaultPath("/srv/split", "/home/ann"), "/srv/split");
#endif

    CMemorySettingsStore store;
    SplitSettings split;
    split.targetPath = "c:\\tmp\\split"; // typed and confirmed by the user
    split.write(store);
    SplitSettings again;
    again.read(store);
    EXPECT_EQ(again.targetPath, "c:\\tmp\\split");
}

TEST(Settings, MergeKeepsItsFivePathsInSectionMergeWithTheirDefaults)
{
    CMemorySettingsStore store;
    MergeSettings merge;
    merge.read(store);
    EXPECT_EQ(merge.source1, "c:\\tmp\\Source1.txt");
    EXPECT_EQ(merge.source2, "c:\\tmp\\Source2.txt");
    EXPECT_EQ(merge.target1, "Vgl Neu.txt");
    EXPECT_EQ(merge.target2, "Vgl Alt.txt");
    EXPECT_EQ(merge.programPath, "c:\\programs\\Araxis merge\\merge.exe");

    MergeSettings{"/a/1.txt", "/a/2.txt", "/b/n.txt", "/b/a.txt", "/usr/bin/meld"}.write(store);
    EXPECT_EQ(store.getString("Merge", "Quelldatei1", ""), "/a/1.txt");
    EXPECT_EQ(store.getString("Merge", "Quelldatei2", ""), "/a/2.txt");
    EXPECT_EQ(store.getString("Merge", "Zieldatei1", ""), "/b/n.txt");
    EXPECT_EQ(store.getString("Merge", "Zieldatei2", ""), "/b/a.txt");
    EXPECT_EQ(store.getString("Merge", "ProgramPath", ""), "/usr/bin/meld");
}

TEST(Settings, ObjectViewerPlacementIsStoredInItsOwnSection)
{
    CMemorySettingsStore store;
    ObjectViewerPlacement placement;
    placement.read(store);
    EXPECT_FALSE(placement.stored());
    ObjectViewerPlacement written{40, 50, 900, 600};
    written.write(store);
    EXPECT_TRUE(store.has("ObjectViewer", "Width"));
    placement.read(store);
    EXPECT_TRUE(placement.stored());
    EXPECT_EQ(placement.x, 40);
    EXPECT_EQ(placement.y, 50);
    EXPECT_EQ(placement.width, 900);
    EXPECT_EQ(placement.height, 600);
}
