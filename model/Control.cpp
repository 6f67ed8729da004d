#include "model/Control.h"

#include "model/ObjectRecord.h"
#include "model/SourceText.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Markers of a control entry, with the lengths the readers step over.
constexpr std::string_view kPageNamesStart = "PageNamesML=[";
constexpr int kPageNamesOpenBracket = static_cast<int>(kPageNamesStart.size()) - 1; // where its "[" stands
constexpr int kBraceLineBreakLength = 3;                      // "{\r\n" that opens a CONTROLS block
constexpr int kEntryIdStart = 1;                              // the blank behind an entry's "{"

const char* const kTypeWords[] = {"TableBox", "TextBox", "Label", "CommandButton", "MenuButton", "SubForm",
                                  "TabControl"};

int typeOfWord(std::string_view word)
{
    for (int code = CT_TABLEBOX; code <= CT_TABCONTROL; ++code)
        if (word == kTypeWords[code])
            return code;
    return CT_NONE;
}

// Reads the number of the column that starts at from and ends at the next ";" (or the entry's
// end); moves from behind that ";", or to -1 when the entry has no further column.
int readColumn(std::string_view entry, int& from)
{
    if (from < 0)
        return 0;
    int end = srctext::find(entry, ";", from);
    int stop = end == -1 ? static_cast<int>(entry.size()) : end;
    int value = srctext::decimal(srctext::cut(entry, from, stop - from));
    from = end == -1 ? -1 : end + 1;
    return value;
}

// "PageNamesML=[ENU=General,Lines;DEU=Allgemein,Zeilen]": language code to caption.
void readPageNames(std::string_view entry, int from, std::map<std::string, std::string>& pageNames)
{
    int p = srctext::find(entry, kPageNamesStart, from);
    if (p == -1)
        return;
    int open = p + kPageNamesOpenBracket;
    int close = srctext::find(entry, "]", open);
    if (close == -1)
        return;
    std::vector<std::string> pieces;
    srctext::split(srctext::cut(entry, open + 1, close - open - 1), ";", pieces);
    for (const std::string& piece : pieces) {
        std::vector<std::string> pair;
        if (srctext::split(piece, "=", pair) > 1) {
            // A value continued on the next line brings its line break and indentation along.
            std::string_view language = pair[0];
            language.remove_prefix(std::min(language.size(), language.find_first_not_of("\r\n ")));
            pageNames[std::string(language)] = pair[1];
        }
    }
}

// Reads the entries "\r\n<indent>{ <id> ;<type> ;<x> ;<y> ;<width> ;<height> ;<properties> }" of one
// CONTROLS block B (from its heading to before its closing brace line); the indent is the block's
// own, found from the distance between its first two "{"; base is B's position in the whole text.
void readControlBlock(std::string_view block, int base, CControlArray& out)
{
    int o = srctext::find(block, "{");
    int first = o == -1 ? -1 : srctext::find(block, "{", o + 1);
    if (first == -1)
        return;
    int k = first - o;
    if (k < kBraceLineBreakLength)
        return;
    const std::string entryStart = "\r\n" + std::string(static_cast<size_t>(k - kBraceLineBreakLength), ' ') + "{ ";
    int e = srctext::find(block, entryStart, 0);
    while (e != -1) {
        int f = srctext::find(block, entryStart, e + 1);
        int end = f == -1 ? static_cast<int>(block.size()) : f;
        CControl control;
        control.parse(srctext::cut(block, e + k, end - (e + k)), base + e);
        out.add(std::move(control));
        e = f;
    }
}

} // namespace

// Reads one entry " <id> ;<type> ;<x> ;<y> ;<width> ;<height> ;<properties>" (from behind its "{").
void CControl::parse(std::string_view entry, int pos)
{
    span.set(pos, pos);
    int s1 = srctext::find(entry, ";", kEntryIdStart);
    if (s1 == -1)
        return;
    id = srctext::decimal(srctext::cut(entry, kEntryIdStart, s1 - kEntryIdStart));
    int s2 = srctext::find(entry, ";", s1 + 1);
    if (s2 == -1)
        return;
    type = typeOfWord(srctext::trimBlanks(srctext::cut(entry, s1 + 1, s2 - s1 - 1)));
    int column = s2 + 1;
    xPos = readColumn(entry, column);
    yPos = readColumn(entry, column);
    width = readColumn(entry, column);
    height = readColumn(entry, column);
    if (column != -1)
        readPageNames(entry, column, pageNames);
}

const char* CControl::typeName() const
{
    return type >= CT_TABLEBOX && type <= CT_TABCONTROL ? kTypeWords[type] : "";
}

// Reads the controls of a form ("  CONTROLS\r\n  {" up to "\r\n  }\r\n") or of every report section
// ("          CONTROLS\r\n          {" up to "\r\n          }\r\n").
void CObjectRecord::readControls()
{
    if (controlsRead)
        return;
    controlsRead = true;
    controls.removeAll();
    std::string_view t = objectText();
    const int objectStart = objectSpan.start();
    if (type == OT_FORM) {
        int a = srctext::find(t, "  CONTROLS\r\n  {");
        int b = a == -1 ? -1 : srctext::find(t, "\r\n  }\r\n", a);
        if (b != -1)
            readControlBlock(srctext::cut(t, a, b - a), objectStart + a, controls);
        return;
    }
    int a = -1;
    while ((a = srctext::find(t, "          CONTROLS\r\n          {", a + 1)) != -1) {
        int b = srctext::find(t, "\r\n          }\r\n", a);
        if (b != -1)
            readControlBlock(srctext::cut(t, a, b - a), objectStart + a, controls);
    }
}

void CObjectRecord::readFormControls()
{
    if (type == OT_FORM)
        readControls();
}

void CObjectRecord::readFormControlsAbsolute()
{
    if (type == OT_FORM)
        readControls();
}

void CObjectRecord::readReportControls()
{
    if (type == OT_REPORT)
        readControls();
}
