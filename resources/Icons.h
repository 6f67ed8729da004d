#pragma once

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

// The icon of an icon resource ID (161..166, the object types) in 16 x 16 or 32 x 32; an invalid
// bitmap for any other ID.
wxBitmap typeIconBitmap(int iconId, bool large);
// The program icon in both sizes.
wxIconBundle programIcons();
