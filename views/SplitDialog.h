#pragma once

#include "settings/SettingsKeys.h"

class wxWindow;

// The split dialog (template 152): from, to and target path, with a folder browser.
bool showSplitDialog(wxWindow* parent, SplitSettings& split);
