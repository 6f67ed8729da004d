#pragma once

class wxDialog;
class wxWindow;

// Keyboard use of a view's form: Tab and Shift+Tab step through the form's controls in the order
// they were made (the template's order), from the last back to the first, and never leave the form
// for the toolkit's own targets (the frame, the document tab); Alt+letter acts on the control whose
// label underlines that letter: a label moves the focus to the control after it, a button is
// pressed, a check box toggled, any other control takes the focus.
void enableFormKeyboard(wxWindow& form);

// Gives the focus to the form's first control that takes it, unless a control of the form has it.
void focusFirstControl(wxWindow& form);

// Each time the dialog is shown, its first control takes the focus (an edit with its text
// selected, ready to be typed over), as in a dialog template; the toolkit gives it to the default
// button instead.
void focusFirstControlOnShow(wxDialog& dialog);
