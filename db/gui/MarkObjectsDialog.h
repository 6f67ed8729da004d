#pragma once

#include <wx/string.h>

#include <string>

class wxWindow;

// The dialog of "mark Objects in DBs": for each database a heading and the Object Designer filter
// text of the objects the last comparison listed, read-only, with a Copy button that puts the text
// on the clipboard.
void showMarkObjectsDialog(wxWindow* parent, const wxString headings[2], const std::string filters[2]);
