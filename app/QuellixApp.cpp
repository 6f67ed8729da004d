#include "app/QuellixApp.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixDoc.h"
#include "views/TopLevelPlacement.h"
#include "db/gui/ObjectCompareView.h"
#include "db/gui/WatchView.h"
#include "merge/gui/ChangesView.h"
#include "merge/gui/VergleichsView.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "views/Messages.h"
#include "views/SearchView.h"

#include <wx/cmdline.h>
#include <wx/docmdi.h>
#include <wx/image.h>
#include <wx/msgdlg.h>

bool CQuellixApp::OnInit()
{
    if (!wxApp::OnInit())
        return false;
    wxInitAllImageHandlers();
    SetAppName(settingskeys::kAppName);
    SetVendorName(settingskeys::kAppName);

    wxString file = m_settingsArgument;
    if (file.empty())
        wxGetEnv(kSettingsFileVariable, &file);
    m_settings = std::make_unique<CWxSettingsStore>(file);
    m_previewPages = m_settings->getInt(settingskeys::kSectionSettings, settingskeys::kPreviewPages,
                                        settingskeys::kDefaultPreviewPages);
    m_printData = std::make_unique<wxPrintData>();
    m_printData->SetOrientation(wxLANDSCAPE);

    m_docManager = new CQuellixDocManager;
    m_docManager->loadRecentFiles(*m_settings);
    registerTemplates();

    m_mainFrame = new CMainFrame(m_docManager);
    setMainWindow(m_mainFrame);
    m_mainFrame->RestorePlacement();
    m_mainFrame->Show();
    CallAfter(&CQuellixApp::carryOutCommandLine);
    return true;
}

void CQuellixApp::registerTemplates()
{
    struct Kind {
        const char* name;
        wxClassInfo* view;
    };
    const Kind kinds[] = {{"SearchView", CLASSINFO(CSearchView)},
                          {"ObjectCompareView", CLASSINFO(CObjectCompareView)},
                          {"WatchView", CLASSINFO(CWatchView)},
                          {"MergeView", CLASSINFO(CVergleichsView)},
                          {"Changes", CLASSINFO(CChangesView)}};
    for (const Kind& kind : kinds)
        new wxDocTemplate(m_docManager, kind.name, wxString(), wxString(), wxString(), kind.name,
                          kind.name, CLASSINFO(CQuellixDoc), kind.view);
}

void CQuellixApp::carryOutCommandLine()
{
    if (m_fileArgument.empty()) {
        m_docManager->newDocument();
        return;
    }
    if (!openFile(m_fileArgument))
        m_mainFrame->Close(true);
}

bool CQuellixApp::openFile(const wxString& path)
{
    return m_docManager->CreateDocument(path, wxDOC_SILENT) != nullptr;
}

void CQuellixApp::CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor, wxEvent& event) const
{
    try {
        wxApp::CallEventHandler(handler, functor, event);
    } catch (...) {
        // The message box runs its own event loop, so it is shown once this handler has returned.
        wxString text = messages::exceptionMessage(std::current_exception());
        wxTheApp->CallAfter([text] { wxGetApp().showMessage(wxGetApp().GetTopWindow(), text); });
    }
}

bool CQuellixApp::OnExceptionInMainLoop()
{
    wxString text = messages::exceptionMessage(std::current_exception());
    CallAfter([this, text] { showMessage(GetTopWindow(), text); });
    return true;
}

int CQuellixApp::showMessage(wxWindow* parent, const wxString& text, long style)
{
    if (m_messageHook)
        return m_messageHook(text);
    return wxMessageBox(text, GetAppDisplayName(), style | wxICON_EXCLAMATION, parent);
}

int CQuellixApp::showMessageBox(wxWindow* parent, const wxString& text, const wxString& caption, long style)
{
    if (m_messageHook)
        return m_messageHook(text);
    return wxMessageBox(text, caption, style, parent);
}

wxMDIParentFrame* CQuellixApp::mainWindow() const
{
    return m_mainFrame;
}

void CQuellixApp::setStatusText(const wxString& text)
{
    if (m_mainFrame != nullptr)
        m_mainFrame->SetStatusText(text);
}

wxString CQuellixApp::statusText() const
{
    return m_mainFrame != nullptr ? m_mainFrame->messageText() : wxString();
}

void CQuellixApp::flushStatusText()
{
    if (m_mainFrame != nullptr)
        m_mainFrame->flushStatusText();
}

void CQuellixApp::followJob(bool running)
{
    if (m_mainFrame != nullptr)
        m_mainFrame->FollowJob(running);
}

int CQuellixApp::OnExit()
{
    if (m_settings) {
        if (m_docManager)
            m_docManager->saveRecentFiles(*m_settings);
        if (m_previewPages != 0)
            m_settings->writeInt(settingskeys::kSectionSettings, settingskeys::kPreviewPages, m_previewPages);
    }
    delete m_docManager;
    m_docManager = nullptr;
    m_settings.reset();
    return wxApp::OnExit();
}

void CQuellixApp::OnInitCmdLine(wxCmdLineParser& parser)
{
    wxApp::OnInitCmdLine(parser);
    // Options start with "-" on every system: the toolkit's Windows default also takes "/", which
    // turned a file named from the drive's root ("/exports/nav.txt") into an unknown option.
    parser.SetSwitchChars("-");
    parser.AddOption("", "settings", "use this file as the settings store", wxCMD_LINE_VAL_STRING);
    parser.AddParam("export file", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CQuellixApp::OnCmdLineParsed(wxCmdLineParser& parser)
{
    parser.Found("settings", &m_settingsArgument);
    if (parser.GetParamCount() > 0)
        m_fileArgument = parser.GetParam(0);
    return wxApp::OnCmdLineParsed(parser);
}
