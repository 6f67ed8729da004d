#include "app/QuellixDoc.h"

#include "app/DocManager.h"
#include "app/QuellixApp.h"

#include <wx/filename.h>

#include <set>

wxIMPLEMENT_DYNAMIC_CLASS(CQuellixDoc, wxDocument);

CQuellixDoc::CQuellixDoc() : CViewDocument(wxGetApp())
{
}

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
    followSourceFile(file);
    refreshViewTitles(this);
    UpdateAllViews();
    return true;
}

void CQuellixDoc::followSourceFile(const wxString& path)
{
    if (m_firstTitle.empty())
        m_firstTitle = GetUserReadableName();
    wxString name = path.empty() ? wxString() : wxFileName(path).GetFullName();
    if (name.empty())
        name = path;
    if (name == m_titleName && !name.empty())
        return;
    m_titleName = name;
    m_titleNumber = name.empty() ? 0 : freeTitleNumber(name);
    wxString title = name.empty() ? m_firstTitle : name;
    if (m_titleNumber > 1)
        title += wxString::Format(" (%d)", m_titleNumber);
    if (title == GetUserReadableName())
        return;
    SetTitle(title);
    refreshViewTitles(this);
}

int CQuellixDoc::freeTitleNumber(const wxString& name) const
{
    // Documents on files of one name are told apart by a number: the lowest one not taken.
    std::set<int> taken;
    if (wxDocManager* manager = GetDocumentManager())
        for (wxDocument* doc : manager->GetDocumentsVector())
            if (auto* other = dynamic_cast<CQuellixDoc*>(doc); other != nullptr && other != this && other->m_titleName == name)
                taken.insert(other->m_titleNumber);
    int number = 1;
    while (taken.count(number) > 0)
        ++number;
    return number;
}
