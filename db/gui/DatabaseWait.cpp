#include "db/gui/DatabaseWait.h"

#include "app/MainFrame.h"
#include "app/QuellixApp.h"

#include <wx/app.h>

namespace {

bool g_waitShown = false; // the user-interface thread's alone

void setMessageText(const std::string& text)
{
    if (CMainFrame* frame = wxGetApp().mainFrame())
        frame->SetStatusText(wxString::FromUTF8(text));
    // The relay too: the frame takes its newest line later and must not bring an old one back.
    wxGetApp().statusRelay().setStatusText(text);
}

} // namespace

CDatabaseOperation::~CDatabaseOperation()
{
    if (!g_waitShown)
        return;
    g_waitShown = false;
    setMessageText("");
}

void CDatabaseOperation::showWait(const std::string& text)
{
    g_waitShown = true;
    setMessageText(text);
    // The thread stays inside the library until the database is free: paint the text and the
    // wait cursor now, with every window's input shut off meanwhile.
    wxSafeYield(nullptr, true);
}
