// The forms used from the keyboard alone: Tab and Shift+Tab in the template's order, Enter in the
// search term, Alt+letter on the labels that underline a letter, in every view.
#include "GuiTestSupport.h"

#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuellixApp.h"
#include "merge/gui/VergleichsView.h"
#include "resources/ResourceIds.h"
#include "views/SearchView.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/uiaction.h>

#include <functional>
#include <vector>

using namespace guitest;
using namespace rid;

namespace {
// The ID of the form's control that holds the focus, or -1.
int focusedControl(IBLView* view)
{
    wxWindow* focus = wxWindow::FindFocus();
    while (focus != nullptr && focus->GetParent() != view->Form())
        focus = focus->GetParent();
    return focus != nullptr ? focus->GetId() : -1;
}

class FormKeyboardTest : public testing::Test {
protected:
    void TearDown() override { closeAllDocuments(); }
};
} // namespace

TEST_F(FormKeyboardTest, TabAndShiftTabStepThroughTheFormInTheTemplatesOrder)
{
    const struct {
        const char* kind;
        std::vector<int> order;
    } forms[] = {
        {"SearchView",
         {IDC_SOURCE_FILE, IDC_BROWSE, IDC_SEARCH_TERM, IDC_CAL_AWARE, IDC_SEARCH_OPTION, IDC_SEARCH,
          IDC_SEARCH_IN_LIST, IDC_RESULT_LIST, IDC_ANALYSES_BUTTON, IDC_NUMBER_RANGE, IDC_LAST_ACTION, IDC_COUNT,
          IDC_OBJECT_COUNT}},
        {"MergeView",
         {IDC_MERGE_SOURCE2, IDC_MERGE_BROWSE_SOURCE2, IDC_MERGE_SOURCE1, IDC_MERGE_BROWSE_SOURCE1, IDC_MERGE_BUILD,
          IDC_MERGE_TARGET1, IDC_MERGE_BROWSE_TARGET1, IDC_MERGE_TARGET2, IDC_MERGE_BROWSE_TARGET2,
          IDC_MERGE_IGNORE_NOISE, IDC_MERGE_PROGRAM_PATH, IDC_MERGE_BROWSE_PROGRAM, IDC_MERGE_START, IDC_MERGE_RESULT}},
    };
    wxUIActionSimulator keys;
    for (const auto& form : forms) {
        SCOPED_TRACE(form.kind);
        auto* view = dynamic_cast<IBLView*>(newView(form.kind));
        ASSERT_NE(view, nullptr);
        view->Form()->FindWindow(form.order[0])->SetFocus();
        pump(50);
        std::vector<int> seen{focusedControl(view)};
        for (size_t i = 0; i < form.order.size(); ++i) {
            keys.Char(WXK_TAB);
            pump(50);
            seen.push_back(focusedControl(view));
        }
        std::vector<int> expected = form.order;
        expected.push_back(form.order[0]); // from the last back to the first
        EXPECT_EQ(seen, expected);
        keys.Char(WXK_TAB, wxMOD_SHIFT);
        pump(50);
        EXPECT_EQ(focusedControl(view), form.order.back());
        closeAllDocuments();
    }
}

TEST_F(FormKeyboardTest, EnterInTheSearchTermSearchesAndAltLettersReachTheLabelledControls)
{
    CSearchView* view = openSearchView(wxString::FromUTF8(sourcePath("tests/data/small-export.txt")));
    ASSERT_NE(view, nullptr);
    auto* term = dynamic_cast<wxComboBox*>(view->Form()->FindWindow(IDC_SEARCH_TERM));
    term->SetValue("OBJECT ");
    term->SetFocus();
    pump(50);
    wxUIActionSimulator keys;
    keys.Char(WXK_RETURN);
    ASSERT_TRUE(runUntil([&] { return view->LastAction() == "Search: OBJECT "; }, 3000));
    ASSERT_TRUE(waitForJob(view));
    pump(100);
    EXPECT_EQ(view->Results().GetRowCount(), 5);

    auto* aware = dynamic_cast<wxCheckBox*>(view->Form()->FindWindow(IDC_CAL_AWARE));
    const bool awareBefore = aware->GetValue();
    const struct {
        int letter;
        int focused;
        std::function<bool()> done;
    } mnemonics[] = {
        {'S', IDC_SOURCE_FILE, [] { return true; }},
        {'T', IDC_SEARCH_TERM, [] { return true; }},
        {'C', IDC_CAL_AWARE, [&] { return aware->GetValue() != awareBefore; }},
        {'L', IDC_RESULT_LIST, [&] { return wxGetApp().mainFrame()->messageText().Contains("found in row 1"); }},
    };
    for (const auto& m : mnemonics) {
        keys.Char(m.letter, wxMOD_ALT);
        pump(100);
        EXPECT_EQ(focusedControl(view), m.focused) << char(m.letter);
        EXPECT_TRUE(m.done()) << char(m.letter);
    }
    aware->SetValue(awareBefore);
    wxCommandEvent restore(wxEVT_CHECKBOX, IDC_CAL_AWARE);
    restore.SetEventObject(aware);
    aware->ProcessWindowEvent(restore);
}

