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

TEST(PageGeometry, ThePageLiesInsideThePrintableArea)
{
    PageGeometryInput in;
    in.printerWidth = 4961; // A4 landscape at 600 dpi
    in.printerHeight = 3508;
    in.printerPpiY = 600;
    in.screenPpiY = 96;
    in.rowRight = 1100;
    in.rowTop = 20;
    in.rowBottom = 37;
    in.averageCharWidth = 7;
    in.printable = {236, 236, 4489, 3036};
    PageGeometry g = computePageGeometry(in);
    EXPECT_EQ(g.originX, 236);
    EXPECT_EQ(g.originY, 236);
    // The same rules, applied to the printable area instead of the page.
    EXPECT_EQ(g.hScale, 4489 / (1100 + 42));
    EXPECT_EQ(g.vScale, 6);
    EXPECT_EQ(g.right, 4489 / g.hScale - 28);
    EXPECT_EQ(g.bottom, 3036 / 6);
    EXPECT_EQ(g.rowsPerPage, 3036 / (17 * 6) - 8);
    // Everything drawn (title band from 0, footer band below bottom - 3 rows, lines to right).
    EXPECT_GE(g.originY + g.top * g.vScale, 236);
    EXPECT_LE(g.originX + g.right * g.hScale, 236 + 4489);
    EXPECT_LE(g.originY + g.bottom * g.vScale, 236 + 3036);
    EXPECT_LE(g.originY + (4 + g.rowsPerPage + 1) * g.rowHeight * g.vScale, 236 + 3036 - 3 * g.rowHeight * g.vScale)
        << "rows end above the footer line";
}

TEST(PageGeometry, PrintableAreaIsThePaperLessTheMarginsInsideTheDevicePage)
{
    // Whole paper reported as the page (GTK): 10 mm at 600 dpi are 236 pixels.
    EXPECT_EQ(printableArea({0, 0, 4961, 3508}, 4961, 3508, PageMarginsMm{}, 600, 600),
              (LayoutRect{236, 236, 4961 - 472, 3508 - 472}));
    // A device with unprintable edges: its origin is 100 / 80 pixels into the paper.
    EXPECT_EQ(printableArea({-100, -80, 4961, 3508}, 4761, 3348, PageMarginsMm{10, 10, 10, 10}, 600, 600),
              (LayoutRect{136, 156, 4961 - 100 - 236 - 136, 3508 - 80 - 236 - 156}));
    // Margins inside the unprintable edge: the device's page limits.
    EXPECT_EQ(printableArea({-100, -80, 4961, 3508}, 4761, 3348, PageMarginsMm{0, 0, 0, 0}, 600, 600),
              (LayoutRect{0, 0, 4761, 3348}));
    // Margins that leave nothing: the whole page rather than nothing.
    EXPECT_EQ(printableArea({0, 0, 1123, 794}, 1123, 794, PageMarginsMm{200, 200, 200, 200}, 96, 96),
              (LayoutRect{0, 0, 1123, 794}));
}
