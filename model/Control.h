#pragma once

#include "model/TextSpan.h"
#include "model/TypedArray.h"

#include <map>
#include <string>
#include <string_view>

enum ControlType {
    CT_NONE = -1, // a type word that matches none of the seven (typeName() is empty)
    CT_TABLEBOX = 0, CT_TEXTBOX, CT_LABEL, CT_COMMANDBUTTON, CT_MENUBUTTON, CT_SUBFORM, CT_TABCONTROL
};

// One control entry of a form's or report's CONTROLS section.
class CControl {
public:
    int id = 0;
    int xPos = 0;
    int yPos = 0;
    int height = 0;
    int width = 0;
    CTextSpan span;         // start = end = absolute position of the CR that begins the entry's line
    int type = CT_NONE;
    std::string extra;      // carried along, set by no reader
    std::map<std::string, std::string> pageNames; // language code -> caption, from PageNamesML

    // Parses the entry text that begins just behind the entry's "{", standing at position pos.
    void parse(std::string_view entry, int pos);
    const char* typeName() const;
};
using CControlArray = CTypedArray<CControl>;
