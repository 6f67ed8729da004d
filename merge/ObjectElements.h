#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One named value of an element: a fixed cell of an entry ("Name", "Type"), a property
// ("CaptionML"), or the code of a trigger or procedure. Values keep their lines, CR LF separated,
// with the indentation of continuation lines; code values are compared line by line.
struct ElementProperty {
    std::string name;
    std::string value;
    bool code = false;

    bool operator==(const ElementProperty&) const = default;
};

// One element of an object as the comparison matches it: an object property, a field, key,
// control, data item, XMLport or query element, menu node, global, local, procedure or trigger.
// (section, key) identifies it within its object, independent of its place in the text.
struct ObjectElement {
    std::string section;  // "OBJECT-PROPERTIES", "PROPERTIES", "FIELDS", "KEYS", "CONTROLS", "CODE" ...
    std::string kind;     // "Property", "Trigger", "Field", "Key", "Control", "Variable", "Local", "Procedure" ...
    std::string key;      // identity within the section: a number, ID, name or field list
    std::string label;    // how a reader names it: "2 Name", "OnValidate", "CheckCreditLimit"
    std::vector<ElementProperty> properties;
    int firstLine = 0;    // 0-based line of the object text where it starts
    int lineCount = 0;

    const ElementProperty* property(std::string_view name) const;
};

// The elements of one object text (ANSI, CR LF), in text order. Sections whose inner shape is not
// one of the entry lists (a request form, RDL data) are one element each, compared as lines.
// damaged is set, and the whole object comes back as one element "Text", when the text does not
// have the shape of an exported object (no OBJECT line, braces that do not close).
struct ObjectElements {
    std::vector<ObjectElement> elements;
    bool damaged = false;
};
ObjectElements readObjectElements(std::string_view objectText);

// The lines of text split at LF, each without its CR LF; a last line without line end counts.
std::vector<std::string_view> textLines(std::string_view text);

// A value on one line, for a list cell: its lines trimmed and joined by one blank.
std::string oneLineValue(std::string_view value);