TEST_F(FormKeyboardTest, AltLettersReachTheLabelledControlsOfEveryView)
{
    // letter -> the control that takes the focus: a label's next control, or a check box (toggled,
    // so each check box letter is pressed twice to leave the setting as it was).
    const struct {
        const char* kind;
        std::vector<std::pair<int, int>> letters;
    } forms[] = {
        {"MergeView",
         {{'1', IDC_MERGE_SOURCE2}, {'2', IDC_MERGE_SOURCE1}, {'I', IDC_MERGE_TARGET1}, {'N', IDC_MERGE_TARGET2},
          {'P', IDC_MERGE_PROGRAM_PATH}, {'D', IDC_MERGE_IGNORE_NOISE}, {'D', IDC_MERGE_IGNORE_NOISE}}},
        {"ObjectCompareView",
         {{'I', IDC_COMPARE_LICENCE1}, {'S', IDC_COMPARE_SERVER1}, {'P', IDC_COMPARE_PATH1}, {'U', IDC_COMPARE_USER1},
          {'W', IDC_COMPARE_PASSWORD1}, {'A', IDC_COMPARE_ALL_TYPES}, {'A', IDC_COMPARE_ALL_TYPES}}},
        {"WatchView",
         {{'V', IDC_WATCH_SERVER}, {'P', IDC_WATCH_PROGRAM_PATH}, {'U', IDC_WATCH_USER}, {'W', IDC_WATCH_PASSWORD},
          {'A', IDC_WATCH_ALL_TYPES}, {'A', IDC_WATCH_ALL_TYPES}, {'D', IDC_WATCH_DELETED}, {'D', IDC_WATCH_DELETED}}},
        {"Changes",
         {{'A', IDC_CHANGES_EXPORT_A}, {'B', IDC_CHANGES_EXPORT_B}, {'D', IDC_CHANGES_NOISE}, {'D', IDC_CHANGES_NOISE}}},
    };
    wxUIActionSimulator keys;
    for (const auto& form : forms) {
        SCOPED_TRACE(form.kind);
        auto* view = dynamic_cast<IBLView*>(newView(form.kind));
        ASSERT_NE(view, nullptr);
        auto checks = [&] {
            std::vector<bool> values;
            for (const auto& [letter, control] : form.letters)
                if (auto* check = dynamic_cast<wxCheckBox*>(view->Form()->FindWindow(control)))
                    values.push_back(check->GetValue());
            return values;
        };
        const std::vector<bool> before = checks();
        std::vector<int> seen;
        std::vector<int> expected;
        for (const auto& [letter, control] : form.letters) {
            keys.Char(letter, wxMOD_ALT);
            pump(100);
            seen.push_back(focusedControl(view));
            expected.push_back(control);
        }
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(checks(), before); // each check box toggled twice
        closeAllDocuments();
    }
}

TEST_F(FormKeyboardTest, CtrlTabAndF6SwitchViewsAroundAndTheFocusFollowsIntoTheForm)
{
    // Ctrl+Tab moved the focus out of the form to the view's tab; F6 stopped at the last view.
    std::vector<wxView*> views;
    for (const char* kind : {"SearchView", "MergeView", "WatchView"})
        views.push_back(newView(kind));
    ASSERT_EQ(wxGetApp().docManager()->GetCurrentView(), views[2]);
    auto current = [] { return wxGetApp().docManager()->GetCurrentView(); };
    const struct {
        int key;
        int modifiers;
        int view; // the active one afterwards
    } steps[] = {
        {WXK_TAB, wxMOD_CONTROL, 0},           {WXK_TAB, wxMOD_CONTROL, 1},
        {WXK_TAB, wxMOD_CONTROL | wxMOD_SHIFT, 0}, {WXK_TAB, wxMOD_CONTROL | wxMOD_SHIFT, 2},
        {WXK_F6, wxMOD_NONE, 0},               {WXK_F6, wxMOD_SHIFT, 2},
        {WXK_F6, wxMOD_CONTROL, 0},
    };
    wxUIActionSimulator keys;
    for (const auto& step : steps) {
        keys.Char(step.key, step.modifiers);
        pump(100);
        EXPECT_EQ(current(), views[step.view]) << step.key << " " << step.modifiers;
    }
    auto* search = dynamic_cast<CSearchView*>(views[0]);
    ASSERT_NE(search, nullptr);
    EXPECT_NE(focusedControl(search), -1) << "the focus is in the active view's form";
}
