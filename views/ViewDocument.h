#pragma once

#include "model/ObjektManager.h"

#include <wx/docview.h>

class IViewContext;

// What every view asks of its document: the object catalogue it owns, the file it was opened on,
// the window title following the source file, and the program's context.
class CViewDocument : public wxDocument {
public:
    CObjektManager& manager() { return m_manager; }
    // True when the document was opened on a file (File Open, a recent file, the command line or
    // a drop), whose path the view then takes as its source.
    bool openedOnFile() const { return m_openedOnFile; }
    // The window title and tab follow the view's source file: its file name (with " (2)", " (3)"
    // ... while other documents show a file of that name), or the document's first title again
    // when path is empty.
    virtual void followSourceFile(const wxString& path) = 0;
    IViewContext& context() const { return *m_context; }

protected:
    explicit CViewDocument(IViewContext& context) : m_context(&context) {}

    bool m_openedOnFile = false;

private:
    CObjektManager m_manager;
    IViewContext* m_context;
};
