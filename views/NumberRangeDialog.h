#pragma once

#include "settings/SettingsKeys.h"

class wxWindow;

// The number-range dialog (template 146): proposes the values of section "Nummernsuche", and on OK
// writes them back and returns them in range.
bool showNumberRangeDialog(wxWindow* parent, ISettingsStore& settings, NumberRangeSettings& range);
