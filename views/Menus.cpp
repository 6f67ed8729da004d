#include "views/Menus.h"

#include "analysis/OperationTable.h"
#include "resources/ResourceIds.h"

#include <wx/docview.h>
#include <wx/menu.h>

namespace {
wxMenu* viewMenu()
{
    auto* menu = new wxMenu;
    menu->AppendCheckItem(rid::ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar");
    menu->AppendCheckItem(rid::ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar");
    return menu;
}

wxMenu* helpMenu()
{
    auto* menu = new wxMenu;
    menu->Append(wxID_ABOUT, "Quellix Inf&o ...", "Display program information, version number and copyright");
    return menu;
}

void useRecentFiles(wxDocManager* manager, wxMenu* fileMenu)
{
    manager->FileHistoryUseMenu(fileMenu);
    manager->FileHistoryAddFilesToMenu(fileMenu);
}

wxMenu* documentFileMenu(wxDocManager* manager)
{
    auto* menu = new wxMenu;
    menu->Append(wxID_NEW, "&New\tCtrl+N", "Create a new document");
    menu->Append(wxID_OPEN, "&Open...\tCtrl+O", "Open an existing document");
    menu->Append(wxID_CLOSE, "&Close", "Close the active document");
    menu->Append(wxID_SAVE, "&Save\tCtrl+S", "Save the active document");
    menu->Append(wxID_SAVEAS, "Save &As...", "Save the active document with a new name");
    menu->AppendSeparator();
    menu->Append(wxID_PRINT, "&Print...\tCtrl+P", "Print the active document");
    menu->Append(wxID_PREVIEW, "Print Pre&view", "Display full pages");
    menu->Append(wxID_PRINT_SETUP, "P&rint Setup...", "Change the printer and printing options");
    menu->AppendSeparator();
    menu->Append(wxID_EXIT, "E&xit", "Quit the application");
    menu->AppendSeparator();
    useRecentFiles(manager, menu);
    return menu;
}

wxMenu* editMenu()
{
    auto* menu = new wxMenu;
    // The undo entry carries the label "&Redo"; its accelerator is Ctrl+Z.
    menu->Append(wxID_UNDO, "&Redo\tCtrl+Z", "Undo the last action");
    menu->AppendSeparator();
    menu->Append(wxID_CUT, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard");
    menu->Append(wxID_COPY, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard");
    menu->Append(wxID_PASTE, "&Paste\tCtrl+V", "Insert Clipboard contents");
    return menu;
}

wxMenu* windowMenu()
{
    auto* menu = new wxMenu;
    menu->Append(rid::ID_WINDOW_NEW, "&New Window", "Open another window for the active document");
    menu->Append(rid::ID_WINDOW_TILE_HORZ, "Tile &Horizontally", "Arrange windows as non-overlapping tiles");
    menu->Append(rid::ID_WINDOW_TILE_VERT, "Tile &Vertically", "Arrange windows as non-overlapping tiles");
    menu->Append(rid::ID_WINDOW_ARRANGE, "&Arrange Icons", "Arrange icons at the bottom of the window");
    return menu;
}
} // namespace

wxMenuBar* createMainMenuBar(wxDocManager* manager)
{
    auto* file = new wxMenu;
    file->Append(wxID_NEW, "&New\tCtrl+N", "Create a new document");
    file->Append(wxID_OPEN, "&Open...\tCtrl+O", "Open an existing document");
    file->AppendSeparator();
    file->Append(wxID_PRINT_SETUP, "P&rint Setup...", "Change the printer and printing options");
    file->AppendSeparator();
    file->Append(wxID_EXIT, "&Close", "Quit the application");
    file->AppendSeparator();
    useRecentFiles(manager, file);
    auto* bar = new wxMenuBar;
    bar->Append(file, "&File");
    bar->Append(viewMenu(), "&View");
    bar->Append(helpMenu(), "&?");
    return bar;
}

wxMenuBar* createDocumentMenuBar(wxDocManager* manager, int templateId)
{
    auto* bar = new wxMenuBar;
    bar->Append(documentFileMenu(manager), "&File");
    bar->Append(editMenu(), "&Edit");
    if (templateId == rid::IDR_WATCHVIEW) {
        auto* watch = new wxMenu;
        watch->Append(rid::menuIdOf(rid::ID_WATCH_START), "Start");
        watch->Append(rid::menuIdOf(rid::ID_WATCH_STOP), "Stop");
        watch->AppendSeparator();
        watch->Append(rid::menuIdOf(rid::ID_WATCH_SETUP), "Setup ...");
        bar->Append(watch, "&Watch");
    }
    wxMenu* view = viewMenu();
    if (templateId == rid::IDR_SEARCHVIEW) {
        view->AppendSeparator();
        view->Append(rid::ID_STOP_JOB, "Stop\tEsc", "Stop the running job");
    }
    bar->Append(view, "&View");
    bar->Append(windowMenu(), "&Window");
    bar->Append(helpMenu(), "&?");
    return bar;
}

void releaseRecentFilesMenu(wxDocManager* manager, wxMenuBar* bar)
{
    if (manager != nullptr && bar != nullptr && bar->GetMenuCount() > 0)
        manager->FileHistoryRemoveMenu(bar->GetMenu(0));
}

wxMenu* createContextMenu()
{
    auto* menu = new wxMenu;
    menu->Append(rid::menuIdOf(rid::ID_SHOW_OBJECT), "Show Object");
    menu->AppendSeparator();
    menu->Append(rid::menuIdOf(rid::ID_COPY_TO_CLIPBOARD), "copy to clipboard");
    menu->Append(rid::menuIdOf(rid::ID_EXPORT_TO_FILE), "export to file...");
    return menu;
}

wxMenu* createAnalysesMenuFrom(const OperationRows& rows)
{
    auto* menu = new wxMenu;
    for (const AnalysesMenuGroup& group : analysesMenuLayout(rows)) {
        wxMenu* target = menu;
        if (group.submenu != nullptr) {
            target = new wxMenu;
            menu->AppendSubMenu(target, group.submenu);
        }
        for (const OperationDef* row : group.entries)
            target->Append(rid::menuIdOf(row->commandId), row->menu.caption);
    }
    return menu;
}

wxMenu* createAnalysesMenu()
{
    return createAnalysesMenuFrom(operationTable());
}
