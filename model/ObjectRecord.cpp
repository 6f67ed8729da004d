#include "model/ObjectRecord.h"

#include "model/SourceText.h"

#include <algorithm>

using srctext::find;

const char* objectTypeWord(int type)
{
    switch (type) {
    case OT_TABLE: return "Table";
    case OT_FORM: return "Form";
    case OT_REPORT: return "Report";
    case OT_DATAPORT: return "Dataport";
    case OT_CODEUNIT: return "Codeunit";
    default: return "";
    }
}

int objectTypeImage(int type)
{
    switch (type) {
    case OT_NONE: return 166;
    case OT_TABLE: return 163;
    case OT_FORM: return 162;
    case OT_REPORT: return 161;
    case OT_DATAPORT: return 164;
    case OT_CODEUNIT: return 165;
    default: return -1;
    }
}

void CObjectRecord::reset()
{
    type = OT_NONE;
    extra.clear();
    objectSpan.set(0, 0);
    manager = nullptr;
    text = nullptr;
    parseLevel = 0;
    fieldsRead = keysRead = controlsRead = false;
}

void CObjectRecord::parseHeader(int start, int end, const std::string* wholeText)
{
    if (parseLevel >= 1)
        return;
    text = wholeText;
    objectSpan.set(start, end);
    std::string_view t = *text;
    int o = find(t, "OBJECT", start);
    int b = find(t, "\r\n{", o);
    int n = o >= 0 ? o + 7 : start;
    headerSpan.set(n, b >= 0 ? b : n + 40);

    int s1 = find(t, " ", n);
    std::string_view word = srctext::cut(t, headerSpan.start(), s1 - headerSpan.start());
    static const struct { const char* word; int type; } kTypes[] = {
        {"Table", OT_TABLE}, {"Form", OT_FORM}, {"Report", OT_REPORT}, {"Codeunit", OT_CODEUNIT}, {"Dataport", OT_DATAPORT}};
    for (const auto& k : kTypes) {
        if (word == k.word) {
            type = k.type;
            break;
        }
    }
    int s2 = find(t, " ", s1 + 1);
    number = srctext::decimal(srctext::cut(t, s1, s2 - s1));
    parseLevel = 1;
}

void CObjectRecord::findProperties()
{
    if (!text)
        return;
    int c = find(*text, "OBJECT-PROPERTIES", objectSpan.start());
    if (c < objectSpan.start())
        c = -1;
    int d = c >= 0 ? find(*text, "}", c) : 0;
    if (c == -1 || d > objectSpan.end())
        propertiesSpan.set(0, 0);
    else
        propertiesSpan.set(c, d);
}

std::string_view CObjectRecord::objectText() const
{
    if (!text)
        return {};
    return srctext::cut(*text, objectSpan.start(), objectSpan.length());
}

int CObjectRecord::objectLineStart() const
{
    return std::max(objectSpan.start(), headerSpan.start() - static_cast<int>(std::string_view("OBJECT ").size()));
}

std::string_view CObjectRecord::headerText() const
{
    if (!text)
        return {};
    return srctext::cut(*text, headerSpan.start(), headerSpan.length());
}

std::string CObjectRecord::headerName() const
{
    std::string_view h = headerText();
    int s1 = find(h, " ", 0);
    int s2 = s1 >= 0 ? find(h, " ", s1 + 1) : -1;
    if (s2 < 0)
        return std::string(h);
    return std::string(h.substr(static_cast<size_t>(s2 + 1)));
}

std::string CObjectRecord::headerTypeWord() const
{
    std::string_view h = headerText();
    return std::string(h.substr(0, std::min(h.find(' '), h.size())));
}

std::string CObjectRecord::numberText() const { return std::to_string(number); }
