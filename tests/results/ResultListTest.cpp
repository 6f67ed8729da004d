#include "results/DateParse.h"
#include "results/ResultList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A list with the given headings; each row's item data is its index at insertion.
void fill(CResultList& list, const std::vector<std::string>& headings,
          const std::vector<std::vector<std::string>>& rows)
{
    list.ResetList();
    for (const std::string& heading : headings)
        list.AddColumn(heading, LIST_ALIGN_LEFT, 100);
    for (std::size_t i = 0; i < rows.size(); ++i)
        list.AddRow(rows[i], static_cast<int>(i), 163);
}

std::vector<std::string> column(const CResultList& list, int col)
{
    std::vector<std::string> cells;
    for (int row = 0; row < list.GetRowCount(); ++row)
        cells.push_back(list.GetCellText(row, col));
    return cells;
}

std::vector<int> itemData(const CResultList& list)
{
    std::vector<int> data;
    for (int row = 0; row < list.GetRowCount(); ++row)
        data.push_back(list.GetItemData(row));
    return data;
}

// Sorting reads dates in the user's locale; the tests pin it to ISO unless they say otherwise.
class ResultListSort : public ::testing::Test {
protected:
    void SetUp() override
    {
        setDateStyleOverride(DateStyle::IsoOnly);
        CResultList::resetSortDirection();
    }
    void TearDown() override
    {
        clearDateStyleOverride();
        CResultList::resetSortDirection();
    }
};

} // namespace

TEST(ResultList, AddRowAppendsAndRefusesAnEmptyCellArray)
{
    CResultList list;
    EXPECT_EQ(list.AddColumn("A", LIST_ALIGN_LEFT, 10), 0);
    EXPECT_EQ(list.AddColumn("B", LIST_ALIGN_RIGHT, 20), 1);
    EXPECT_EQ(list.GetColumn(1).align, LIST_ALIGN_RIGHT);
    EXPECT_EQ(list.AddRow({}, 5, 163), -1);
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(list.AddRow({"a", "b", "dropped"}, 7, 163), 0);
    EXPECT_EQ(list.AddRow({"c"}, -5), 1);
    EXPECT_EQ(list.GetRow(0).cells, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list.GetItemData(0), 7);
    EXPECT_EQ(list.GetIcon(0), 163);
    EXPECT_EQ(list.GetItemData(1), 0);
    EXPECT_EQ(list.GetIcon(1), -1);
    EXPECT_EQ(list.GetCellText(1, 1), "");
}

TEST(ResultList, RowWithoutColumnsKeepsItsFirstCell)
{
    CResultList list;
    EXPECT_EQ(list.AddRow({"only", "more"}, 1, -1), 0);
    EXPECT_EQ(list.GetRow(0).cells, std::vector<std::string>{"only"});
}

TEST(ResultList, RowsKeepEveryByteOfTheirCellsAndTakeRowsHandsThemOverInOrder)
{
    CResultList list;
    for (const char* heading : {"A", "B", "C", "D"})
        list.AddColumn(heading, LIST_ALIGN_LEFT, 10);
    const std::string withNul("x\0y\r\nz", 7);
    const std::string long70k(70000, 'L');
    const std::vector<std::vector<std::string>> rows = {
        {"", withNul, "", "last"}, {long70k}, {"\xE4\xF6\xFC", "", ""}, {"a", "b", "c", "d", "dropped"}};
    for (std::size_t i = 0; i < rows.size(); ++i)
        list.AddRow(rows[i], static_cast<int>(i) * 10, 160 + static_cast<int>(i));
    EXPECT_EQ(list.GetRow(0).cells, rows[0]);
    EXPECT_EQ(list.GetRow(1).cells, rows[1]);
    EXPECT_EQ(list.GetRow(2).cells, rows[2]);
    EXPECT_EQ(list.GetRow(3).cells, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(list.GetCellText(0, 1), withNul);
    EXPECT_EQ(list.GetCellText(1, 3), ""); // past the row's last cell
    EXPECT_EQ(list.GetCellText(1, 0).size(), 70000u);
    EXPECT_EQ(list.FindRowContaining("LAST", 0), 0);

    std::vector<CResultRow> taken;
    list.TakeRows([&](CResultRow&& row) { taken.push_back(std::move(row)); });
    ASSERT_EQ(taken.size(), 4u);
    for (std::size_t i = 0; i < taken.size(); ++i) {
        EXPECT_EQ(taken[i].itemData, static_cast<int>(i) * 10);
        EXPECT_EQ(taken[i].icon, 160 + static_cast<int>(i));
    }
    EXPECT_EQ(taken[0].cells, rows[0]);
    EXPECT_EQ(taken[1].cells, rows[1]);
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(list.GetColumnCount(), 4);
    EXPECT_EQ(list.AddRow({"again"}, 1, -1), 0); // the list stays usable
}

TEST(ResultList, DeleteAllRowsKeepsColumnsAndResetListDropsBoth)
{
    CResultList list;
    fill(list, {"A", "B"}, {{"x", "y"}, {"z", "w"}});
    list.SelectRow(1);
    list.DeleteAllRows();
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.GetFirstSelectedRow(), -1);
    list.AddRow({"x"}, -1);
    list.ResetList();
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(list.GetColumnCount(), 0);
}

