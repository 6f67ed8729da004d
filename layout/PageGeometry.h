#pragma once

#include "layout/AnchorLayout.h"

#include <string>

// What the page geometry of a printed list is computed from: the printer page in device pixels,
// the vertical resolutions of printer and screen, and row 0 of the list as it stands on screen.
struct PageGeometryInput {
    int printerWidth = 0;      // device pixels
    int printerHeight = 0;
    int printerPpiY = 0;
    int screenPpiY = 0;
    int rowLeft = 0;           // screen pixels
    int rowRight = 0;
    int rowTop = 0;
    int rowBottom = 0;
    int averageCharWidth = 0;  // of the list window's screen font
    // The printable area of the page in device pixels, relative to the device origin; an empty
    // area means the whole printer page.
    LayoutRect printable;
};

// Scales, page rectangle (logical units; one logical unit is hScale x vScale device pixels), row
// height and rows per page of a printed list.
// The page rectangle lies in the printable area: logical (0, 0) is at device pixel (originX, originY).
struct PageGeometry {
    int originX = 0;           // device pixels
    int originY = 0;
    int hScale = 1;
    int vScale = 1;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int rowHeight = 0;
    int rowsPerPage = 1;
};

PageGeometry computePageGeometry(const PageGeometryInput& in);

// Page margins in millimetres, measured from the paper's edges (as a page setup dialog sets them).
struct PageMarginsMm {
    int left = 10;
    int top = 10;
    int right = 10;
    int bottom = 10;
};

// The area a page may be printed on, in device pixels relative to the device origin: the paper
// (which starts at or above-left of the origin when the device reports unprintable edges) less the
// margins, and never beyond the device's own page (0, 0, pageWidth, pageHeight).
LayoutRect printableArea(const LayoutRect& paper, int pageWidth, int pageHeight, const PageMarginsMm& margins,
                         int ppiX, int ppiY);
// rows / rowsPerPage rounded up.
int printPageCount(int rowCount, int rowsPerPage);
// Rows first (inclusive) .. last (exclusive) printed on 1-based page.
void printPageRows(int page, int rowsPerPage, int rowCount, int& first, int& last);
// "Page %d of %d" filled with page and pageCount.
std::string printPageFooter(int page, int pageCount);
// The search view's page title: "Quellix-Analyse " + last action + " " + document title.
std::string searchPrintTitle(const std::string& lastAction, const std::string& documentTitle);
