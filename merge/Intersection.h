#pragma once

#include "jobs/JobRunner.h"
#include "model/ObjektManager.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

// The type word of an object's OBJECT line ("Table", "Page", "Query" ...): the header text up to
// its first blank. Empty when the record has no header.
std::string_view objectLineTypeWord(const CObjectRecord& record);

// Finds the partner of an object in one catalogue: the first object, in text order, with the same
// type and number; objects of type 0 (Page, XMLport, MenuSuite, Query and unknown words) match only
// when their OBJECT lines carry the same type word. A record that does not begin with "OBJECT "
// (the single record of a text without objects) has no partner and is no partner.
class CObjectIndex {
public:
    explicit CObjectIndex(const CObjektManager& manager);
    // Index of the partner of record in the indexed catalogue, -1 when there is none.
    int find(const CObjectRecord& record) const;

private:
    struct Key {
        int type;
        int number;
        std::string word; // only for type 0
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    static bool keyOf(const CObjectRecord& record, Key& key);

    std::unordered_map<Key, int, KeyHash> m_first;
};

// Gives target's OBJECT-PROPERTIES lines "Date=", "Time=" and "Version List=" the text of the same
// lines of source, where both objects have the line; everything else stays as it is.
std::string withPropertyNoiseOf(const std::string& target, const std::string& source);

// The four files of a build: the two exports and the two intersection files, named as the merge
// view's settings name them.
struct IntersectionRequest {
    std::string source1;      // Quelldatei1
    std::string source2;      // Quelldatei2
    std::string target1;      // Zieldatei1: source1's objects in source2's order
    std::string target2;      // Zieldatei2: source2's objects in source1's order
    bool ignoreNoise = false; // Date, Time and Version List of each pair taken from source1
};

struct IntersectionResult {
    int target1Objects = 0;
    int target2Objects = 0;
    Outcome status;       // a source not found or unreadable, a target not written, with its path
    bool cancelled = false; // the cancellation flag ended the build
};

// Writes, for each object of order in its order, the text of its partner in searched (through
// searchedIndex) to path in the OEM code page, objects separated by one empty line. The file is
// replaced whole: written beside it under another name, then renamed over it. With noiseFromOrder
// each written object takes its Date, Time and Version List lines from the ordering object.
// Returns the number of objects written, -1 when the file cannot be written (failure, when given,
// receives the reason) or cancel was set (the target is then left as it was).
int writeIntersectionFile(const CObjektManager& order, const CObjektManager& searched,
                          const CObjectIndex& searchedIndex, const std::string& path, bool noiseFromOrder,
                          IProgress* progress, int progressBase, const std::atomic<bool>* cancel,
                          std::string* failure = nullptr);

// The build of the merge view: reads source2 afresh into s1Text and loads it into s1 (the
// document's catalogue, which keeps it), reads source1 into a catalogue of its own, then writes
// target1 and target2. Both sources are checked for reading before anything is loaded; a failure
// ends the build there (a target already written stays written), with result.status saying why.
// status and progress may be null.
void buildIntersectionFiles(const IntersectionRequest& request, CSourceText& s1Text, CObjektManager& s1,
                            IStatusText* status, IProgress* progress, const std::atomic<bool>* cancel,
                            IntersectionResult& result);
