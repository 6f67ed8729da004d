#pragma once

#include "jobs/WorkerJob.h"
#include "settings/SettingsStore.h"

#include <wx/defs.h>
#include <wx/string.h>

class wxMDIParentFrame;
class wxPrintData;
class wxWindow;
struct PageMarginsMm;

// What a view, dialog or control asks of the program around it: the settings store, the main
// window's status line, the message boxes, the printer's data and the main window. The
// application implements it; a view reaches it through its document, a dialog or control is
// handed it by the view that makes it.
class IViewContext {
public:
    virtual ~IViewContext() = default;

    virtual ISettingsStore& settings() = 0;

    // The status line of the main window: shown at once, what it shows now, and the newest line
    // of the relay shown at once instead of at the next tick.
    virtual void setStatusText(const wxString& text) = 0;
    virtual wxString statusText() const = 0;
    virtual void flushStatusText() = 0;
    // Status lines from any thread; the main window shows the newest.
    virtual CStatusRelay& statusRelay() = 0;
    // A view's job started (true) or ended (false): the main window follows the relay meanwhile.
    virtual void followJob(bool running) = 0;

    // The program's message box (style wxOK, wxYES_NO ...); gives the answer.
    virtual int showMessage(wxWindow* parent, const wxString& text, long style = wxOK) = 0;
    // The same with a caption of its own and the style's icon (the database messages).
    virtual int showMessageBox(wxWindow* parent, const wxString& text, const wxString& caption, long style) = 0;

    virtual wxPrintData& printData() = 0;
    // The page setup's margins; lists are printed inside them.
    virtual PageMarginsMm& pageMargins() = 0;

    // The main window: the parent of the views' frames and of the print preview; null before the
    // program has one.
    virtual wxMDIParentFrame* mainWindow() const = 0;
};
