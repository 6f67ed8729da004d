#pragma once

#include "model/ObjektManager.h"

#include <wx/docview.h>

// One document: owns the object catalogue of its single view for as long as it lives; it reads
// and writes nothing itself.
class CQuellixDoc : public wxDocument {
public:
    CObjektManager& manager() { return m_manager; }
    // True when the document was opened on a file (File Open, a recent file, the command line or
    // a drop), whose path the view then takes as its source.
    bool openedOnFile() const { return m_openedOnFile; }

    // The window title and tab follow the view's source file: its file name (with " (2)", " (3)"
    // ... while other documents show a file of that name), or the document's first title again
    // when path is empty.
    void followSourceFile(const wxString& path);

    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& file) override;
    bool OnSaveDocument(const wxString&) override { return true; }
    bool IsModified() const override { return false; }

private:
    CObjektManager m_manager;
    bool m_openedOnFile = false;
    int freeTitleNumber(const wxString& name) const;

    wxString m_firstTitle; // the title before the first followSourceFile
    wxString m_titleName;  // the file name the title shows, empty for the first title
    int m_titleNumber = 0; // 1 for the first document showing that name, 2 for the second ...

    wxDECLARE_DYNAMIC_CLASS(CQuellixDoc);
};
