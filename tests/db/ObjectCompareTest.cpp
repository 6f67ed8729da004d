#include "settings/ObjectCompareSettings.h"
#include "db/ObjectCompare.h"
#include "db/StandInFolder.h"
#include "results/DateParse.h"
#include "results/ResultList.h"
#include "results/ListExportText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Row = std::vector<std::string>;

CDbObjectEntry entry(const std::string& type, int32_t id, const std::string& date = "2023-07-01",
                     const std::string& time = "14:00:00", const std::string& name = "Name",
                     const std::string& version = "V1")
{
    CDbObjectEntry e;
    e.typeWord = type;
    e.id = id;
    e.name = name;
    e.version = version;
    e.date = date;
    e.time = time;
    return e;
}

CDbObjectEntryArray array(std::initializer_list<CDbObjectEntry> entries)
{
    CDbObjectEntryArray result;
    for (const CDbObjectEntry& e : entries)
        result.add(e);
    return result;
}

// The comparison as a linear scan of entries2 from index 0 for every entry of entries1, copying
// entries out and writing them back by index: the reference the indexed comparison must equal.
std::vector<Row> scanComparison(CDbObjectEntryArray& entries1, CDbObjectEntryArray& entries2)
{
    std::vector<Row> rows;
    for (int i = 0; i < entries1.count(); ++i) {
        CDbObjectEntry a = entries1.get(i);
        int j = -1;
        CDbObjectEntry b;
        for (int k = 0; k < entries2.count(); ++k) {
            b = entries2.get(k);
            if (b == a) {
                b.matched = true;
                entries2[k] = b;
                j = k;
                break;
            }
        }
        if (j == -1) {
            a.state = CS_ONLY_FIRST;
            entries1[i] = a;
            rows.push_back({"New", a.typeWord, a.idText(), a.name, a.version, a.date, "", "9999", a.time, "",
                            a.name, "", a.version, ""});
        } else if (a.date == b.date && a.time == b.time && a.name == b.name && a.version == b.version) {
            a.state = b.state = CS_EQUAL;
            entries1[i] = a;
            entries2[j] = b;
        } else {
            rows.push_back({"Different", a.typeWord, a.idText(), a.name, a.version, a.date, b.date,
                            std::to_string(compareDateDifference(a.date, b.date)), a.time, b.time, a.name, b.name,
                            a.version, b.version});
            a.state = b.state = CS_DIFFERENT;
            entries1[i] = a;
            entries2[j] = b;
        }
    }
    for (const CDbObjectEntry& b : entries2)
        if (!b.matched)
            rows.push_back({"New", b.typeWord, b.idText(), b.name, b.version, "", b.date, "-9999", "", b.time, "",
                            b.name, "", b.version});
    return rows;
}

class ObjectCompare : public testing::Test {
protected:
    void SetUp() override { setDateStyleOverride(DateStyle::DayMonthDot); }
    void TearDown() override { clearDateStyleOverride(); }
};

TEST_F(ObjectCompare, EqualDatabasesGiveNoRowsAndStateThreeEverywhere)
{
    auto one = array({entry("Table", 18), entry("Form", 18), entry("Codeunit", 80, "", "")});
    auto two = array({entry("Codeunit", 80, "", ""), entry("Form", 18), entry("Table", 18)});
    EXPECT_TRUE(compareObjectTables(one, two).empty());
    for (const auto* entries : {&one, &two})
        for (const CDbObjectEntry& e : *entries)
            EXPECT_EQ(e.state, CS_EQUAL) << e.typeWord << " " << e.id;
    for (const CDbObjectEntry& e : two)
        EXPECT_TRUE(e.matched);
}

