#pragma once

#include <atomic>
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

    // Counts afresh the occurrences in text, up to cap per name. Stops early, leaving the counts
    // incomplete, when cancel is set.
    void scan(std::string_view text, int cap, const std::atomic<bool>* cancel = nullptr);
    // Like scan, with the text's letters A-Z read as a-z: given folded names, the counts are
    // those without regard to letter case.
    void scanFolded(std::string_view text, int cap, const std::atomic<bool>* cancel = nullptr);
    // The counted occurrences of name (at most the cap); -1 for a name that was not given.
    int count(const std::string& name) const;

private:
    template <bool Fold>
    void scanText(std::string_view text, int cap, const std::atomic<bool>* cancel);
    int next(int node, unsigned char c) const;
    void addName(const std::string& name);
    void linkFailures();

    // The names as a trie whose nodes also carry the longest proper suffix that is a node (fail)
    // and the nearest suffix that ends a name (out, 0 for none); node 0 is the root.
    std::unordered_map<unsigned long long, int> m_edges;
    std::vector<std::vector<int>> m_children;
    std::vector<int> m_fail;
    std::vector<int> m_out;
    std::vector<int> m_nameOfNode;   // index into m_counts of the name ending at a node, or -1
    std::unordered_map<std::string, int> m_nameIndex;
    std::vector<int> m_counts;
};
