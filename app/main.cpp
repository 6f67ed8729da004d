#include "app/QuellixApp.h"

wxIMPLEMENT_APP(CQuellixApp);
