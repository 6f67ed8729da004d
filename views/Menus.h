#pragma once

#include "analysis/OperationTable.h"

class wxDocManager;
class wxMenu;
class wxMenuBar;

// Menu 128 of the main frame without a document: File, View, "?".
wxMenuBar* createMainMenuBar(wxDocManager* manager);
// The menu of a document kind (resource 130, 149, 148 or 129): File, Edit, [Watch,] View, Window, "?".
wxMenuBar* createDocumentMenuBar(wxDocManager* manager, int templateId);
// Stops the recent-file list from updating the File menu of a menu bar about to be destroyed.
void releaseRecentFilesMenu(wxDocManager* manager, wxMenuBar* bar);
// Menu 139 ("Context") of the result list.
wxMenu* createContextMenu();
// The popup "Source Code Analyse" of menu 147, opened by the "Source Analyses " button: the menu
// entries of the operation table's rows (analysesMenuLayout).
wxMenu* createAnalysesMenuFrom(const OperationRows& rows);
wxMenu* createAnalysesMenu();
