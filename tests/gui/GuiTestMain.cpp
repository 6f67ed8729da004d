// Runs the GUI tests inside the desktop program: the application starts as it would without
// arguments (with its settings in a temporary file), then the tests drive it on its event loop.
#include "GuiTestSupport.h"

#include "app/QuellixApp.h"
#include "app/WxSettingsStore.h"

#include <gtest/gtest.h>
#include <wx/evtloop.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

wxIMPLEMENT_APP_NO_MAIN(CQuellixApp);

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // A failed wxWidgets assertion fails the running test; its modal dialog would hold the run
    // until the time limit.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& function, const wxString& condition,
                          const wxString& message) {
        ADD_FAILURE() << "wxWidgets assertion \"" << condition << "\" failed in " << function << " (" << file << ":"
                      << line << "): " << message;
    });
    std::string settings = guitest::tempPath("settings.ini");
    setenv(kSettingsFileVariable, settings.c_str(), 1);

    int appArgc = 1;
    char* appArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(appArgc, appArgv))
        return 1;
    int result = 1;
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator active(&loop);
        if (wxTheApp->CallOnInit()) {
            guitest::installMessageHook();
            // Started without a file, the program asks "Neu" first; the start-up test checks it.
            bool answered = false;
            guitest::whenDialogAppears("Neu", [&answered](wxDialog* dialog) {
                guitest::startupNewChoices = guitest::choiceEntries(dialog);
                dialog->EndModal(wxID_CANCEL);
                answered = true;
            });
            guitest::runUntil([&answered] { return answered; });
            guitest::pump(100);
            result = RUN_ALL_TESTS();
            guitest::closeAllDocuments();
            if (wxWindow* top = wxTheApp->GetTopWindow())
                top->Destroy();
            guitest::pump(200);
        }
        wxTheApp->OnExit();
    }
    wxEntryCleanup();
    std::error_code ignored;
    std::filesystem::remove_all(guitest::tempFolder(), ignored);
    return result;
}
