#include "analysis/NameOccurrences.h"

#include <deque>

namespace {

// The scan looks at the cancellation flag once per this many bytes (a power of two, less one).
constexpr size_t kCancelCheckMask = 0xFFFF;

unsigned long long edgeKey(int node, unsigned char c)
{
    return (static_cast<unsigned long long>(node) << 8) | c;
}

} // namespace

CNameOccurrences::CNameOccurrences(const std::vector<std::string>& names)
    : m_children(1), m_fail(1, 0), m_out(1, 0), m_nameOfNode(1, -1)
{
    for (const std::string& name : names)
        if (!name.empty() && m_nameIndex.find(name) == m_nameIndex.end())
            addName(name);
    linkFailures();
}

int CNameOccurrences::next(int node, unsigned char c) const
{
    auto it = m_edges.find(edgeKey(node, c));
    return it == m_edges.end() ? -1 : it->second;
}

void CNameOccurrences::addName(const std::string& name)
{
    int node = 0;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        int child = next(node, c);
        if (child == -1) {
            child = static_cast<int>(m_fail.size());
            m_edges.emplace(edgeKey(node, c), child);
            m_children[node].push_back(child);
            m_children.emplace_back();
            m_fail.push_back(0);
            m_out.push_back(0);
            m_nameOfNode.push_back(-1);
        }
        node = child;
    }
    const int index = static_cast<int>(m_counts.size());
    m_nameIndex.emplace(name, index);
    m_nameOfNode[node] = index;
    m_counts.push_back(0);
}

// Breadth first, so every shorter suffix is linked before the nodes that need it.
void CNameOccurrences::linkFailures()
{
    std::vector<unsigned char> byteOf(m_fail.size(), 0);
    for (const auto& [key, child] : m_edges)
        byteOf[child] = static_cast<unsigned char>(key & 0xFF);
    std::deque<int> queue(m_children[0].begin(), m_children[0].end());
    while (!queue.empty()) {
        const int node = queue.front();
        queue.pop_front();
        for (int child : m_children[node]) {
            const unsigned char c = byteOf[child];
            int f = m_fail[node];
            while (f != 0 && next(f, c) == -1)
                f = m_fail[f];
            const int target = next(f, c);
            const int fail = target != -1 && target != child ? target : 0;
            m_fail[child] = fail;
            m_out[child] = m_nameOfNode[fail] != -1 ? fail : m_out[fail];
            queue.push_back(child);
        }
    }
}

// Reads the text once, byte by byte, counting every occurrence (overlapping ones too) of every name.
void CNameOccurrences::scan(std::string_view text, int cap, const std::atomic<bool>* cancel)
{
    m_counts.assign(m_counts.size(), 0);
    int state = 0;
    for (size_t p = 0; p < text.size(); ++p) {
        if ((p & kCancelCheckMask) == 0 && cancel != nullptr && cancel->load(std::memory_order_relaxed))
            return;
        const auto c = static_cast<unsigned char>(text[p]);
        int step = next(state, c);
        while (step == -1 && state != 0) {
            state = m_fail[state];
            step = next(state, c);
        }
        state = step == -1 ? 0 : step;
        int hit = m_nameOfNode[state] != -1 ? state : m_out[state];
        for (; hit != 0; hit = m_out[hit]) {
            int& counted = m_counts[m_nameOfNode[hit]];
            if (counted < cap)
                ++counted;
        }
    }
}

int CNameOccurrences::count(const std::string& name) const
{
    auto it = m_nameIndex.find(name);
    return it == m_nameIndex.end() ? -1 : m_counts[it->second];
}
