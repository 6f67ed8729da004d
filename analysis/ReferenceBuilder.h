#pragma once

#include "analysis/ReferenceIndex.h"

#include <string>
#include <string_view>
#include <vector>

// Internals of the reference index shared by its two per-object passes: declarations
// (ReferenceDeclarations.cpp) and resolution (ReferenceResolution.cpp).
namespace xref {

// Object type words of the OBJECT line and of variable types, folded: the codes stored in
// XrefSymbol::number of variables.
enum ObjectKind { OK_NONE = -1, OK_TABLE, OK_FORM, OK_REPORT, OK_DATAPORT, OK_CODEUNIT, OK_XMLPORT,
                  OK_MENUSUITE, OK_PAGE, OK_QUERY };
// The kind of a type word ("Record" and "Table" are tables); OK_NONE for any other word.
int objectKindOf(std::string_view word);
const char* objectKindWord(int kind);

bool equalFolded(std::string_view a, std::string_view b);
int compareFolded(std::string_view a, std::string_view b);
std::string foldedText(std::string_view text);
std::string_view trimmed(std::string_view text);

// A piece of code to resolve: a trigger, a procedure body, or a code-like property (SourceExpr).
struct CodeRegion {
    int start = 0;
    int end = 0;
    int scope = -1;   // index into ObjectPart::scopes of its locals, or -1
    int where = 0;    // index into ObjectPart::where
    int record = -1;  // local symbol index of the record whose fields stand bare (data items), or -1: the object's own
};

// A property value that names objects or fields.
struct PropertyItem {
    int start = 0;
    int end = 0;
    std::string name;  // property name as written
    int where = 0;
    int table = -1;    // the element's table (catalogue index): data item, own table
    int parent = -1;   // DataItemLink: the table of the parent data item
    int record = -1;   // local symbol index of the element's record variable (SourceField), or -1
    int element = -1;  // the element line (control, action, field) the property belongs to, or -1
};

struct ScopeRange {
    int first = 0;     // into ObjectPart::symbols
    int last = 0;
};

} // namespace xref

struct ReferenceIndex::ObjectPart {
    std::vector<XrefSymbol> symbols;  // fields, procedures, globals (each run sorted), then locals
    int kindStart[5] = {0, 0, 0, 0, 0}; // fields, procedures, globals, locals, end
    std::vector<xref::ScopeRange> scopes;
    std::vector<xref::CodeRegion> code;
    std::vector<xref::PropertyItem> properties;
    std::vector<XrefReference> refs;  // where: into where
    std::vector<std::string> where;
    int ownTable = -1;                // the table bare field names belong to (itself, SourceTable)
    bool damaged = false;
};

// Fills the index; one per build.
struct ReferenceBuilder {
    ReferenceIndex& index;
    void declare(int object, ReferenceIndex::ObjectPart& part) const;  // ReferenceDeclarations.cpp
    void resolve(int object, ReferenceIndex::ObjectPart& part) const;  // ReferenceResolution.cpp
    int firstSymbol(int object) const { return index.m_objectSymbols[static_cast<size_t>(object)]; }
};
