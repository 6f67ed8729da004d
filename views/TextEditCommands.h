#pragma once

#include <functional>

class wxEvtHandler;
class wxWindow;

// Where the Edit menu's copy goes when no text field has the focus: to the window hasFocus names.
struct CopyTarget {
    std::function<bool(wxWindow* focus)> hasFocus;
    std::function<void()> copy;
};

// Binds the Edit menu's copy, cut, paste and undo (and their enabling) on handler to the text
// field (edit or combo box) that has the focus; copy also to other while it has the focus.
// The commands are disabled while neither has it.
void bindTextEditCommands(wxEvtHandler& handler, CopyTarget other = {});
