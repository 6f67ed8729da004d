#include "db/gui/DatabaseWait.h"

#include "jobs/WorkerJob.h"
#include "views/ViewContext.h"

#include <wx/app.h>

namespace {

IViewContext* g_waitShownBy = nullptr; // the user-interface thread's alone

void setMessageText(IViewContext& context, const std::string& text)
{
    context.setStatusText(wxString::FromUTF8(text));
    // The relay too: the frame takes its newest line later and must not bring an old one back.
    context.statusRelay().setStatusText(text);
}

} // namespace

CDatabaseOperation::~CDatabaseOperation()
{
    if (g_waitShownBy == nullptr)
        return;
    IViewContext& context = *g_waitShownBy;
    g_waitShownBy = nullptr;
    setMessageText(context, "");
}

void CDatabaseOperation::showWait(IViewContext& context, const std::string& text)
{
    g_waitShownBy = &context;
    setMessageText(context, text);
    // The thread stays inside the library until the database is free: paint the text and the
    // wait cursor now, with every window's input shut off meanwhile.
    wxSafeYield(nullptr, true);
}
