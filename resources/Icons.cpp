#include "resources/Icons.h"

#include "resources/ResourceIds.h"

#include "resources/icons/codeunit16.xpm"
#include "resources/icons/codeunit32.xpm"
#include "resources/icons/dataport16.xpm"
#include "resources/icons/dataport32.xpm"
#include "resources/icons/form16.xpm"
#include "resources/icons/form32.xpm"
#include "resources/icons/notype16.xpm"
#include "resources/icons/notype32.xpm"
#include "resources/icons/program16.xpm"
#include "resources/icons/program32.xpm"
#include "resources/icons/report16.xpm"
#include "resources/icons/report32.xpm"
#include "resources/icons/table16.xpm"
#include "resources/icons/table32.xpm"

#include <wx/icon.h>

wxBitmap typeIconBitmap(int iconId, bool large)
{
    switch (iconId) {
    case rid::IDI_REPORT: return wxBitmap(large ? report32_xpm : report16_xpm);
    case rid::IDI_FORM: return wxBitmap(large ? form32_xpm : form16_xpm);
    case rid::IDI_TABLE: return wxBitmap(large ? table32_xpm : table16_xpm);
    case rid::IDI_DATAPORT: return wxBitmap(large ? dataport32_xpm : dataport16_xpm);
    case rid::IDI_CODEUNIT: return wxBitmap(large ? codeunit32_xpm : codeunit16_xpm);
    case rid::IDI_NO_TYPE: return wxBitmap(large ? notype32_xpm : notype16_xpm);
    default: return wxBitmap();
    }
}

wxIconBundle programIcons()
{
    wxIconBundle icons;
    icons.AddIcon(wxIcon(program16_xpm));
    icons.AddIcon(wxIcon(program32_xpm));
    return icons;
}
