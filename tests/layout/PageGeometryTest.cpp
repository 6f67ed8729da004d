#include "layout/PageGeometry.h"

#include <gtest/gtest.h>

TEST(PageGeometry, ScalesPageRectangleAndRowsFollowTheListOnScreen)
{
    PageGeometryInput in;
    in.printerWidth = 4961;   // A4 landscape at 600 dpi
    in.printerHeight = 3508;
    in.printerPpiY = 600;
    in.screenPpiY = 96;
    in.rowLeft = 0;
    in.rowRight = 1100;
    in.rowTop = 20;
    in.rowBottom = 37;
    in.averageCharWidth = 7;
    PageGeometry g = computePageGeometry(in);
    EXPECT_EQ(g.hScale, 4961 / (1100 + 42));
    EXPECT_EQ(g.vScale, 6);
    EXPECT_EQ(g.left, 14);
    EXPECT_EQ(g.top, 0);
    EXPECT_EQ(g.right, 4961 / 4 - 28);
    EXPECT_EQ(g.bottom, 3508 / 6);
    EXPECT_EQ(g.rowHeight, 17);
    EXPECT_EQ(g.rowsPerPage, 3508 / (17 * 6) - 8);
}

TEST(PageGeometry, ScalesAndRowsPerPageAreAtLeastOne)
{
    PageGeometryInput in;
    in.printerWidth = 500;
    in.printerHeight = 100;
    in.printerPpiY = 72;
    in.screenPpiY = 96;
    in.rowRight = 2000;
    in.rowBottom = 20;
    in.averageCharWidth = 8;
    PageGeometry g = computePageGeometry(in);
    EXPECT_EQ(g.hScale, 1);
    EXPECT_EQ(g.vScale, 1);
    EXPECT_EQ(g.rowsPerPage, 1);
}

TEST(PageGeometry, PagesRowsAndFooter)
{
    EXPECT_EQ(printPageCount(40, 40), 1);
    EXPECT_EQ(printPageCount(41, 40), 2);
    EXPECT_EQ(printPageCount(0, 40), 0);
    EXPECT_EQ(printPageFooter(1, 1), "Page 1 of 1");
    EXPECT_EQ(printPageFooter(2, 3), "Page 2 of 3");

    int first = 0, last = 0;
    printPageRows(3, 40, 95, first, last);
    EXPECT_EQ(first, 80);
    EXPECT_EQ(last, 95);
    printPageRows(1, 40, 95, first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 40);

    EXPECT_EQ(searchPrintTitle("Unused Variables", "SearchView1"),
              "Quellix-Analyse Unused Variables SearchView1");
}