TEST(ResultList, SelectionIsOneSelectedAndFocusedRow)
{
    CResultList list;
    fill(list, {"A"}, {{"a"}, {"b"}, {"c"}});
    EXPECT_EQ(list.GetFirstSelectedRow(), -1);
    list.SelectRow(2);
    EXPECT_EQ(list.GetFirstSelectedRow(), 2);
    EXPECT_EQ(list.GetFocusedRow(), 2);
    list.SelectRow(1);
    EXPECT_EQ(list.GetFirstSelectedRow(), 1);
    EXPECT_EQ(list.DeselectAllRows(), 3);
    EXPECT_EQ(list.GetFirstSelectedRow(), -1);
    EXPECT_EQ(list.GetFocusedRow(), 1);
}

TEST(ResultList, ChangeCountGrowsWithEveryChange)
{
    CResultList list;
    std::uint64_t before = list.GetChangeCount();
    list.AddColumn("A", 0, 10);
    list.AddRow({"a"}, -1);
    list.SelectRow(0);
    list.SortByColumn(0, true);
    list.DeleteAllRows();
    EXPECT_EQ(list.GetChangeCount(), before + 5);
    list.GetListText("\t", "\n");
    EXPECT_EQ(list.GetChangeCount(), before + 5);
}

TEST(ResultList, ReshapeCountStandsStillWhileRowsAreOnlyAppendedOrSelected)
{
    CResultList list;
    list.AddColumn("A", 0, 10);
    const std::uint64_t shaped = list.GetReshapeCount();
    list.AddRow({"b"}, -1);
    list.AddRow({"a"}, -1);
    list.SelectRow(1);
    list.FindInList("b");
    list.DeselectAllRows();
    EXPECT_EQ(list.GetReshapeCount(), shaped);
    // Every change that moves or removes rows on screen, or changes columns, counts.
    std::uint64_t last = shaped;
    auto grew = [&] {
        const bool more = list.GetReshapeCount() > last;
        last = list.GetReshapeCount();
        return more;
    };
    list.SortByColumn(0, true);
    EXPECT_TRUE(grew()) << "sort";
    EXPECT_TRUE(list.OnColumnClick(0));
    EXPECT_TRUE(grew()) << "column click";
    list.AddColumn("B", 0, 10);
    EXPECT_TRUE(grew()) << "column";
    list.DeleteAllRows();
    EXPECT_TRUE(grew()) << "delete";
    list.AddRow({"c"}, -1);
    list.ResetList();
    EXPECT_TRUE(grew()) << "reset";
}

TEST(ResultList, FindRowContainingFoldsOnlyAsciiLettersAndDoesNotWrap)
{
    CResultList list;
    fill(list, {"A", "B"}, {{"Alpha", "one"}, {"beta", "Two"}, {"gamma", "\xC4pfel"}});
    EXPECT_EQ(list.FindRowContaining("ALP", 0), 0);
    EXPECT_EQ(list.FindRowContaining("two", 0), 1);
    EXPECT_EQ(list.FindRowContaining("alp", 1), -1);
    EXPECT_EQ(list.FindRowContaining("a", 3), -1);
    EXPECT_EQ(list.FindRowContaining("\xC4PF", 0), 2);
    EXPECT_EQ(list.FindRowContaining("\xE4pf", 0), -1);
}