TEST_F(ObjectCompare, DifferentRowsCarryBothSidesAndTheDateDifference)
{
    auto one = array({entry("Table", 50000, "2023-07-02"), entry("Table", 50001, "2023-07-01"),
                      entry("Form", 21, "2023-07-01", "10:06:14"), entry("Report", 6, "01.02.04"),
                      entry("Codeunit", 1, "2023-07-01", "14:00:00", "Name", "V2")});
    auto two = array({entry("Table", 50000, "2023-07-01"), entry("Table", 50001, "2023-07-02"),
                      entry("Form", 21, "2023-07-01", "22:06:14"), entry("Report", 6, "31.01.04"),
                      entry("Codeunit", 1)});
    std::vector<Row> rows = compareObjectTables(one, two);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (Row{"Different", "Table", "50000", "Name", "V1", "2023-07-02", "2023-07-01", "1", "14:00:00",
                            "14:00:00", "Name", "Name", "V1", "V1"}));
    EXPECT_EQ(rows[1][7], "-1");
    EXPECT_EQ(rows[2], (Row{"Different", "Form", "21", "Name", "V1", "2023-07-01", "2023-07-01", "0", "10:06:14",
                            "22:06:14", "Name", "Name", "V1", "V1"}));
    EXPECT_EQ(rows[3][7], "1") << "dates in the locale's spelling count too";
    EXPECT_EQ(rows[4][12], "V2");
    EXPECT_EQ(rows[4][13], "V1");
    for (const auto* entries : {&one, &two})
        for (const CDbObjectEntry& e : *entries)
            EXPECT_EQ(e.state, CS_DIFFERENT);
}

TEST_F(ObjectCompare, OneSidedObjectsAreNewWithTheOtherSidesCellsEmpty)
{
    auto one = array({entry("Table", 18, "2003-07-14", "12:00:00", "Customer", "NAVW14.00")});
    auto two = array({entry("Form", 18, "2003-07-15", "13:00:00", "Customer Card", "NAVW13.70")});
    std::vector<Row> rows = compareObjectTables(one, two);
    ASSERT_EQ(rows.size(), 2u) << "Table 18 and Form 18 are different objects";
    EXPECT_EQ(rows[0], (Row{"New", "Table", "18", "Customer", "NAVW14.00", "2003-07-14", "", "9999", "12:00:00", "",
                            "Customer", "", "NAVW14.00", ""}));
    EXPECT_EQ(rows[1], (Row{"New", "Form", "18", "Customer Card", "NAVW13.70", "", "2003-07-15", "-9999", "",
                            "13:00:00", "", "Customer Card", "", "NAVW13.70"}));
    EXPECT_EQ(one[0].state, CS_ONLY_FIRST);
    EXPECT_EQ(two[0].state, CS_NOT_COMPARED);
    EXPECT_FALSE(two[0].matched);
}

TEST_F(ObjectCompare, RowsOfTheFirstDatabaseComeInItsOrderBeforeThoseOfTheSecond)
{
    auto one = array({entry("Table", 30), entry("Table", 10, "2020-01-01"), entry("Table", 20)});
    auto two = array({entry("Table", 99), entry("Table", 10), entry("Table", 5)});
    std::vector<Row> rows = compareObjectTables(one, two);
    std::vector<std::string> order;
    for (const Row& row : rows)
        order.push_back(row[0] + " " + row[2]);
    EXPECT_EQ(order, (std::vector<std::string>{"New 30", "Different 10", "New 20", "New 99", "New 5"}));
}

TEST_F(ObjectCompare, DuplicatesMatchTheFirstEntryOfTheSecondDatabaseOnly)
{
    auto one = array({entry("Table", 1, "2020-01-01"), entry("Table", 1, "2020-01-02")});
    auto two = array({entry("Table", 1, "2020-01-02"), entry("Table", 1, "2020-01-01")});
    std::vector<Row> rows = compareObjectTables(one, two);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0] + rows[0][7], "Different-1");
    EXPECT_EQ(rows[1][0] + rows[1][6] + rows[1][7], "New2020-01-01-9999") << "the second copy is never matched";
    EXPECT_EQ(two[0].state, CS_EQUAL) << "the later comparison of the same entry wins";
    EXPECT_EQ(one[1].state, CS_EQUAL);
}

