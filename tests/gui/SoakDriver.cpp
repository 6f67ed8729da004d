#include "SoakDriver.h"

#include "GuiTestSupport.h"

#include "analysis/Operation.h"
#include "analysis/OperationTable.h"
#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "db/StandInFolder.h"
#include "db/gui/ObjectCompareView.h"
#include "db/gui/WatchView.h"
#include "merge/gui/ChangesView.h"
#include "merge/gui/VergleichsView.h"
#include "resources/ResourceIds.h"
#include "support/CompareExports.h"
#include "views/ResultListCtrl.h"
#include "views/SearchView.h"

#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/mdi.h>
#include <wx/textentry.h>
#include <wx/timer.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

using namespace guitest;

namespace soak {
namespace {

// Ends every modal dialog (the object viewer, the marks of the comparison) a little while after it
// appears, as a user who looks and presses Esc. "Neu" is left to the command that asked for it.
// Its own generator: when a timer fires depends on the machine, the commands drawn must not.
class DialogCloser : public wxTimer {
public:
    explicit DialogCloser(unsigned seed) : m_random(seed) { Start(30); }
    void Notify() override
    {
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<wxDialog*>(window);
            if (dialog == nullptr || !dialog->IsShown() || !dialog->IsModal() || dialog->GetTitle() == "Neu")
                continue;
            if (++m_seen < 1 + static_cast<int>(m_random() % 8))
                return;
            m_seen = 0;
            dialog->EndModal(wxID_CANCEL);
            ++closed;
            return;
        }
    }
    int closed = 0;

private:
    std::mt19937 m_random;
    int m_seen = 0;
};

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The sample export with one procedure's code changed, for the merge and the changes views.
std::string writeChangedSample()
{
    std::string text = readFile(sourcePath("examples/sample-export.txt"));
    const size_t begin = text.find("BEGIN\r\n");
    if (begin != std::string::npos)
        text.insert(begin + 7, "      Changed := TRUE;\r\n");
    const std::string path = tempPath("soak changed.txt");
    writeFile(path, text);
    return path;
}

// A diff program that does nothing, for the merge view's Start.
std::string writeQuietProgram()
{
    const std::string path = tempPath("soak diff");
    writeFile(path, "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    return path;
}

} // namespace

// What the commands act on: the generator, the exports, and stand-in databases made by cfront-db.
struct World {
    explicit World(unsigned seed) : random(seed), closer(seed + 1) {}
    unsigned below(size_t n) { return static_cast<unsigned>(random() % n); }
    bool oneIn(unsigned n) { return random() % n == 0; }

