#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Counts in one pass how often each of a set of names occurs in a text as a plain, case-sensitive
// substring (overlapping occurrences included), each count stopping at a cap. It answers "does
// this name occur exactly once" for thousands of names without one whole-text search per name.
class CNameOccurrences {
public:
    // Empty names are ignored; a name given twice is counted once.
    explicit CNameOccurrences(const std::vector<std::string>& names);

    // Counts afresh the occurrences in text, up to cap per name, in slices on up to threads
    // threads (0: one per core); the counts do not depend on the number. Stops early, leaving the
    // counts incomplete, when cancel is set.
    void scan(std::string_view text, int cap, const std::atomic<bool>* cancel = nullptr, int threads = 0);
    // Like scan, with the text's letters A-Z read as a-z: given folded names, the counts are
    // those without regard to letter case.
    void scanFolded(std::string_view text, int cap, const std::atomic<bool>* cancel = nullptr, int threads = 0);
    // The counted occurrences of name (at most the cap); -1 for a name that was not given.
    int count(const std::string& name) const;

private:
    template <bool Fold>
    void scanText(std::string_view text, int cap, const std::atomic<bool>* cancel, int threads);
    template <bool Fold>
    void scanSlice(std::string_view text, size_t begin, size_t end, int cap, const std::atomic<bool>* cancel,
                   std::vector<int>& counts) const;
    int edge(int node, unsigned char c) const;

    // The names as a trie walked from every position of the text. The names of one byte and the
    // nodes two bytes deep are looked up in flat tables, so that the walk from most positions
    // ends after one table read. Deeper, the edges of a node stand sorted by their first byte in
    // shared arrays (from m_firstChild[node] to m_firstChild[node + 1]); an edge stands for a
    // chain of bytes, the ones after its first in m_labels, so nodes remain only where a name
    // ends or names part.
    std::vector<int> m_singleName;   // 256: index of the one-byte name, or -1
    // Most pairs of bytes of a text begin no name: a bit per pair of the text's own bytes (exact,
    // and for the folded scan every pair that folds to a name's first two bytes) answers for them
    // from the first-level cache, one read and no branch per byte, before the pair table (256 KB)
    // is read. Names of one byte are counted in a pass of their own, only where there are any.
    std::array<std::uint64_t, 1024> m_pairBits{};
    std::array<std::uint64_t, 1024> m_foldedPairBits{};
    bool m_anySingle = false;
    std::vector<int> m_pairNode;     // 65536: node of the two bytes (first << 8 | second), or -1
    std::vector<int> m_firstChild;   // per node, and one past the last
    std::vector<unsigned char> m_childBytes;
    std::vector<int> m_childNodes;
    std::vector<int> m_labelStart;
    std::vector<int> m_labelLength;
    std::string m_labels;
    std::vector<int> m_nameOfNode;   // index into m_counts of the name ending at a node, or -1
    std::unordered_map<std::string, int> m_nameIndex;
    std::vector<int> m_counts;
};
