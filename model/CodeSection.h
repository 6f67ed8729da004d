#pragma once

#include "model/TextSpan.h"
#include "model/TypedArray.h"

#include <string>
#include <string_view>

// Type codes of a declaration, in the order their words are matched.
enum VariableType {
    VT_UNKNOWN = -1, // a type word that matches none of the table (typeName() is empty)
    VT_SYSTEM = 0, VT_DIALOG, VT_FILE, VT_ACTION, VT_OCX, VT_AUTOMATION, VT_CODEUNIT, VT_FORM,
    VT_RECORD, VT_REPORT, VT_DATAPORT, VT_BOOLEAN, VT_OPTION, VT_INTEGER, VT_DECIMAL, VT_CHAR,
    VT_TEXT, VT_CODE, VT_DATE, VT_TIME, VT_BINARY, VT_TEXTCONST
};
// The type word of a code; empty for TextConst and any code outside 0..20.
const char* variableTypeName(int type);

// One declaration line of a VAR block.
class CVariable {
public:
    bool onceOnly = false;  // the name occurs only once where it was searched (unused)
    int occurrences = 0;    // globals: occurrences from the second one on (countGlobalUses)
    int firstUse = 0;       // globals: object-relative position of the use that is not the declaration
    bool isLocal = false;
    std::string name;       // without its "@" suffix, trimmed
    int type = VT_UNKNOWN;
    int extra = 0;          // carried along, set by no parser
    int declPos = 0;        // absolute position of the name's first character
    std::string note;       // carried along, set by no parser

    // Parses "<blanks>Name@id : Type ..." standing at absolute position linePos.
    void parse(std::string_view line, int linePos, bool local);
    const char* typeName() const { return variableTypeName(type); }
};
using CVariableArray = CTypedArray<CVariable>;

// A PROCEDURE or LOCAL PROCEDURE of the CODE section.
class CProcedure {
public:
    const std::string* text = nullptr; // the whole loaded text
    CTextSpan span;         // absolute: CR of "\r\n    [LOCAL ]PROCEDURE" .. CR after its "END;"
    bool isLocal = false;
    int id = -1;            // number between "@" and "("; -1 when either is missing
    std::string signature;  // after the keyword up to the ";" that ends the line
    CVariableArray locals;

    // The signature up to its "@", trimmed; the whole trimmed signature without "@".
    std::string name() const;
    std::string_view procedureText() const;
};
using CProcedureArray = CTypedArray<CProcedure>;

// A trigger ("OnValidate=VAR" or "OnValidate=BEGIN") with its locals.
class CTrigger {
public:
    const std::string* text = nullptr;
    CTextSpan span;         // absolute: first character of the name .. CR after the matching "END;"
    std::string name;
    CVariableArray locals;
    std::string name2;      // set to the trigger name as well
    int indent = 0;         // indentOf the trigger's first "BEGIN\r\n"

    std::string_view triggerText() const;
};
using CTriggerArray = CTypedArray<CTrigger>;

// Whole-word search used for locals: neighbours must not be 0-9, A-Z, a-z; the end of the text
// passes; an empty name or an occurrence at or beyond the text length gives -1.
int wordFind(std::string_view text, std::string_view name, int from);
