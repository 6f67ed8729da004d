#include "GuiTestSupport.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "views/SearchView.h"

#include <wx/choicdlg.h>
#include <wx/evtloop.h>
#include <wx/listbox.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <thread>

namespace guitest {

wxArrayString startupNewChoices;

wxArrayString choiceEntries(wxDialog* dialog)
{
    for (wxWindow* child : dialog->GetChildren())
        if (auto* list = dynamic_cast<wxListBox*>(child))
            return list->GetStrings();
    return {};
}

namespace {
std::vector<wxString> g_messages;

// Looks for a dialog every 20 ms, on whatever event loop is running.
class CDialogWatcher : public wxTimer {
public:
    CDialogWatcher(const wxString& title, std::function<void(wxDialog*)> act)
        : m_title(title), m_act(std::move(act))
    {
        Start(20);
    }
    void Notify() override
    {
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<wxDialog*>(window);
            if (dialog != nullptr && dialog->IsShown() && dialog->GetTitle() == m_title) {
                Stop();
                auto act = std::move(m_act);
                act(dialog);
                delete this;
                return;
            }
        }
    }

private:
    wxString m_title;
    std::function<void(wxDialog*)> m_act;
};
} // namespace

bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        while (loop->Pending())
            loop->Dispatch();
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void pump(int ms)
{
    runUntil([] { return false; }, ms);
}

void whenDialogAppears(const wxString& title, std::function<void(wxDialog*)> act)
{
    new CDialogWatcher(title, std::move(act));
}

std::vector<wxString> takeMessages()
{
    std::vector<wxString> messages;
    messages.swap(g_messages);
    return messages;
}

void installMessageHook()
{
    wxGetApp().setMessageHook([](const wxString& text) {
        g_messages.push_back(text);
        return wxOK;
    });
}

CSearchView* activeSearchView()
{
    wxView* view = wxGetApp().docManager()->GetCurrentView();
    return dynamic_cast<CSearchView*>(view);
}

CSearchView* openSearchView(const wxString& path)
{
    size_t before = wxGetApp().docManager()->GetDocumentsVector().size();
    if (!wxGetApp().openFile(path))
        return nullptr;
    runUntil([&] { return wxGetApp().docManager()->GetDocumentsVector().size() > before && activeSearchView(); });
    pump(100);
    return activeSearchView();
}

wxView* newView(const wxString& kind)
{
    whenDialogAppears("Neu", [kind](wxDialog* dialog) {
        auto* choice = dynamic_cast<wxSingleChoiceDialog*>(dialog);
        choice->SetSelection(choiceEntries(dialog).Index(kind));
        dialog->EndModal(wxID_OK);
    });
    const size_t before = wxGetApp().docManager()->GetDocumentsVector().size();
    wxCommandEvent newCommand(wxEVT_MENU, wxID_NEW);
    wxGetApp().mainFrame()->GetEventHandler()->ProcessEvent(newCommand);
    runUntil([&] { return wxGetApp().docManager()->GetDocumentsVector().size() > before; });
    pump(100);
    return wxGetApp().docManager()->GetCurrentView();
}

void closeAllDocuments()
{
    wxGetApp().docManager()->CloseDocuments(true);
    pump(100);
}

bool waitForJob(CSearchView* view, int timeoutMs)
{
    return runUntil([view] { return !view->IsWorkerRunning() && !view->IsBusy(); }, timeoutMs);
}

void click(wxWindow* window)
{
    wxUIActionSimulator simulator;
    wxRect rect = window->GetScreenRect();
    simulator.MouseMove(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
    pump(50);
    simulator.MouseClick();
    pump(50);
}

std::string sourcePath(const std::string& relative)
{
    return std::string(QUELLIX_SOURCE_DIR) + "/" + relative;
}

std::string tempFolder()
{
    // One folder per run: several runs (other checkouts, other users) may share the machine.
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quellix-gui-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        return std::filesystem::path(pattern);
    }();
    return folder.string();
}

std::string tempPath(const std::string& name)
{
    return (std::filesystem::path(tempFolder()) / name).string();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string writeLargeExport(const std::string& name, int count)
{
    std::string path = tempPath(name);
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < count; ++i) {
        out << "OBJECT Codeunit " << 50000 + i << " Worker " << i << "\r\n{\r\n"
            << "  OBJECT-PROPERTIES\r\n  {\r\n    Date=14.07.03;\r\n    Time=12:00:00;\r\n  }\r\n"
            << "  PROPERTIES\r\n  {\r\n    OnRun=BEGIN\r\n            Customer.GET('10000');\r\n"
            << "          END;\r\n\r\n  }\r\n  CODE\r\n  {\r\n    VAR\r\n"
            << "      Customer@1000 : Record 18;\r\n      Unused" << i << "@1001 : Integer;\r\n\r\n"
            << "    PROCEDURE Run" << i << "@1();\r\n    BEGIN\r\n      Customer.FIND('-');\r\n"
            << "    END;\r\n\r\n    BEGIN\r\n    END.\r\n  }\r\n}\r\n\r\n";
    }
    return path;
}

void MainWindowRestored::SetUp()
{
    m_saved = wxGetApp().mainFrame()->GetRect();
}

void MainWindowRestored::TearDown()
{
    closeAllDocuments();
    wxGetApp().mainFrame()->SetSize(m_saved);
    pump(100);
}

} // namespace guitest
