#include "app/QuellixDoc.h"

#include "app/DocManager.h"

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
