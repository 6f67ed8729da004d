#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversion between the OEM code page of the exports (CP850 by default, CP437 selectable) and the
// ANSI code page the program works in (Windows-1252). The mapping is a bijection on all 256 bytes:
// characters present in both pages map to each other; the OEM bytes whose character Windows-1252
// lacks map, in ascending order, to the ANSI bytes whose character the OEM page lacks (or that
// Windows-1252 leaves undefined), in ascending order. So OEM -> ANSI -> OEM gives back every byte.
enum class OemCodePage { CP850 = 850, CP437 = 437 };

// The process-wide OEM page used by the conversions without an explicit page (default CP850).
void setOemCodePage(OemCodePage page);
OemCodePage oemCodePage();

void oemToAnsi(char* data, std::size_t size, OemCodePage page);
void ansiToOem(char* data, std::size_t size, OemCodePage page);
void oemToAnsi(std::string& text);
void ansiToOem(std::string& text);
unsigned char oemToAnsiByte(unsigned char oem, OemCodePage page);
unsigned char ansiToOemByte(unsigned char ansi, OemCodePage page);

// Unicode code point of a byte in the OEM page, and of a byte in Windows-1252 (undefined bytes give
// their own value).
char32_t oemToUnicode(unsigned char oem, OemCodePage page);
char32_t ansiToUnicode(unsigned char ansi);

// UTF-8 text of ANSI bytes, each written as the character of the OEM byte it was converted from
// (so box-drawing characters come out as themselves). The inverse maps each character to its OEM
// byte and on to ANSI; characters the OEM page lacks become '?'.
std::string ansiToUtf8ViaOem(std::string_view ansi, OemCodePage page);
std::string utf8ToAnsiViaOem(std::string_view utf8, OemCodePage page);

// OEM bytes of UTF-8 text, with no substitution: false when the text holds a character the OEM
// page lacks, or is not valid UTF-8; then missing (when given) receives that character (the
// byte itself for invalid UTF-8) and oem is unspecified.
bool utf8ToOemExact(std::string_view utf8, OemCodePage page, std::string& oem, char32_t* missing = nullptr);

// A character as messages name it: "\"€\" U+20AC" (the code alone for a control character).
std::string characterText(char32_t c);

// ANSI bytes of UTF-8 text with no substitution (each character to its OEM byte, on to ANSI):
// false when the text is not valid UTF-8 or holds a character the OEM page lacks; problem then
// says which, as a phrase to follow the text's name ("holds the character ...").
bool utf8ToAnsiExact(std::string_view utf8, OemCodePage page, std::string& ansi, std::string& problem);
