#pragma once

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
};

// Scales, page rectangle (logical units; one logical unit is hScale x vScale device pixels), row
// height and rows per page of a printed list.
struct PageGeometry {
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
// rows / rowsPerPage rounded up.
int printPageCount(int rowCount, int rowsPerPage);
// Rows first (inclusive) .. last (exclusive) printed on 1-based page.
void printPageRows(int page, int rowsPerPage, int rowCount, int& first, int& last);
// "Page %d of %d" filled with page and pageCount.
std::string printPageFooter(int page, int pageCount);
// The search view's page title: "Quellix-Analyse " + last action + " " + document title.
std::string searchPrintTitle(const std::string& lastAction, const std::string& documentTitle);
