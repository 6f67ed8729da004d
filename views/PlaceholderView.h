#pragma once

#include <wx/docview.h>

// A view kind whose own view has not been built yet: a form that says so, in its child frame
// with the kind's menu.
class CPlaceholderView : public wxView {
public:
    explicit CPlaceholderView(int menuId = 0) : m_menuId(menuId) {}
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}

private:
    int m_menuId;
};

// The object comparison of two databases (document kind "ObjectCompareView"), to come.
class CObjectComparePlaceholder : public CPlaceholderView {
public:
    CObjectComparePlaceholder();
    wxDECLARE_DYNAMIC_CLASS(CObjectComparePlaceholder);
};
