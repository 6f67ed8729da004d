#include "app/QuellixDoc.h"

#include "app/DocManager.h"

#include <wx/filename.h>

wxIMPLEMENT_DYNAMIC_CLASS(CQuellixDoc, wxDocument);

static void refreshViewTitles(wxDocument* doc)
{
    for (wxView* view : doc->GetViewsVector())
        view->OnChangeFilename();
}

bool CQuellixDoc::OnNewDocument()
{
    Modify(false);
    SetDocumentSaved(false);
    auto* manager = dynamic_cast<CQuellixDocManager*>(GetDocumentManager());
    if (manager != nullptr && GetDocumentTemplate() != nullptr)
        SetTitle(manager->nextTitle(GetDocumentTemplate()));
    refreshViewTitles(this);
    UpdateAllViews();
    return true;
}

bool CQuellixDoc::OnOpenDocument(const wxString& file)
{
    SetFilename(file, true);
    Modify(false);
    SetDocumentSaved(true);
    m_openedOnFile = true;
    GetDocumentManager()->AddFileToHistory(file);
    refreshViewTitles(this);
    UpdateAllViews();
    return true;
}

void CQuellixDoc::followSourceFile(const wxString& path)
{
    if (m_firstTitle.empty())
        m_firstTitle = GetUserReadableName();
    wxString title = path.empty() ? m_firstTitle : wxFileName(path).GetFullName();
    if (title.empty())
        title = path;
    if (title == GetUserReadableName())
        return;
    SetTitle(title);
    refreshViewTitles(this);
}