    std::mt19937 random;
    DialogCloser closer;
    wxString exports[2] = {wxString::FromUTF8(sourcePath("examples/sample-export.txt")),
                           wxString::FromUTF8(writeLargeExport("soak-export.txt", 600))};
    std::string changedSample = writeChangedSample();
    std::string quietProgram = writeQuietProgram();
    StandInFolder folder;
    std::string databases[2] = {folder.createDatabase("one.db", compareexports::exportOf(1)),
                                folder.createDatabase("two.db", compareexports::exportOf(2))};
};

namespace {

template <class View>
View* current()
{
    return dynamic_cast<View*>(wxGetApp().docManager()->GetCurrentView());
}

wxFrame* mainFrame()
{
    return wxGetApp().mainFrame();
}

void setText(IBLView* view, int id, const std::string& text)
{
    if (auto* entry = dynamic_cast<wxTextEntry*>(view->Form()->FindWindow(id)))
        entry->SetValue(wxString::FromUTF8(text));
}

// A button of the view's form pressed as a click would.
void press(IBLView* view, int id)
{
    wxWindow* button = view->Form()->FindWindow(id);
    if (button == nullptr)
        return;
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

// A menu command of the view's frame, as its menu or accelerator sends it.
void menu(wxView* view, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    view->GetFrame()->GetEventHandler()->ProcessEvent(event);
}

// File › Open; an export already open comes to the front instead.
bool openExport(World& world)
{
    const bool opened = wxGetApp().openFile(world.exports[world.below(2)]);
    pump(100);
    return opened;
}

bool reopenRecent(World& world)
{
    const size_t recent = wxGetApp().docManager()->GetHistoryFilesCount();
    if (recent == 0)
        return false;
    wxCommandEvent event(wxEVT_MENU, rid::ID_FILE_MRU_FILE1 + static_cast<int>(world.below(recent)));
    mainFrame()->GetEventHandler()->ProcessEvent(event);
    pump(100);
    return true;
}

bool openComparison(World& world)
{
    auto* view = dynamic_cast<CObjectCompareView*>(newView("ObjectCompareView"));
    if (view == nullptr)
        return false;
    const int servers[] = {rid::IDC_COMPARE_SERVER1, rid::IDC_COMPARE_SERVER2};
    const int nets[] = {rid::IDC_COMPARE_NET1, rid::IDC_COMPARE_NET2};
    const int paths[] = {rid::IDC_COMPARE_PATH1, rid::IDC_COMPARE_PATH2};
    const int passwords[] = {rid::IDC_COMPARE_PASSWORD1, rid::IDC_COMPARE_PASSWORD2};
    for (int n = 0; n < 2; ++n) {
        // Now and then a database that is not there: the failure's message box.
        setText(view, servers[n], world.oneIn(6) ? world.folder.file("missing.db") : world.databases[n]);
        setText(view, nets[n], "lokal");
        setText(view, paths[n], world.folder.programPath());
        setText(view, passwords[n], "geheim");
    }
    return true;
}

bool openWatch(World& world)
{
    auto* view = dynamic_cast<CWatchView*>(newView("WatchView"));
    if (view == nullptr)
        return false;
    world.folder.writeFile("cfront/servers", "NAV = " + world.databases[world.below(2)] + "\n");
    setText(view, rid::IDC_WATCH_SERVER, "NAV");
    if (auto* netType = dynamic_cast<wxChoice*>(view->Form()->FindWindow(rid::IDC_WATCH_NET_TYPE)))
        netType->SetStringSelection("tcp");
    setText(view, rid::IDC_WATCH_PROGRAM_PATH, world.folder.programPath());
    setText(view, rid::IDC_WATCH_USER, "SOAK");
    return true;
}

bool openMerge(World& world)
{
    auto* view = dynamic_cast<CVergleichsView*>(newView("MergeView"));
    if (view == nullptr)
        return false;
    const bool large = world.oneIn(3);
    setText(view, rid::IDC_MERGE_SOURCE1, large ? world.exports[1].utf8_string() : world.exports[0].utf8_string());
    setText(view, rid::IDC_MERGE_SOURCE2, world.changedSample);
    setText(view, rid::IDC_MERGE_TARGET1, tempPath("soak merge 1.txt"));
    setText(view, rid::IDC_MERGE_TARGET2, tempPath("soak merge 2.txt"));
    setText(view, rid::IDC_MERGE_PROGRAM_PATH, world.quietProgram);
    return true;
}

bool openChanges(World& world)
{
    auto* view = dynamic_cast<CChangesView*>(newView("Changes"));
    if (view == nullptr)
        return false;
    setText(view, rid::IDC_CHANGES_EXPORT_A, world.oneIn(3) ? world.exports[1].utf8_string() : world.exports[0].utf8_string());
    setText(view, rid::IDC_CHANGES_EXPORT_B, world.changedSample);
    return true;
}

bool runAnalysis(World& world)
{
    static const std::vector<int> commandIds = [] {
        std::vector<int> ids;
        for (const OperationDef* row : operationTable())
            if (row->input == OperationInput::None && row->commandId != rid::ID_NO_COMMAND)
                ids.push_back(row->commandId);
        return ids;
    }();
    CSearchView* view = current<CSearchView>();
    if (view == nullptr)
        return false;
    view->RunCommand(commandIds[world.below(commandIds.size())]);
    return true;
}

bool search(World& world)
{
    static const char* const terms[] = {"Customer", "BEGIN", "Cust.*No\\.", "xyz", "SETRANGE", "("};
    CSearchView* view = current<CSearchView>();
    if (view == nullptr)
        return false;
    setText(view, rid::IDC_SEARCH_TERM, terms[world.below(std::size(terms))]);
    view->RunSearch();
    return true;
}

// Esc in the search view; the merge and changes views stop their job as closing them does.
bool stopJob(World&)
{
    if (CSearchView* view = current<CSearchView>())
        menu(view, rid::ID_STOP_JOB);
    else if (auto* merge = current<CVergleichsView>())
        merge->StopWorker();
    else if (auto* changes = current<CChangesView>())
        changes->StopWorker();
    else
        return false;
    return true;
}

bool openRow(World& world)
{
    if (CSearchView* view = current<CSearchView>()) {
        const int rows = view->Results().GetRowCount();
        if (rows == 0 || view->IsBusy())
            return false;
        view->OpenRow(static_cast<int>(world.below(static_cast<size_t>(rows))));
        return true;
    }
    if (auto* changes = current<CChangesView>()) {
        const int rows = changes->Results().GetRowCount();
        if (rows == 0 || changes->IsBusy())
            return false;
        if (world.oneIn(2))
            changes->ShowObject(static_cast<int>(world.below(static_cast<size_t>(rows))));
        else
            changes->StepChange(world.oneIn(2));
        return true;
    }
    return false;
}

CResultListCtrl* currentList()
{
    if (CSearchView* view = current<CSearchView>())
        return view->ResultListCtrl();
    if (auto* compare = current<CObjectCompareView>())
        return compare->ResultListCtrl();
    return nullptr;
}

bool sortColumn(World& world)
{
    CResultListCtrl* list = currentList();
    if (list == nullptr)
        return false;
    list->ClickColumn(static_cast<int>(world.below(4)));
    return true;
}

bool findInList(World& world)
{
    CResultListCtrl* list = currentList();
    if (list == nullptr)
        return false;
    list->FindInList(world.oneIn(2) ? "Customer" : "Cust");
    return true;
}

bool copyList(World&)
{
    CSearchView* view = current<CSearchView>();
    if (view == nullptr)
        return false;
    view->CopyToClipboard();
    return true;
}

// The main window resized, maximised or restored (the views' frames are its tabs).
bool resize(World& world)
{
    if (world.oneIn(4))
        mainFrame()->Maximize(!mainFrame()->IsMaximized());
    else
        mainFrame()->SetSize(400 + static_cast<int>(world.below(800)), 300 + static_cast<int>(world.below(600)));
    return true;
}

bool activateOther(World& world)
{
    const wxDocVector documents = wxGetApp().docManager()->GetDocumentsVector();
    if (documents.size() < 2)
        return false;
    wxView* view = documents[world.below(documents.size())]->GetFirstView();
    auto* frame = view != nullptr ? dynamic_cast<wxMDIChildFrame*>(view->GetFrame()) : nullptr;
    if (frame == nullptr)
        return false;
    frame->Activate();
    return true;
}

// The active view's frame closed as its close box does, whatever its job is doing.
bool closeView(World&)
{
    wxView* view = wxGetApp().docManager()->GetCurrentView();
    if (view == nullptr || view->GetFrame() == nullptr)
        return false;
    view->GetFrame()->Close();
    pump(20);
    return true;
}

bool closeAll(World&)
{
    closeAllDocuments();
    return true;
}

bool compareDatabases(World& world)
{
    auto* view = current<CObjectCompareView>();
    if (view == nullptr)
        return false;
    if (world.oneIn(4))
        view->MarkObjects(); // modal: the dialog closer ends it
    else
        press(view, rid::IDC_COMPARE_OBJECTS);
    return true;
}

// Start, one request now and then after another process changed an object, and Stop.
bool watchRequest(World& world)
{
    auto* view = current<CWatchView>();
    if (view == nullptr)
        return false;
    if (!view->IsRunning()) {
        menu(view, rid::menuIdOf(rid::ID_WATCH_START));
    } else if (world.oneIn(4)) {
        menu(view, rid::menuIdOf(rid::ID_WATCH_STOP));
    } else {
        if (world.oneIn(3))
            world.folder.admin({"touch", world.databases[world.below(2)], "Table", world.oneIn(2) ? "18" : "3"});
        view->OnRequestTimer();
    }
    return true;
}

bool buildIntersection(World& world)
{
    auto* view = current<CVergleichsView>();
    if (view == nullptr)
        return false;
    press(view, world.oneIn(5) ? rid::IDC_MERGE_START : rid::IDC_MERGE_BUILD);
    return true;
}

bool compareExports(World&)
{
    auto* view = current<CChangesView>();
    if (view == nullptr)
        return false;
    press(view, rid::IDC_CHANGES_COMPARE);
    return true;
}

} // namespace

// A command that does not fit is drawn again, so a weight counts among the commands that fit the
// view in front: the comparison, watch, merge and changes views' own commands weigh more, so each
// view does its work before another command leaves it.
const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        {"open export", 5, openExport},
        {"reopen recent file", 2, reopenRecent},
        {"open comparison", 2, openComparison},
        {"open watch", 2, openWatch},
        {"open merge", 2, openMerge},
        {"open changes", 2, openChanges},
        {"run analysis", 18, runAnalysis},
        {"search", 10, search},
        {"stop job (Esc)", 8, stopJob},
        {"open row", 6, openRow},
        {"sort", 6, sortColumn},
        {"find in list", 4, findInList},
        {"copy list", 3, copyList},
        {"resize", 7, resize},
        {"activate other view", 4, activateOther},
        {"close view", 4, closeView},
        {"close all", 1, closeAll},
        {"compare databases", 15, compareDatabases},
        {"watch request", 15, watchRequest},
        {"build intersection", 15, buildIntersection},
        {"compare exports", 15, compareExports},
    };
    return table;
}

Driver::Driver(unsigned seed) : m_world(std::make_unique<World>(seed)) {}

Driver::~Driver() = default;

int Driver::dialogsClosed() const
{
    return m_world->closer.closed;
}

void Driver::run(int seconds)
{
    const std::vector<Command>& table = commands();
    int total = 0;
    for (const Command& command : table)
        total += command.weight;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        int pick = static_cast<int>(m_world->below(static_cast<size_t>(total)));
        size_t k = 0;
        while (pick >= table[k].weight)
            pick -= table[k++].weight;
        ++m_draws;
        const auto start = std::chrono::steady_clock::now();
        if (!table[k].run(*m_world))
            continue; // draw again: only commands that fit the program as it is take time
        Acted& acted = m_acted[table[k].name];
        ++acted.count;
        acted.longestMs = std::max(acted.longestMs, static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                        std::chrono::steady_clock::now() - start).count()));
        pump(static_cast<int>(m_world->below(250)));
        takeMessages();
    }
    closeAllDocuments();
}

} // namespace soak
