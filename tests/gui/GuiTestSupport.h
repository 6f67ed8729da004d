#pragma once

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/gdicmn.h>
#include <wx/arrstr.h>
#include <wx/string.h>

#include <functional>
#include <string>
#include <vector>

class CSearchView;
class wxDocument;
class wxView;
class wxWindow;

// Helpers of the GUI tests: they drive the program in-process on the test's event loop.
namespace guitest {

// What the program offered in "Neu" at start-up (the harness cancels it before the tests run).
extern wxArrayString startupNewChoices;
// Entries of a wxSingleChoiceDialog's list.
wxArrayString choiceEntries(wxDialog* dialog);

// Dispatches events (and idle processing) until done() is true or timeoutMs has passed.
bool runUntil(const std::function<bool()>& done, int timeoutMs = 10000);
// Dispatches events for a while.
void pump(int ms);
// When a dialog with this title appears (also inside a modal loop), calls act on it once.
void whenDialogAppears(const wxString& title, std::function<void(wxDialog*)> act);
// Takes the program's message boxes; takeMessages gives those shown since its last call.
void installMessageHook();
std::vector<wxString> takeMessages();

// The search view of the active document, or null.
CSearchView* activeSearchView();
// Opens path as File Open does and waits for its search view.
CSearchView* openSearchView(const wxString& path);
// Opens a new view of the kind chosen in "Neu" ("SearchView", "MergeView" ...) and waits for it.
wxView* newView(const wxString& kind);
// Closes every document (views stop their jobs).
void closeAllDocuments();
// Runs until the view's job has ended.
bool waitForJob(CSearchView* view, int timeoutMs = 60000);
// Clicks a window's centre with the simulated mouse.
void click(wxWindow* window);

// For tests that move or size the main window: at the end every document is closed and the
// window gets back the place it had before.
class MainWindowRestored : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    wxRect m_saved;
};

std::string sourcePath(const std::string& relative);
// A file name in this run's own temporary folder (made on first use).
std::string tempPath(const std::string& name);
std::string tempFolder();
std::string readFile(const std::string& path);
// An export of count codeunits with variables and code, written to a temporary file.
std::string writeLargeExport(const std::string& name, int count);

} // namespace guitest
