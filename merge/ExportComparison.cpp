#include "merge/ExportComparison.h"

#include "merge/Intersection.h"
#include "merge/ObjectElements.h"

#include <algorithm>
#include <map>

namespace {

const int kContext = 3;

bool isNoise(const ObjectElement& element)
{
    return element.section == "OBJECT-PROPERTIES" &&
           (element.key == "Date" || element.key == "Time" || element.key == "Version List");
}

int lineCount(std::string_view text) { return static_cast<int>(textLines(text).size()); }

ElementChange changeOf(const ObjectElement& element, ChangeKind kind)
{
    ElementChange change;
    change.section = element.section;
    change.key = element.key;
    change.kind = element.kind;
    change.label = element.label;
    change.change = kind;
    return change;
}

// The changes of the properties of two matched elements, by property name.
void compareProperties(const ObjectElement& a, const ObjectElement& b, std::vector<ElementChange>& out)
{
    const ChangeKind kind = isNoise(b) ? ChangeKind::Noise : ChangeKind::Changed;
    auto compare = [&](const ElementProperty* pa, const ElementProperty* pb) {
        const std::string& name = pa != nullptr ? pa->name : pb->name;
        const std::string oldValue = pa != nullptr ? pa->value : std::string();
        const std::string newValue = pb != nullptr ? pb->value : std::string();
        if (pa != nullptr && pb != nullptr && oldValue == newValue)
            return;
        ElementChange change = changeOf(b, kind);
        change.property = name;
        change.oldLine = a.firstLine;
        change.newLine = b.firstLine;
        if ((pa != nullptr && pa->code) || (pb != nullptr && pb->code)) {
            change.hunks = diffLines(oldValue.empty() ? oldValue : oldValue + "\r\n",
                                     newValue.empty() ? newValue : newValue + "\r\n", kContext);
            countChangedLines(change.hunks, change.removedLines, change.addedLines);
        } else {
            change.oldValue = oldValue;
            change.newValue = newValue;
        }
        out.push_back(std::move(change));
    };
    for (const ElementProperty& pa : a.properties)
        compare(&pa, b.property(pa.name));
    for (const ElementProperty& pb : b.properties)
        if (a.property(pb.name) == nullptr)
            compare(nullptr, &pb);
}

// Marks, of matched elements given as B positions in A's order, those outside a longest
// increasing run: the fewest elements whose moving explains the new order.
std::vector<bool> movedElements(const std::vector<int>& bOrder)
{
    std::vector<int> tails, tailIndex, previous(bOrder.size(), -1);
    for (size_t i = 0; i < bOrder.size(); ++i) {
        const size_t at = static_cast<size_t>(std::lower_bound(tails.begin(), tails.end(), bOrder[i]) - tails.begin());
        if (at > 0)
            previous[i] = tailIndex[at - 1];
        if (at == tails.size()) {
            tails.push_back(bOrder[i]);
            tailIndex.push_back(static_cast<int>(i));
        } else {
            tails[at] = bOrder[i];
            tailIndex[at] = static_cast<int>(i);
        }
    }
    std::vector<bool> moved(bOrder.size(), true);
    for (int i = tailIndex.empty() ? -1 : tailIndex.back(); i >= 0; i = previous[static_cast<size_t>(i)])
        moved[static_cast<size_t>(i)] = false;
    return moved;
}

std::string firstLineOf(std::string_view objectText, const ObjectElement& element)
{
    const std::vector<std::string_view> lines = textLines(objectText);
    const size_t line = static_cast<size_t>(element.firstLine);
    return line < lines.size() ? oneLineValue(lines[line]) : std::string();
}

} // namespace

const char* changeWord(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Added: return "added";
    case ChangeKind::Removed: return "removed";
    case ChangeKind::Changed: return "changed";
    case ChangeKind::Moved: return "moved";
    case ChangeKind::Noise: return "noise";
    }
    return "";
}

std::string ObjectChange::splitFileName() const { return typeWord + " " + std::to_string(number) + ".txt"; }

