#pragma once

#include "model/ResultLocation.h"
#include "model/CodePage.h"

#include <string>
#include <string_view>
#include <vector>

class CObjectRecord;

// One item of the object viewer's outline tree; texts are ANSI bytes of the loaded text.
struct OutlineItem {
    std::string text;
    int declPos = -1; // object-relative position of the declaration, -1 when unknown
    std::vector<OutlineItem> children;
};

// The root items "Keys", "Procedures" and "globale Variablen", each only when it has a child:
// "Key%d" + " active"/" passive" with the key field names below (no SumIndexFields), signature +
// " Id %d ", name + blank + type word. Uses the record's collections as they stand.
std::vector<OutlineItem> buildOutline(const CObjectRecord& object);

// One marked hit: a location of the manager's results that lies in the object.
struct ViewerHit {
    int index = 0;  // into the manager's results
    int offset = 0; // object-relative position of the hit
    int length = 0; // the location's term length, cut at the end of the object text
};

// What the object viewer shows of a chosen location, without any window: the object, its outline,
// the hits of the last search in it (in the order of the manager's results), the current hit and
// stepping between hits. A location without object gives an empty model.
class CObjectViewerModel {
public:
    enum class Step { First, Previous, Next, Last };

    // Brings the object's code section and keys in (each is read once per record), then collects
    // the hits. The chosen hit (same position as the location) becomes current, otherwise hit 0.
    explicit CObjectViewerModel(const CResultLocation& chosen);

    const CObjectRecord* object() const { return m_object; }
    std::string_view objectText() const;
    // headerText() + " - " + the location's where text.
    std::string title() const;
    const std::vector<OutlineItem>& outline() const { return m_outline; }
    const std::vector<ViewerHit>& hits() const { return m_hits; }
    // Index into hits() of the chosen location, -1 when it is none of them.
    int chosenHit() const { return m_chosen; }
    int current() const { return m_current; }

    // Makes hit n current, n clamped to the hit list; false (nothing changes) without hits.
    bool showHit(int n);
    bool step(Step step);
    // 0-based first visible line that puts the current hit about ten lines below the top: its
    // line number (from 1, as shown, the CR LF before an object's header included) - 10, at
    // least 0; 0 without hits.
    int firstVisibleLine() const;
    // The same rule for any object-relative position.
    int firstVisibleLineFor(int offset) const;

private:
    CResultLocation m_location;
    CObjectRecord* m_object = nullptr;
    std::vector<OutlineItem> m_outline;
    std::vector<ViewerHit> m_hits;
    int m_chosen = -1;
    int m_current = 0;
};

// The object text as the viewer's control holds it: UTF-8 with every ANSI byte written as the
// character of the OEM byte it came from, and for each ANSI byte its position in the UTF-8 text
// (plus one entry for the end).
struct ShownText {
    std::string utf8;
    std::vector<int> positions;

    // UTF-8 position of an ANSI offset, clamped to 0 .. end.
    int at(int offset) const;
};
ShownText makeShownText(std::string_view ansi, OemCodePage page);

// Styles of the viewer's C/AL colouring, one per ANSI byte.
enum CalStyle : char {
    CAL_DEFAULT = 0,
    CAL_KEYWORD = 1,
    CAL_COMMENT = 2,
    CAL_STRING = 3,
    CAL_NUMBER = 4,
    CAL_HIT = 5, // bold red over the colouring
};
// Keywords, numbers, and inside code (between BEGIN or CASE and the matching END) comments in
// braces and after "//" and strings in quotes. The braces of the export's own structure stay plain.
std::vector<char> calStyles(std::string_view text);
// Sets CAL_HIT over every hit's range.
void markHits(std::vector<char>& styles, const std::vector<ViewerHit>& hits);
// One style byte per UTF-8 byte of shown, from one style per ANSI byte.
std::string styleBytes(const ShownText& shown, const std::vector<char>& styles);
