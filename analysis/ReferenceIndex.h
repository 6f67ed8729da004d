#pragma once

#include "model/ObjektManager.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The typed cross-reference of a loaded export: what every object declares (fields, procedures,
// variables with their types) and every place that names one of those, resolved by C/AL's rules
// (names compare without regard to letter case, a local hides a global, WITH looks into its record
// first). A name that cannot be resolved is kept as an unresolved reference with its reason,
// never guessed. Built per object on the worker threads, kept with the catalogue.

enum class SymbolKind : std::uint8_t { Object, Field, Procedure, Variable };
// Both as wide as XrefReference's `where`: Windows compilers start a new unit for a bit-field whose
// type differs in size from the one before, which would make XrefReference 16 bytes there.
enum class ReferenceKind : std::uint32_t { Read, Write, Call, Key, Filter, Property, Type };
// Why a reference stays unresolved.
enum class UnresolvedReason : std::uint32_t {
    None,
    UnknownVariable,   // X.Y where X is declared nowhere in reach
    UnknownMember,     // a member the target object does not declare and C/AL does not provide
    ObjectNotInExport, // a variable's type, CODEUNIT::X, an event publisher ... names an absent object
    UnknownField,      // a field argument or a property field the table does not have
    UnknownName,       // a quoted name that no scope declares
    DamagedObject,     // the object's text is damaged: its references are not resolved
    Count
};
const char* referenceKindName(ReferenceKind kind);
const char* unresolvedReasonText(UnresolvedReason reason);

struct XrefSymbol {
    int pos = 0;          // absolute position of the declared name (past an opening quote)
    int object = -1;      // catalogue index of the declaring object (an object symbol: itself)
    int scope = -1;       // variables: the procedure symbol or trigger scope declaring a local, -1 global
    int number = 0;       // fields: the field number; variables: the object type code of the type
    int target = -1;      // variables of an object type: the catalogue index of that object; objects: their
                          // table (a table itself, a page's or form's SourceTable); or -1
    std::uint16_t length = 0;
    SymbolKind kind = SymbolKind::Object;
    bool implicit = false; // Rec, xRec, data items: declared by the platform, never unused
    bool parameter = false;
};

// Three quarters of an export's references are variable uses, millions in a large export: kept in
// twelve bytes.
struct XrefReference {
    int pos = 0;         // absolute position of the name
    int symbol = -1;     // -1: unresolved
    int where : 26 = 0;  // index into ReferenceIndex::whereTexts()
    ReferenceKind kind : 3 = ReferenceKind::Read;
    UnresolvedReason reason : 3 = UnresolvedReason::None;
};
static_assert(sizeof(XrefReference) == 12);

class ReferenceIndex : public CCatalogueIndex {
public:
    // Builds the index of every object of manager on workerThreads() threads. Stops early (leaving
    // a partial index) when the manager's cancel flag is set.
    explicit ReferenceIndex(const CObjektManager& manager);

    const std::vector<XrefSymbol>& symbols() const { return m_symbols; }
    const std::vector<XrefReference>& references() const { return m_refs; }
    const std::vector<std::string>& whereTexts() const { return m_where; }
    std::string_view name(const XrefSymbol& symbol) const;
    std::string_view name(int symbol) const { return name(m_symbols[static_cast<size_t>(symbol)]); }
    // The name of object i's symbol; safe while the index is built on several threads.
    std::string_view objectName(int object) const { return name(m_objects[static_cast<size_t>(object)]); }

    // Indexes into references() of the resolved references to symbol, in text order.
    std::vector<int> referencesTo(int symbol) const;
    int referenceCount(int symbol) const;
    // Indexes into references() of every unresolved reference, in text order.
    std::vector<int> unresolved() const;
    // Unresolved references per reason.
    std::vector<int> unresolvedCounts() const;

    // The symbol a target text names: "Table 18", "Table Customer", "Table 18.\"No.\"",
    // "Codeunit 80.Code", "Page 21"; type words and names without regard to letter case. -1 when
    // the export holds no such symbol.
    int findTarget(std::string_view target) const;
    // Catalogue index of an object by its OBJECT line's type word and number or name; -1 if none.
    int findObject(std::string_view typeWord, int number) const;
    int findObject(std::string_view typeWord, std::string_view name) const;
    // Symbols of one object of a kind, sorted by folded name.
    std::pair<int, int> objectSymbols(int object, SymbolKind kind) const;
    int findMember(int object, SymbolKind kind, std::string_view name) const;
    // The symbol whose declaration or one of whose references stands at pos (F12 in the viewer):
    // the definition at pos, -1 when none.
    int symbolAt(int pos) const;

    // Line (from 1) of an absolute position in the export.
    int lineOf(int pos) const;
    // The same for positions asked in text order: counts on from the previous position of the same
    // object instead of from the object's start (a listing of many references stays linear).
    struct LineCursor {
        int object = -1;
        int pos = 0;
        int line = 0;
    };
    int lineOf(int pos, LineCursor& cursor) const;
    // False when the build was cancelled: the index then holds only part of the export.
    bool complete() const { return m_complete; }
    bool damaged(int object) const { return m_damaged[static_cast<size_t>(object)] != 0; }
    // Approximate heap bytes held.
    size_t memoryBytes() const;

    // The per-object parts (ReferenceDeclarations.cpp, ReferenceResolution.cpp) fill these.
    struct ObjectPart;

private:
    const CObjektManager& m_manager;
    std::string_view m_text;
    bool m_complete = false;
    std::vector<XrefSymbol> m_symbols;
    std::vector<XrefSymbol> m_objects;     // the objects' symbols alone: read while m_symbols grows
    std::vector<XrefReference> m_refs;
    std::vector<std::string> m_where;
    std::vector<int> m_objectSymbols;      // per object + 1: first symbol
    std::vector<int> m_kindStart;          // per object * 4 kinds + 1: sorted runs
    std::vector<int> m_refStart;           // per symbol + 1: offsets into m_refsBySymbol
    std::vector<int> m_refsBySymbol;
    std::vector<int> m_lineStarts;         // sampled: line number at every object start
    std::vector<char> m_damaged;
    std::vector<std::pair<std::string, int>> m_byNumber; // "typeword\tnumber" folded -> object
    std::vector<std::pair<std::string, int>> m_byName;   // "typeword\tname" folded -> object

    friend struct ReferenceBuilder;
};

// The index kept with manager's catalogue, built on the first call (and again after another
// export was loaded). Not for two threads at once: one operation at a time uses a catalogue.
const ReferenceIndex& referenceIndex(CObjektManager& manager);