std::vector<ElementChange> compareObjectTexts(std::string_view oldText, std::string_view newText, bool& damaged)
{
    ObjectElements a = readObjectElements(oldText);
    ObjectElements b = readObjectElements(newText);
    damaged = a.damaged || b.damaged;
    if (damaged) {
        a.elements = {{"TEXT", "Text", "Text", "Text", {{"Text", std::string(oldText), true}}}};
        b.elements = {{"TEXT", "Text", "Text", "Text", {{"Text", std::string(newText), true}}}};
    }
    std::map<std::pair<std::string_view, std::string_view>, size_t> inB;
    for (size_t j = 0; j < b.elements.size(); ++j)
        inB.emplace(std::make_pair(std::string_view(b.elements[j].section), std::string_view(b.elements[j].key)), j);
    std::vector<int> partner(a.elements.size(), -1);
    std::vector<bool> matchedB(b.elements.size(), false);
    std::map<std::string, std::vector<int>> orderBySection;
    for (size_t i = 0; i < a.elements.size(); ++i) {
        auto it = inB.find({a.elements[i].section, a.elements[i].key});
        if (it == inB.end())
            continue;
        partner[i] = static_cast<int>(it->second);
        matchedB[it->second] = true;
        orderBySection[a.elements[i].section].push_back(partner[i]);
    }
    // Changes keyed by their place: 2 * B's index, removed ones 2 * their predecessor's + 1.
    std::vector<std::pair<int, ElementChange>> placed;
    std::map<int, bool> movedB;
    for (const auto& [section, order] : orderBySection) {
        const std::vector<bool> moved = movedElements(order);
        for (size_t k = 0; k < order.size(); ++k)
            movedB[order[k]] = moved[k];
    }
    int predecessor = -1;
    for (size_t i = 0; i < a.elements.size(); ++i) {
        const ObjectElement& ea = a.elements[i];
        if (partner[i] < 0) {
            ElementChange change = changeOf(ea, isNoise(ea) ? ChangeKind::Noise : ChangeKind::Removed);
            change.oldValue = firstLineOf(oldText, ea);
            change.removedLines = ea.lineCount;
            change.oldLine = ea.firstLine;
            placed.emplace_back(2 * predecessor + 1, std::move(change));
            continue;
        }
        predecessor = partner[i];
        const ObjectElement& eb = b.elements[static_cast<size_t>(partner[i])];
        std::vector<ElementChange> changes;
        if (movedB[partner[i]]) {
            ElementChange change = changeOf(eb, ChangeKind::Moved);
            change.oldLine = ea.firstLine;
            change.newLine = eb.firstLine;
            changes.push_back(std::move(change));
        }
        compareProperties(ea, eb, changes);
        for (ElementChange& change : changes)
            placed.emplace_back(2 * partner[i], std::move(change));
    }
    for (size_t j = 0; j < b.elements.size(); ++j) {
        if (matchedB[j])
            continue;
        const ObjectElement& eb = b.elements[j];
        ElementChange change = changeOf(eb, isNoise(eb) ? ChangeKind::Noise : ChangeKind::Added);
        change.newValue = firstLineOf(newText, eb);
        change.addedLines = eb.lineCount;
        change.newLine = eb.firstLine;
        placed.emplace_back(2 * static_cast<int>(j), std::move(change));
    }
    std::stable_sort(placed.begin(), placed.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<ElementChange> out;
    out.reserve(placed.size());
    for (auto& entry : placed)
        out.push_back(std::move(entry.second));
    return out;
}

namespace {

// Navision's order of object types; other type words after them, alphabetically.
int typeRank(const std::string& word)
{
    static const char* const order[] = {"TableData", "Table", "Form", "Report", "Dataport", "Codeunit",
                                        "XMLport", "MenuSuite", "Page", "Query"};
    for (size_t i = 0; i < std::size(order); ++i)
        if (word == order[i])
            return static_cast<int>(i);
    return static_cast<int>(std::size(order));
}

std::string objectLabel(const CObjectRecord& record)
{
    return record.headerTypeWord() + " " + std::to_string(record.number);
}

// The first occurrence of each object of manager (text order); names the repeated ones.
std::vector<int> firstOccurrences(const CObjektManager& manager, const CObjectIndex& index,
                                  std::vector<std::string>& duplicates)
{
    std::vector<int> firsts;
    for (int i = 0; i < manager.count(); ++i) {
        const int first = index.find(manager.get(i));
        if (first == i)
            firsts.push_back(i);
        else if (first >= 0)
            duplicates.push_back(objectLabel(manager.get(i)) + " stands twice in " + manager.fileName() +
                                 "; its first occurrence is compared");
    }
    return firsts;
}

ObjectChange objectChangeOf(const CObjectRecord& record, ChangeKind kind)
{
    ObjectChange object;
    object.typeWord = record.headerTypeWord();
    object.number = record.number;
    object.name = record.headerName();
    object.change = kind;
    return object;
}

// The text of an object as the comparison reads it: the export's text of it, or, when that does not
// end with the object's closing brace (a damaged object, which the text of the split cuts at its
// last brace), every line up to the next object.
std::string comparedText(const CObjektManager& manager, int index)
{
    std::string text = manager.sourceText(index);
    const size_t end = text.find_last_not_of("\r\n");
    if (end != std::string::npos && text[end] == '}' && (end == 0 || text[end - 1] == '\n'))
        return text;
    std::string_view span = manager.get(index).objectText();
    const size_t first = span.find_first_not_of("\r\n");
    const size_t last = span.find_last_not_of("\r\n");
    if (first == std::string_view::npos)
        return text;
    return std::string(span.substr(first, last - first + 1)) + "\r\n";
}

void compareObject(const CObjektManager& a, const CObjektManager& b, ObjectChange& object, ExportComparison& out)
{
    const std::string oldText = comparedText(a, object.indexA);
    const std::string newText = comparedText(b, object.indexB);
    bool damaged = false;
    object.changes = compareObjectTexts(oldText, newText, damaged);
    object.damaged = damaged;
    if (damaged)
        out.damaged.push_back(object.typeWord + " " + std::to_string(object.number) +
                              " is damaged; compared as text lines");
    countChangedLines(diffLines(oldText, newText, 0), object.removedLines, object.addedLines);
    const bool onlyNoise = std::all_of(object.changes.begin(), object.changes.end(),
                                       [](const ElementChange& c) { return c.change == ChangeKind::Noise; });
    if (onlyNoise && withPropertyNoiseOf(newText, oldText) != oldText) {
        // The texts differ where no element sees it (blank lines between them): the lines tell.
        ElementChange change;
        change.section = change.key = change.kind = change.label = change.property = "Text";
        change.hunks = diffLines(oldText, newText, kContext);
        countChangedLines(change.hunks, change.removedLines, change.addedLines);
        object.changes.push_back(std::move(change));
    }
    object.change = onlyNoise && withPropertyNoiseOf(newText, oldText) == oldText ? ChangeKind::Noise
                                                                                   : ChangeKind::Changed;
}

} // namespace

ExportComparison compareExports(const CObjektManager& a, const CObjektManager& b, IProgress* progress,
                                const std::atomic<bool>* cancel)
{
    ExportComparison out;
    const CObjectIndex indexA(a);
    const CObjectIndex indexB(b);
    const std::vector<int> firstsA = firstOccurrences(a, indexA, out.duplicates);
    const std::vector<int> firstsB = firstOccurrences(b, indexB, out.duplicates);
    if (progress != nullptr)
        progress->setRange(0, std::max<int>(1, static_cast<int>(firstsA.size() + firstsB.size())));
    int step = 0;
    for (int i : firstsA) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            out.cancelled = true;
            return out;
        }
        if (progress != nullptr && (++step & 255) == 0)
            progress->setPos(step);
        const int j = indexB.find(a.get(i));
        if (j < 0) {
            ObjectChange object = objectChangeOf(a.get(i), ChangeKind::Removed);
            object.indexA = i;
            object.removedLines = lineCount(a.sourceText(i));
            out.objects.push_back(std::move(object));
            continue;
        }
        if (a.sourceText(i) == b.sourceText(j)) {
            ++out.unchanged;
            continue;
        }
        ObjectChange object = objectChangeOf(b.get(j), ChangeKind::Changed);
        object.indexA = i;
        object.indexB = j;
        compareObject(a, b, object, out);
        out.objects.push_back(std::move(object));
    }
    for (int j : firstsB) {
        if (indexA.find(b.get(j)) >= 0)
            continue;
        ObjectChange object = objectChangeOf(b.get(j), ChangeKind::Added);
        object.indexB = j;
        object.addedLines = lineCount(b.sourceText(j));
        out.objects.push_back(std::move(object));
    }
    std::stable_sort(out.objects.begin(), out.objects.end(), [](const ObjectChange& x, const ObjectChange& y) {
        const int rx = typeRank(x.typeWord), ry = typeRank(y.typeWord);
        if (rx != ry)
            return rx < ry;
        if (x.typeWord != y.typeWord)
            return x.typeWord < y.typeWord;
        return x.number < y.number;
    });
    if (progress != nullptr)
        progress->setPos(0);
    return out;
}
