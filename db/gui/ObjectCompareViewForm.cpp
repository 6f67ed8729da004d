// The form of the object comparison view: the controls of template 153 and their anchoring.
#include "db/gui/ObjectCompareView.h"

#include "resources/ResourceIds.h"
#include "views/ResultListCtrl.h"
#include "views/ViewContext.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace rid;

namespace {

struct GroupIds {
    int group, licence, licenceBrowse, server, net, path, pathBrowse, user, password;
};

const GroupIds kGroups[2] = {
    {IDC_COMPARE_GROUP1, IDC_COMPARE_LICENCE1, IDC_COMPARE_LICENCE1_BROWSE, IDC_COMPARE_SERVER1, IDC_COMPARE_NET1,
     IDC_COMPARE_PATH1, IDC_COMPARE_PATH1_BROWSE, IDC_COMPARE_USER1, IDC_COMPARE_PASSWORD1},
    {IDC_COMPARE_GROUP2, IDC_COMPARE_LICENCE2, IDC_COMPARE_LICENCE2_BROWSE, IDC_COMPARE_SERVER2, IDC_COMPARE_NET2,
     IDC_COMPARE_PATH2, IDC_COMPARE_PATH2_BROWSE, IDC_COMPARE_USER2, IDC_COMPARE_PASSWORD2}};

} // namespace

void CObjectCompareView::createGroup(wxWindow* form, int database, int left)
{
    const GroupIds& ids = kGroups[database];
    // Database 1's labels underline a letter (Alt+letter); database 2's fields are a Tab away.
    auto label = [&](const wxString& text, int y) {
        wxRect r = DialogRect(left + 6, y + 2, 44, 8);
        new wxStaticText(form, wxID_STATIC, database == 0 ? text : wxControl::RemoveMnemonics(text), r.GetPosition(), r.GetSize());
    };
    auto edit = [&](int id, int y, int width, long style = 0) {
        wxRect r = DialogRect(left + 52, y, width, 12);
        return new wxTextCtrl(form, id, wxString(), r.GetPosition(), r.GetSize(), style);
    };
    auto browse = [&](int id, int y) {
        wxRect r = DialogRect(left + 208, y - 1, 18, 14);
        new wxButton(form, id, "...", r.GetPosition(), r.GetSize());
    };
    wxRect box = DialogRect(left, 4, 233, 98);
    new wxStaticBox(form, ids.group, database == 0 ? "Database1" : "Database 2", box.GetPosition(), box.GetSize());

    ConnectionControls& c = m_controls[database];
    label("L&icensefile", 16);
    c.licenceFile = edit(ids.licence, 16, 152);
    browse(ids.licenceBrowse, 16);
    label("&Server/DB", 32);
    c.server = edit(ids.server, 32, 106);
    const wxString netTypes[] = {"tcp", "netb", "lokal"};
    wxRect netRect = DialogRect(left + 162, 31, 64, 14);
    c.netType = new wxComboBox(form, ids.net, wxString(), netRect.GetPosition(), wxSize(netRect.width, -1),
                               WXSIZEOF(netTypes), netTypes, wxCB_DROPDOWN);
    label("&Programpath", 48);
    c.programPath = edit(ids.path, 48, 152);
    browse(ids.pathBrowse, 48);
    label("&User:", 64);
    c.user = edit(ids.user, 64, 106);
    label("Pass&word:", 80);
    c.password = edit(ids.password, 80, 106, wxTE_PASSWORD);
}

void CObjectCompareView::CreateControls(wxWindow* form)
{
    auto button = [&](int id, const wxString& text, const wxRect& r) {
        return new wxButton(form, id, text, r.GetPosition(), r.GetSize());
    };
    auto label = [&](int id, const wxString& text, const wxRect& r) {
        new wxStaticText(form, id, text, r.GetPosition(), r.GetSize());
    };
    createGroup(form, 0, 7);
    createGroup(form, 1, 247);

    button(IDC_COMPARE_OBJECTS, "&compare Objects", DialogRect(7, 108, 70, 14))->SetDefault();
    button(IDC_MARK_OBJECTS, "&mark Objects in DBs", DialogRect(81, 108, 80, 14));
    wxRect checkRect = DialogRect(170, 110, 90, 10);
    m_allTypesCheck = new wxCheckBox(form, IDC_COMPARE_ALL_TYPES, "&all object types", checkRect.GetPosition(),
                                     checkRect.GetSize());

    m_list = new CResultListCtrl(form, IDC_RESULT_LIST, m_results, &Context().settings(), DialogRect(7, 128, 473, 130));

    wxRect searchRect = DialogRect(7, 265, 150, 12);
    m_searchEdit = new wxTextCtrl(form, IDC_SEARCH_TERM, wxString(), searchRect.GetPosition(), searchRect.GetSize());
    button(IDC_SEARCH_IN_LIST, "Search in &list", DialogRect(161, 264, 56, 14));
    label(IDC_COUNT_LABEL, "Count:", DialogRect(300, 266, 26, 8));
    wxRect countRect = DialogRect(328, 264, 44, 12);
    new wxTextCtrl(form, IDC_COUNT, wxString(), countRect.GetPosition(), countRect.GetSize(), wxTE_READONLY);
    label(IDC_OBJECT_COUNT_LABEL, "Objectcount:", DialogRect(378, 266, 46, 8));
    wxRect objectCountRect = DialogRect(426, 264, 54, 12);
    new wxTextCtrl(form, IDC_OBJECT_COUNT, wxString(), objectCountRect.GetPosition(), objectCountRect.GetSize(),
                   wxTE_READONLY);
    createAnchors();
}

void CObjectCompareView::createAnchors()
{
    AddAnchor(Anchor::GrowBoth, IDC_RESULT_LIST);
    for (int id : {IDC_SEARCH_TERM, IDC_SEARCH_IN_LIST})
        AddAnchor(Anchor::MoveDown, id);
    for (int id : {IDC_COUNT_LABEL, IDC_COUNT, IDC_OBJECT_COUNT_LABEL, IDC_OBJECT_COUNT})
        AddAnchor(Anchor::MoveDownRight, id);
}