TEST_F(ObjectCompare, DateDifferenceIsTruncatedTowardZeroAndZeroWhenADateDoesNotParse)
{
    EXPECT_EQ(compareDateDifference("2023-07-05", "2023-07-01"), 4);
    EXPECT_EQ(compareDateDifference("2020-01-01", "2023-01-01"), -1096);
    EXPECT_EQ(compareDateDifference("2023-07-02 06:00", "2023-07-01 18:00"), 0);
    EXPECT_EQ(compareDateDifference("2023-07-01 18:00", "2023-07-02 06:00"), 0) << "not rounded down to -1";
    EXPECT_EQ(compareDateDifference("2023-07-03 06:00", "2023-07-01 18:00"), 1);
    EXPECT_EQ(compareDateDifference("05.07.23", "04.07.23"), 1);
    EXPECT_EQ(compareDateDifference("", "2023-07-01"), 0);
    EXPECT_EQ(compareDateDifference("2023-07-01", "31.02.23"), 0);
    EXPECT_EQ(compareDateDifference("gestern", "heute"), 0);

    auto one = array({entry("Table", 1, "kein Datum")});
    auto two = array({entry("Table", 1, "2023-07-01")});
    EXPECT_EQ(compareObjectTables(one, two).at(0).at(7), "0");
}

TEST_F(ObjectCompare, IndexedComparisonEqualsTheScanOnRandomDatabases)
{
    const char* types[] = {"Table", "Form", "Report", "", "Codeunit"};
    const char* dates[] = {"2023-07-01", "2023-07-02", "01.07.23", "", "x"};
    std::mt19937 random(12);
    auto randomEntry = [&] {
        return entry(types[random() % 5], static_cast<int32_t>(random() % 40), dates[random() % 5],
                     random() % 2 ? "10:00:00" : "11:00:00", random() % 4 ? "Name" : "Other",
                     random() % 4 ? "V1" : "V2");
    };
    for (int round = 0; round < 50; ++round) {
        CDbObjectEntryArray one;
        CDbObjectEntryArray two;
        for (int n = static_cast<int>(random() % 60); n > 0; --n)
            one.add(randomEntry());
        for (int n = static_cast<int>(random() % 60); n > 0; --n)
            two.add(randomEntry());
        CDbObjectEntryArray scanOne = one;
        CDbObjectEntryArray scanTwo = two;
        std::vector<Row> expected = scanComparison(scanOne, scanTwo);
        ASSERT_EQ(compareObjectTables(one, two), expected) << "round " << round;
        for (int i = 0; i < one.count(); ++i)
            ASSERT_EQ(one[i].state, scanOne[i].state) << "round " << round << " entry1 " << i;
        for (int j = 0; j < two.count(); ++j) {
            ASSERT_EQ(two[j].state, scanTwo[j].state) << "round " << round << " entry2 " << j;
            ASSERT_EQ(two[j].matched, scanTwo[j].matched) << "round " << round << " entry2 " << j;
        }
    }
}

TEST_F(ObjectCompare, TheListGetsFourteenColumnsAndTheViewStartsWithNine)
{
    CResultList list;
    fillInitialCompareList(list);
    std::string headings;
    for (int c = 0; c < list.GetColumnCount(); ++c)
        headings += list.GetColumn(c).heading + "/" + std::to_string(list.GetColumn(c).width) + " ";
    EXPECT_EQ(headings, "State/100 Type/100 Name/180 ID/100 Date1/100 Date2/100 Date Diff./100 Time1/100 Time2/100 ");

    auto one = array({entry("Table", 1)});
    auto two = array({entry("Table", 2)});
    fillCompareList(list, one, two);
    EXPECT_EQ(list.GetListText("|", "\n"),
              "State|Type|ID|Name|Version|Date1|Date2|Date Diff.|Time1|Time2|Name1|Name2|Version1|Version2|\n"
              "New|Table|1|Name|V1|2023-07-01||9999|14:00:00||Name||V1||\n"
              "New|Table|2|Name|V1||2023-07-01|-9999||14:00:00||Name||V1|\n");
    EXPECT_EQ(list.GetColumn(3).width, 180);
    EXPECT_EQ(list.GetIcon(0), -1);
}

