#pragma once

#include "app/WxSettingsStore.h"
#include "jobs/WorkerJob.h"
#include "layout/PageGeometry.h"
#include "views/ViewContext.h"

#include <wx/app.h>
#include <wx/cmndata.h>

#include <functional>
#include <memory>

class CMainFrame;
class CQuellixDocManager;

// The program's application object: settings store, document templates, main frame, status line;
// the context of every view.
class CQuellixApp : public wxApp, public IViewContext {
public:
    bool OnInit() override;
    int OnExit() override;
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    // A command handler that throws ends with the message of its exception ("Nicht genügend
    // Speicher.", "Befehl fehlgeschlagen."); the program goes on running.
    void CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor, wxEvent& event) const override;
    bool OnExceptionInMainLoop() override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;

    ISettingsStore& settings() override { return *m_settings; }
    wxString settingsFile() const { return m_settings ? m_settings->fileName() : wxString(); }
    // Status lines from any thread; the main frame shows the newest in its message pane.
    CStatusRelay& statusRelay() override { return m_status; }
    wxPrintData& printData() override { return *m_printData; }
    // The page setup's margins; lists are printed inside them.
    PageMarginsMm& pageMargins() override { return m_pageMargins; }
    CMainFrame* mainFrame() const { return m_mainFrame; }
    wxMDIParentFrame* mainWindow() const override;
    void setStatusText(const wxString& text) override;
    wxString statusText() const override;
    void flushStatusText() override;
    void followJob(bool running) override;
    CQuellixDocManager* docManager() const { return m_docManager; }
    int previewPages() const { return m_previewPages; }

    // Opens path as a search view document, as File Open does; false when that fails.
    bool openFile(const wxString& path);

    // The program's message box. A hook (the GUI tests install one) receives the text instead and
    // gives the answer.
    int showMessage(wxWindow* parent, const wxString& text, long style = wxOK) override;
    // The same with a caption of its own and the style's icon (the database messages).
    int showMessageBox(wxWindow* parent, const wxString& text, const wxString& caption, long style) override;
    void setMessageHook(std::function<int(const wxString& text)> hook) { m_messageHook = std::move(hook); }

private:
    void registerTemplates();
    void carryOutCommandLine();

    std::unique_ptr<CWxSettingsStore> m_settings;
    CStatusRelay m_status;
    // Made in OnInit: its native part comes from the toolkit's print factory, which exists only
    // once the toolkit is initialised.
    std::unique_ptr<wxPrintData> m_printData;
    PageMarginsMm m_pageMargins;
    CMainFrame* m_mainFrame = nullptr;
    CQuellixDocManager* m_docManager = nullptr;
    wxString m_fileArgument;
    wxString m_settingsArgument;
    int m_previewPages = 0;
    std::function<int(const wxString&)> m_messageHook;
};

wxDECLARE_APP(CQuellixApp);
