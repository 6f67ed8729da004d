// The form of the search view: the controls of template 103 and their anchoring.
#include "views/SearchView.h"

#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "views/MenuButton.h"
#include "views/Menus.h"
#include "views/ResultListCtrl.h"
#include "views/ViewContext.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/gauge.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace rid;

void CSearchView::CreateControls(wxWindow* form)
{
    auto label = [&](int id, const wxString& text, const wxRect& r) {
        new wxStaticText(form, id, text, r.GetPosition(), r.GetSize());
    };
    auto edit = [&](int id, const wxRect& r, long style = 0) {
        return new wxTextCtrl(form, id, wxString(), r.GetPosition(), r.GetSize(), style);
    };
    auto button = [&](int id, const wxString& text, const wxRect& r) {
        return new wxButton(form, id, text, r.GetPosition(), r.GetSize());
    };

    label(wxID_STATIC, "&Sourcefile:", DialogRect(7, 9, 48, 8));
    m_sourceEdit = edit(IDC_SOURCE_FILE, DialogRect(58, 7, 400, 12));
    button(IDC_BROWSE, "...", DialogRect(462, 6, 18, 14));

    label(wxID_STATIC, "Search &term:", DialogRect(7, 27, 48, 8));
    wxArrayString terms;
    for (const std::string& term : m_recentTerms.terms)
        terms.push_back(wxString::FromUTF8(term));
    wxRect termRect = DialogRect(58, 25, 184, 12);
    m_termEdit = new wxComboBox(form, IDC_SEARCH_TERM, wxString(), termRect.GetPosition(), termRect.GetSize(), terms,
                                wxCB_DROPDOWN | wxTE_PROCESS_ENTER);
    m_termEdit->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { RunSearch(); });
    wxRect awareRect = DialogRect(246, 26, 50, 10);
    m_awareCheck = new wxCheckBox(form, IDC_CAL_AWARE, "&C/AL-aware", awareRect.GetPosition(), awareRect.GetSize());
    AnalysisSettings analysis;
    analysis.read(Context().settings());
    m_awareCheck->SetValue(analysis.aware);
    m_awareCheck->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        AnalysisSettings{m_awareCheck->GetValue()}.write(Context().settings());
    });
    wxRect optionRect = DialogRect(298, 24, 74, 14);
    const wxString options[] = {kSearchOptionNormal, kSearchOptionCase, kSearchOptionRegex};
    m_optionCombo = new wxChoice(form, IDC_SEARCH_OPTION, optionRect.GetPosition(), optionRect.GetSize(),
                                 WXSIZEOF(options), options);
    button(IDC_SEARCH, "Sea&rch", DialogRect(376, 24, 50, 14))->SetDefault();
    button(IDC_SEARCH_IN_LIST, "Search in &list", DialogRect(430, 24, 50, 14));

    m_list = new CResultListCtrl(form, IDC_RESULT_LIST, m_results, &Context().settings(), DialogRect(7, 44, 473, 194));

    wxRect menuRect = DialogRect(7, 244, 90, 14);
    m_analysesButton = new CMenuButton(form, IDC_ANALYSES_BUTTON, "Source &Analyses ", createAnalysesMenu,
                                       menuRect.GetPosition(), menuRect.GetSize());
    button(IDC_NUMBER_RANGE, "Search &No. range", DialogRect(7, 264, 90, 14));

    label(IDC_LAST_ACTION_LABEL, "last action:", DialogRect(150, 246, 46, 8));
    m_lastActionEdit = edit(IDC_LAST_ACTION, DialogRect(198, 244, 282, 12), wxTE_READONLY);
    label(IDC_PROGRESS_LABEL, "progress:", DialogRect(150, 266, 46, 8));
    wxRect gaugeRect = DialogRect(198, 265, 110, 10);
    m_progressBar = new wxGauge(form, IDC_PROGRESS, 100, gaugeRect.GetPosition(), gaugeRect.GetSize());
    label(IDC_COUNT_LABEL, "count:", DialogRect(314, 266, 24, 8));
    m_countEdit = edit(IDC_COUNT, DialogRect(340, 264, 44, 12), wxTE_READONLY);
    label(IDC_OBJECT_COUNT_LABEL, "objectcount:", DialogRect(388, 266, 44, 8));
    m_objectCountEdit = edit(IDC_OBJECT_COUNT, DialogRect(434, 264, 46, 12), wxTE_READONLY);

    createAnchors();
}

void CSearchView::createAnchors()
{
    AddAnchor(Anchor::GrowBoth, IDC_RESULT_LIST);
    for (int id : {IDC_SOURCE_FILE, IDC_SEARCH_TERM})
        AddAnchor(Anchor::GrowWidth, id);
    for (int id : {IDC_SEARCH, IDC_SEARCH_IN_LIST, IDC_BROWSE, IDC_SEARCH_OPTION, IDC_CAL_AWARE})
        AddAnchor(Anchor::MoveRight, id);
    for (int id : {IDC_ANALYSES_BUTTON, IDC_NUMBER_RANGE, IDC_PROGRESS_LABEL})
        AddAnchor(Anchor::MoveDown, id);
    for (int id : {IDC_COUNT, IDC_COUNT_LABEL, IDC_OBJECT_COUNT_LABEL, IDC_OBJECT_COUNT, IDC_PROGRESS,
                   IDC_LAST_ACTION, IDC_LAST_ACTION_LABEL, IDC_PROGRESS_LABEL})
        AddAnchor(Anchor::MoveDownRight, id);
}
