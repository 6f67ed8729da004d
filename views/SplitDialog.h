#pragma once

#include "app/SettingsKeys.h"

class wxWindow;

// The split dialog (template 152): from, to and target path, with a folder browser.
bool showSplitDialog(wxWindow* parent, SplitSettings& split);
