#pragma once

#include "model/CodePage.h"

#include <wx/string.h>

#include <string>
#include <string_view>

// Texts of the loaded export are ANSI bytes converted from the OEM page; on screen and on the
// clipboard each byte shows as the character of the OEM byte it came from, as quellix-cli writes it.
inline wxString fromAnsi(std::string_view ansi)
{
    return wxString::FromUTF8(ansiToUtf8ViaOem(ansi, oemCodePage()));
}

// Typed text (a search term) into the ANSI bytes the loaded text holds.
inline std::string toAnsi(const wxString& text)
{
    return utf8ToAnsiViaOem(text.utf8_string(), oemCodePage());
}
