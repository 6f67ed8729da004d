#pragma once

#include "layout/AnchorLayout.h"

class wxDialog;
class wxFrame;
class wxRect;
class wxTopLevelWindow;
class wxWindow;

// The window the others are centred on and follow (the application sets its main frame).
void setMainWindow(wxWindow* window);

// Gives the main window its restored size (the remembered place when it still fits the display,
// else the default size centred on the display it opens on) and its minimum size; maximising
// afterwards keeps this as the size to return to. Returns the place given.
LayoutRect placeMainWindow(wxFrame& frame, const LayoutRect* remembered = nullptr);

// Centres a top-level window of its own size on the main window, inside the display's work area;
// while it is shown it follows the main window's moves and size changes (followMainWindow).
void centreOnMainWindow(wxTopLevelWindow& window);
// Called by the main window when it moves or changes its size.
void followMainWindow();

// Puts the window back at place right after its first show, should the window manager have put
// it elsewhere (openbox places new windows itself and ignores the place asked for before the show).
void keepPlaceWhenShown(wxTopLevelWindow& window, const wxRect& place);

// Gives the window a remembered place, cut to the work area of the display it lies on and moved
// inside it (the place may come from a larger screen); false, and nothing done, when the place's
// top left corner lies on no display.
bool placeRemembered(wxTopLevelWindow& window, const wxRect& remembered);

// Sizes a dialog to its content (its sizer's needs become its minimum) and centres it on the main
// window, inside the display's work area. Call after the controls are made, before ShowModal.
void fitAndCentreDialog(wxDialog& dialog);
