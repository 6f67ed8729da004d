#pragma once

class wxEvtHandler;

// Binds the Edit menu's copy, cut, paste and undo (and their enabling) on handler to the text
// field that has the focus; the commands are disabled while no text field has it.
void bindTextEditCommands(wxEvtHandler& handler);
