#pragma once

class wxDialog;
class wxFrame;
class wxTopLevelWindow;

// Gives the main window its restored size (the default size on the display it opens on) and its
// minimum size; maximising afterwards keeps this as the size to return to.
void placeMainWindow(wxFrame& frame);

// Centres a top-level window of its own size on the main window, inside the display's work area.
void centreOnMainWindow(wxTopLevelWindow& window);

// Sizes a dialog to its content (its sizer's needs become its minimum) and centres it on the main
// window, inside the display's work area. Call after the controls are made, before ShowModal.
void fitAndCentreDialog(wxDialog& dialog);