TEST(ResultList, FindRowContainingReadsOnlyTheFirst255Bytes)
{
    CResultList list;
    fill(list, {"A"}, {{std::string(250, ' ') + "needle"}, {std::string(249, ' ') + "needle"}});
    EXPECT_EQ(list.FindRowContaining("needle", 0), 1);
    EXPECT_EQ(list.FindRowContaining("need", 0), 0);
}

TEST(ResultList, FindInListStepsDownAndThenStartsOver)
{
    CResultList list;
    fill(list, {"A", "B"}, {{"hit", ""}, {"miss", ""}, {"x", "HIT"}, {"miss", ""}});
    EXPECT_TRUE(list.FindInList("hit"));
    EXPECT_EQ(list.GetFirstSelectedRow(), 0);
    EXPECT_TRUE(list.FindInList("hit"));
    EXPECT_EQ(list.GetFirstSelectedRow(), 2);
    EXPECT_EQ(list.GetFocusedRow(), 2);
    EXPECT_FALSE(list.FindInList("hit"));
    EXPECT_EQ(list.GetFirstSelectedRow(), -1);
    EXPECT_TRUE(list.FindInList("hit"));
    EXPECT_EQ(list.GetFirstSelectedRow(), 0);
}

TEST(ResultList, FindInListAboveTheSelectionReportsNoHitFirst)
{
    CResultList list;
    fill(list, {"A"}, {{"target"}, {"other"}, {"other"}});
    list.SelectRow(1);
    EXPECT_FALSE(list.FindInList("TARGET"));
    EXPECT_EQ(list.GetFirstSelectedRow(), -1);
    EXPECT_TRUE(list.FindInList("TARGET"));
    EXPECT_EQ(list.GetFirstSelectedRow(), 0);
}

TEST(ResultList, ListTextHasATrailingSeparatorAfterEveryCell)
{
    CResultList list;
    fill(list, {"A", "B"}, {{"x", "y"}});
    EXPECT_EQ(list.GetListText("\t", "\r\n"), "A\tB\t\r\nx\ty\t\r\n");
    list.AddRow({"only"}, -1);
    EXPECT_EQ(list.GetListText(";", "\n"), "A;B;\nx;y;\nonly;;\n");
}

TEST(ResultList, ListTextKeepsEveryRowOnOneLine)
{
    // Cut at 250 bytes, CR LF pairs removed, a CR or LF left over written as a blank.
    const std::string a249(249, 'a');
    const struct {
        std::string cell;
        std::string written;
    } cases[] = {
        {"one\r\ntwo", "onetwo"},
        {"two\rthree\n", "two three "},
        {"\nstarts after its CR", " starts after its CR"},
        {std::string(250, 'a') + std::string(50, 'b'), std::string(250, 'a')},
        {a249 + "\r\nz", a249 + " "}, // the cut splits the pair and leaves its CR
    };
    for (const auto& c : cases) {
        CResultList list;
        fill(list, {"A", "B"}, {{c.cell, "x"}});
        EXPECT_EQ(list.GetListText("\t", "\r\n"), "A\tB\t\r\n" + c.written + "\tx\t\r\n") << c.cell;
    }
}

TEST_F(ResultListSort, ColumnStartingWithZeroSortsAsNumbers)
{
    CResultList list;
    fill(list, {"N"}, {{"0"}, {"10"}, {"9"}, {"abc"}, {"-2.5e1x"}});
    list.SortByColumn(0, true);
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"-2.5e1x", "0", "abc", "9", "10"}));
}

TEST_F(ResultListSort, ColumnStartingWithZeroPointZeroSortsAsText)
{
    CResultList list;
    fill(list, {"N"}, {{"0.0"}, {"10"}, {"9"}, {"-1"}});
    list.SortByColumn(0, true);
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"-1", "0.0", "10", "9"}));
}

