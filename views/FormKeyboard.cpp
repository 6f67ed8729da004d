#include "views/FormKeyboard.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/control.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>
#include <wx/stattext.h>
#include <wx/window.h>

#include <vector>

namespace {
bool takesFocus(const wxWindow* window)
{
    return window->IsShown() && window->IsEnabled() && window->AcceptsFocus() && !dynamic_cast<const wxStaticText*>(window);
}

// The form's child that holds focus (a control made of several windows holds it in a part).
wxWindow* childHolding(wxWindow& form, wxWindow* focus)
{
    while (focus != nullptr && focus->GetParent() != &form)
        focus = focus->GetParent();
    return focus;
}

// The control after (before) from in the form's order that takes the focus, wrapping around.
wxWindow* nextControl(wxWindow& form, wxWindow* from, bool forward)
{
    const wxWindowList& children = form.GetChildren();
    std::vector<wxWindow*> order(children.begin(), children.end());
    const int count = static_cast<int>(order.size());
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (order[i] == from)
            at = i;
    for (int step = 1; step <= count; ++step) {
        int i = at < 0 ? (forward ? step - 1 : count - step) : ((at + (forward ? step : -step)) % count + count) % count;
        if (takesFocus(order[i]))
            return order[i];
    }
    return nullptr;
}

void press(wxWindow* control)
{
    if (auto* check = dynamic_cast<wxCheckBox*>(control)) {
        check->SetFocus();
        check->SetValue(!check->GetValue());
        wxCommandEvent event(wxEVT_CHECKBOX, check->GetId());
        event.SetEventObject(check);
        event.SetInt(check->GetValue() ? 1 : 0);
        check->ProcessWindowEvent(event);
    } else if (auto* button = dynamic_cast<wxButton*>(control)) {
        button->SetFocus();
        wxCommandEvent event(wxEVT_BUTTON, button->GetId());
        event.SetEventObject(button);
        button->ProcessWindowEvent(event);
    } else {
        control->SetFocus();
    }
}

// The form's control whose label underlines key, or null.
wxWindow* controlWithMnemonic(wxWindow& form, int key)
{
    for (wxWindow* child : form.GetChildren()) {
        auto* control = dynamic_cast<wxControl*>(child);
        if (control == nullptr || !child->IsShown() || !child->IsEnabled())
            continue;
        wxString plain; // the index counts in the label without its "&"
        const int index = wxControl::FindAccelIndex(control->GetLabel(), &plain);
        if (index >= 0 && index < static_cast<int>(plain.length()) && wxToupper(plain[index]) == wxToupper(key))
            return child;
    }
    return nullptr;
}

void onFormKey(wxWindow& form, wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if ((key == WXK_TAB || key == WXK_NUMPAD_TAB) && (event.GetModifiers() & ~wxMOD_SHIFT) == 0) {
        if (wxWindow* next = nextControl(form, childHolding(form, wxWindow::FindFocus()), !event.ShiftDown())) {
            next->SetFocus();
            return;
        }
    } else if (event.GetModifiers() == wxMOD_ALT && key < 128 && wxIsalnum(key)) {
        if (wxWindow* target = controlWithMnemonic(form, key)) {
            if (dynamic_cast<wxStaticText*>(target)) {
                if (wxWindow* next = nextControl(form, target, true))
                    next->SetFocus();
            } else {
                press(target);
            }
            return;
        }
    }
    event.Skip();
}
} // namespace

void enableFormKeyboard(wxWindow& form)
{
    form.Bind(wxEVT_CHAR_HOOK, [&form](wxKeyEvent& event) { onFormKey(form, event); });
}

void focusFirstControl(wxWindow& form)
{
    if (childHolding(form, wxWindow::FindFocus()) != nullptr)
        return;
    if (wxWindow* first = nextControl(form, nullptr, true))
        first->SetFocus();
}

void focusFirstControlOnShow(wxDialog& dialog)
{
    dialog.Bind(wxEVT_INIT_DIALOG, [&dialog](wxInitDialogEvent& event) {
        event.Skip();
        wxWindow* first = nextControl(dialog, nullptr, true);
        if (first == nullptr)
            return;
        first->SetFocus();
        if (auto* edit = dynamic_cast<wxTextCtrl*>(first))
            edit->SelectAll();
    });
}
