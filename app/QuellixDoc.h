#pragma once

#include "views/ViewDocument.h"

// One document: owns the object catalogue of its single view for as long as it lives; it reads
// and writes nothing itself. Its views reach the application through it.
class CQuellixDoc : public CViewDocument {
public:
    CQuellixDoc();

    void followSourceFile(const wxString& path) override;

    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& file) override;
    bool OnSaveDocument(const wxString&) override { return true; }
    bool IsModified() const override { return false; }

private:
    int freeTitleNumber(const wxString& name) const;

    wxString m_firstTitle; // the title before the first followSourceFile
    wxString m_titleName;  // the file name the title shows, empty for the first title
    int m_titleNumber = 0; // 1 for the first document showing that name, 2 for the second ...

    wxDECLARE_DYNAMIC_CLASS(CQuellixDoc);
};