TEST_F(ResultListSort, NumberPrefixDecidesTheKindOfTheColumn)
{
    CResultList list;
    fill(list, {"N"}, {{"12 units"}, {"3 units"}, {"100 units"}});
    list.SortByColumn(0, true);
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"3 units", "12 units", "100 units"}));
}

TEST_F(ResultListSort, DatesSortByValueAndUnparsableOnesFirst)
{
    CResultList list;
    fill(list, {"D"}, {{"2024-03-01"}, {"2023-12-31 23:00"}, {"junk"}, {"2024-02-29"}});
    list.SortByColumn(0, true);
    EXPECT_EQ(column(list, 0),
              (std::vector<std::string>{"junk", "2023-12-31 23:00", "2024-02-29", "2024-03-01"}));
}

TEST_F(ResultListSort, DottedNumberIsADateUnderADottedLocale)
{
    setDateStyleOverride(DateStyle::DayMonthDot);
    CResultList list;
    fill(list, {"D"}, {{"12.5"}, {"1.6"}, {"30.4"}});
    list.SortByColumn(0, true);
    EXPECT_EQ(column(list, 0), (std::vector<std::string>{"30.4", "12.5", "1.6"}));
}

TEST_F(ResultListSort, EqualKeysKeepTheirOrderInBothDirections)
{
    CResultList list;
    fill(list, {"K", "V"}, {{"b", "1"}, {"a", "2"}, {"b", "3"}, {"a", "4"}, {"c", "5"}});
    list.SortByColumn(0, true);
    EXPECT_EQ(itemData(list), (std::vector<int>{1, 3, 0, 2, 4}));
    list.SortByColumn(0, false);
    EXPECT_EQ(itemData(list), (std::vector<int>{4, 0, 2, 1, 3}));
}

TEST_F(ResultListSort, TextIgnoresAsciiCaseAndComparesBytesUnsigned)
{
    CResultList list;
    fill(list, {"T"}, {{"abc"}, {"\xE4"}, {"ABC"}, {"Ab"}, {"z"}, {"aBc"}});
    list.SortByColumn(0, true);
    EXPECT_EQ(column(list, 0),
              (std::vector<std::string>{"Ab", "abc", "ABC", "aBc", "z", "\xE4"}));
}

TEST_F(ResultListSort, DataMovesWithTheRowWhileTheSelectionStays)
{
    CResultList list;
    list.AddColumn("A", 0, 10);
    list.AddColumn("B", 0, 10);
    list.AddRow({"b", "second"}, 20, 165);
    list.AddRow({"a", "first"}, 10, -1);
    list.SelectRow(0);
    list.SortByColumn(0, true);
    EXPECT_EQ(list.GetFirstSelectedRow(), 0);
    EXPECT_EQ(list.GetFocusedRow(), 0);
    EXPECT_EQ(list.GetCellText(0, 1), "first");
    EXPECT_EQ(list.GetItemData(0), 10);
    EXPECT_EQ(list.GetIcon(0), -1);
    EXPECT_EQ(list.GetItemData(1), 20);
    EXPECT_EQ(list.GetIcon(1), 165);
}

TEST_F(ResultListSort, OneDirectionIsSharedByAllListsAndStartsDescending)
{
    CResultList first;
    CResultList second;
    CResultList empty;
    empty.AddColumn("A", 0, 10);
    fill(first, {"A"}, {{"a"}, {"c"}, {"b"}});
    fill(second, {"A", "B"}, {{"2", "x"}, {"1", "z"}, {"3", "y"}});

    EXPECT_FALSE(CResultList::nextClickSortsAscending());
    EXPECT_TRUE(first.OnColumnClick(0));
    EXPECT_EQ(column(first, 0), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_TRUE(CResultList::nextClickSortsAscending());

    EXPECT_FALSE(empty.OnColumnClick(0));
    EXPECT_TRUE(CResultList::nextClickSortsAscending());

    EXPECT_TRUE(second.OnColumnClick(1));
    EXPECT_EQ(column(second, 1), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_TRUE(second.OnColumnClick(0));
    EXPECT_EQ(column(second, 0), (std::vector<std::string>{"3", "2", "1"}));
}
