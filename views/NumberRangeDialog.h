#pragma once

#include "settings/SettingsKeys.h"

class IViewContext;
class wxWindow;

// The number-range dialog (template 146): proposes the values of section "Nummernsuche", and on OK
// writes them back and returns them in range.
bool showNumberRangeDialog(IViewContext& context, wxWindow* parent, NumberRangeSettings& range);
