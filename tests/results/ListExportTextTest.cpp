#include "results/ListExportText.h"

#include "results/ResultList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {
std::time_t localTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
} // namespace

TEST(ListExportText, DatedHeaderThenTheListWithTabsAndCrLf)
{
    CResultList list;
    list.AddColumn("A", 0, 50);
    list.AddColumn("B", 0, 50);
    list.AddRow({"x", "y"}, 0, -1);
    std::time_t t = localTime(2003, 7, 14, 9, 5, 7);
    EXPECT_EQ(exportHeader(t), "\r\n\r\nQuellix-Analyse vom 2003-07-14 09:05:07\r\n");
    EXPECT_EQ(buildExportText(list, t),
              "\r\n\r\nQuellix-Analyse vom 2003-07-14 09:05:07\r\nA\tB\t\r\nx\ty\t\r\n");
}

TEST(ListExportText, AppendingTwiceKeepsTheFirstExport)
{
    std::string name = std::to_string(getpid()) + "-quellix-export-append.txt";
    std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::remove(path.c_str());
    ASSERT_TRUE(appendToFile(path, "first\r\n"));
    ASSERT_TRUE(appendToFile(path, "second\r\n"));
    EXPECT_EQ(readAll(path), "first\r\nsecond\r\n");
    std::remove(path.c_str());
    EXPECT_FALSE(appendToFile("/nonexistent-dir/x.txt", "x"));
}

TEST(ListExportText, TextOfSomeRowsHasTheHeadingsAndThoseRowsOnlyAndAllRowsWhenNoneAreGiven)
{
    CResultList list;
    list.AddColumn("A", 0, 10);
    list.AddColumn("B", 0, 10);
    list.AddRow({"x", "y"}, 0, -1);
    list.AddRow({"u\r\nv", "w"}, 0, -1);
    list.AddRow({"last"}, 0, -1);
    EXPECT_EQ(listTextOfRows(list, {1}), "A\tB\t\r\nuv\tw\t\r\n");
    EXPECT_EQ(listTextOfRows(list, {2, 0, 7, -1}), "A\tB\t\r\nlast\t\t\r\nx\ty\t\r\n");
    EXPECT_EQ(listTextOfRows(list, {}), list.GetListText("\t", "\r\n"));
}
