#pragma once

class CResultLocation;
class wxWindow;

// Shows the object of a result location with the finding selected; true when closed with OK.
bool showObjectTextDialog(wxWindow* parent, const CResultLocation& location);