TEST_F(ObjectCompare, TwoUnreadableDatabasesGiveNoRows)
{
    StandInFolder folder;
    MessageRecorder messages;
    CDatabaseSession session(messages);
    CDbObjectEntryArray one = array({entry("Table", 1)});
    CDbObjectEntryArray two = array({entry("Table", 2)});
    CResultList list;
    DatabaseConnection missing{"x", "tcp", "", "", "", folder.file("nowhere")};
    runObjectCompare(session, missing, missing, false, one, two, list);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(one.count() + two.count(), 0) << "the arrays are emptied at the start";
    EXPECT_EQ(list.GetColumnCount(), 14);
    EXPECT_EQ(list.GetRowCount(), 0);
}

TEST(MarkFilter, ConsecutiveIdsMergeIntoRanges)
{
    EXPECT_EQ(idFilter({50010, 18, 50000, 27, 50001, 50002, 50003, 50004, 50005, 50006, 50007, 50008, 50009}),
              "18|27|50000..50010");
    EXPECT_EQ(idFilter({5, 4, 4, 7}), "4..5|7");
    EXPECT_EQ(idFilter({}), "");
    EXPECT_EQ(idFilter({2147483647, 2147483646, -2147483647 - 1}), "-2147483648|2147483646..2147483647");
}

TEST(MarkFilter, ListsTheDifferentAndNewObjectsOfEachDatabasePerType)
{
    auto one = array({entry("Codeunit", 80, "2020-01-01"), entry("Table", 27, "2020-01-01"), entry("Table", 18),
                      entry("Table", 50000), entry("Table", 50001), entry("", 6000), entry("Form", 21)});
    auto two = array({entry("Table", 27), entry("Form", 21), entry("Codeunit", 80), entry("Page", 21),
                      entry("Form", 18)});
    compareObjectTables(one, two);
    EXPECT_EQ(markFilterText(one, false), "Table: 18|27|50000..50001\r\nCodeunit: 80\r\n(no type): 6000\r\n");
    EXPECT_EQ(markFilterText(two, true), "Table: 27\r\nForm: 18\r\nCodeunit: 80\r\nPage: 21\r\n")
        << "Form 21 is equal on both sides";
    CDbObjectEntryArray none;
    EXPECT_EQ(markFilterText(none, false), "");
}

TEST(ObjectCompareSettings, DefaultsAndRoundTripWithoutPasswords)
{
    CMemorySettingsStore store;
    ObjectCompareSettings settings;
    settings.read(store);
    EXPECT_EQ(settings.database2.licenceFile, "c:\\tmp\\fin.flf");
    EXPECT_EQ(settings.database1.netType, "netb");
    EXPECT_EQ(settings.database1.server, "");
    EXPECT_EQ(settings.database2.user, "");
    EXPECT_EQ(settings.database1.programPath, "c:\\fin_260");

    settings.database1 = {"S1", "tcp", "l1.flf", "U1", "/p1"};
    settings.database2 = {"S2", "lokal", "l2.flf", "U2", "/p2"};
    settings.write(store);
    for (const char* key : {"Lizenzdatei", "Netzwerktyp", "Servername", "User", "Programmpfad"}) {
        EXPECT_TRUE(store.has("OBJECTCOMPARE", key)) << key;
        EXPECT_TRUE(store.has("OBJECTCOMPARE", std::string(key) + "2")) << key;
    }
    EXPECT_EQ(store.getString("OBJECTCOMPARE", "Servername2", ""), "S2");
    EXPECT_EQ(store.getString("OBJECTCOMPARE", "Netzwerktyp", ""), "tcp");
    ObjectCompareSettings again;
    again.read(store);
    EXPECT_EQ(again.database2.programPath, "/p2");
}

TEST(ObjectCompareExport, CellsAreReadBackThroughTwoHundredByteBuffers)
{
    CResultList list;
    list.AddColumn("Version", LIST_ALIGN_LEFT, 100);
    list.AddRow({std::string(150, 'a') + "\r\n" + std::string(150, 'b')}, 0, -1);
    std::string text = buildExportText(list, 0, 200);
    std::string expectedCell = std::string(150, 'a') + std::string(47, 'b');
    EXPECT_NE(text.find("\r\nVersion\t\r\n" + expectedCell + "\t\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.compare(0, 24, "\r\n\r\nQuellix-Analyse vom "), 0);
}

} // namespace
