#pragma once

#include "analysis/Operation.h"

#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

class CObjectRecord;
class CProcedure;

// The C/AL-aware option of the unused analyses: what the platform calls without naming it, and
// names compared without regard to letter case (A-Z folded to a-z, as in the text search's normal
// mode). Off, the analyses stay purely textual.
namespace aware {

// Names compared without regard to letter case.
std::string folded(std::string_view text);
bool equalNoCase(std::string_view a, std::string_view b);
// Like srctext::findWholeWord, but without regard to letter case.
int findWholeWordNoCase(std::string_view text, std::string_view name, int from);

// The attribute lines directly above a procedure's declaration, top to bottom, each trimmed
// ("[EventSubscriber(Table,17,OnAfterInsertEvent)]"). Only lines that begin with "[" and end
// with "]" count; the first other line ends the attributes.
std::vector<std::string> procedureAttributes(const CProcedure& proc);
// The attribute's name: "EventSubscriber" of "[EventSubscriber(...)]", "External" of "[External]".
std::string attributeName(std::string_view attribute);
// The arguments of "[Name(a,"b, c",d)]", split at commas outside double quotes, blanks trimmed,
// quotes kept out: {"a", "b, c", "d"}.
std::vector<std::string> attributeArguments(std::string_view attribute);

// The event an [EventSubscriber(...)] names: object type word and event name folded.
struct EventKey {
    std::string type;
    int number = 0;
    std::string event;
    bool operator<(const EventKey& o) const { return std::tie(type, number, event) < std::tie(o.type, o.number, o.event); }
};
// Every event named by an [EventSubscriber(Type,Number,Event,...)] attribute line of the text.
std::set<EventKey> subscribedEvents(std::string_view text);
// The type word of the object's OBJECT line ("Codeunit", "Page", "XMLport" ...).
std::string objectTypeWordOf(const CObjectRecord& record);

// What a codeunit's PROPERTIES say about testing: Subtype=Test, and the handler names of its
// HandlerFunctions (the property and [HandlerFunctions(...)] attribute lines), folded.
struct TestCodeunit {
    bool isTest = false;
    std::set<std::string> handlers;
};
TestCodeunit testCodeunitOf(const CObjectRecord& record);

// Why the aware rules keep a textually unused procedure out of the list, or None.
enum class Removal { None, EventSubscriber, Platform, Test };

// The attributes of one procedure as the aware rules read them.
struct ProcedureKind {
    Removal removal = Removal::None; // platform-called or a test of a test codeunit
    bool external = false;           // [External]
    bool publisher = false;          // [Integration] or [Business]
};
ProcedureKind classifyProcedure(const CProcedure& proc, const TestCodeunit& codeunit);

// Rows the aware rules removed, by reason, for the status line of an aware run.
struct AwareCounts {
    int textual = 0;
    int eventSubscribers = 0;
    int platform = 0;
    int test = 0;
    int letterCase = 0;
    int external = 0;
    int eventsWithoutSubscriber = 0;
    int unusedEvents = 0; // textual ones listed once, as events without subscriber

    int shown() const { return textual - eventSubscribers - platform - test - letterCase - unusedEvents; }
    // "529 textual, 129 event subscribers, 0 platform, 1 test, 0 letter case: 399 shown, 12 external,
    // 3 events without subscriber"
    std::string functionsSummary() const;
    // "40 textual, 2 letter case: 38 shown"
    std::string summary() const;
};

} // namespace aware
