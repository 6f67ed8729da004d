#pragma once

#include <wx/utils.h>

#include <string>

class IViewContext;

// One database operation on the user-interface thread: the wait cursor while it runs. A wait
// for a database another program holds is shown in the status bar as soon as the library says
// so, painted although the thread waits inside the library, and taken away when the operation
// ends, so it never stays behind for later views and actions.
class CDatabaseOperation {
public:
    CDatabaseOperation() = default;
    ~CDatabaseOperation();
    CDatabaseOperation(const CDatabaseOperation&) = delete;
    CDatabaseOperation& operator=(const CDatabaseOperation&) = delete;

    // The library's wait notice: the status text of context, shown now.
    static void showWait(IViewContext& context, const std::string& text);

private:
    wxBusyCursor m_cursor;
};
