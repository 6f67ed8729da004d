#pragma once

#include "settings/SettingsKeys.h"

class IViewContext;
class wxWindow;

// The split dialog (template 152): from, to and target path, with a folder browser.
bool showSplitDialog(IViewContext& context, wxWindow* parent, SplitSettings& split);
