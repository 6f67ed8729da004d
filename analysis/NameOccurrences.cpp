#include "analysis/NameOccurrences.h"

#include <algorithm>
#include <map>
#include <thread>

namespace {

// The scan looks at the cancellation flag once per this many bytes (a power of two, less one).
constexpr size_t kCancelCheckMask = 0xFFFF;
// A text shorter than this per thread is not worth a thread.
constexpr size_t kMinSlice = 1 << 20;

template <bool Fold>
inline unsigned char readByte(unsigned char c)
{
    if (Fold && c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + ('a' - 'A'));
    return c;
}

} // namespace

CNameOccurrences::CNameOccurrences(const std::vector<std::string>& names)
    : m_singleName(256, -1), m_pairNode(65536, -1)
{
    // Builds the trie of the names of two and more bytes below their first two bytes, with
    // ordered children, then lays it out flat breadth first.
    struct BuildNode {
        std::map<unsigned char, int> children;
        int name = -1;
    };
    std::vector<BuildNode> nodes;
    std::map<unsigned, int> pairRoots;
    for (const std::string& name : names) {
        if (name.empty() || m_nameIndex.find(name) != m_nameIndex.end())
            continue;
        const int index = static_cast<int>(m_counts.size());
        m_nameIndex.emplace(name, index);
        m_counts.push_back(0);
        const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
        if (name.size() == 1) {
            m_singleName[bytes[0]] = index;
            continue;
        }
        const unsigned pair = (static_cast<unsigned>(bytes[0]) << 8) | bytes[1];
        auto root = pairRoots.find(pair);
        if (root == pairRoots.end()) {
            root = pairRoots.emplace(pair, static_cast<int>(nodes.size())).first;
            nodes.emplace_back();
        }
        int node = root->second;
        for (size_t i = 2; i < name.size(); ++i) {
            auto it = nodes[node].children.find(bytes[i]);
            if (it == nodes[node].children.end()) {
                const int added = static_cast<int>(nodes.size());
                nodes[node].children.emplace(bytes[i], added);
                nodes.emplace_back();
                node = added;
            } else {
                node = it->second;
            }
        }
        nodes[node].name = index;
    }
    // Breadth-first renumbering keeps the children of a node next to each other.
    std::vector<int> order;
    std::vector<int> flatOf(nodes.size(), -1);
    order.reserve(nodes.size());
    for (const auto& [pair, root] : pairRoots) {
        flatOf[root] = static_cast<int>(order.size());
        order.push_back(root);
        m_pairNode[pair] = flatOf[root];
    }
    for (size_t i = 0; i < order.size(); ++i)
        for (const auto& [byte, next] : nodes[order[i]].children) {
            flatOf[next] = static_cast<int>(order.size());
            order.push_back(next);
        }
    m_firstChild.reserve(order.size() + 1);
    m_nameOfNode.reserve(order.size());
    for (int old : order) {
        m_firstChild.push_back(static_cast<int>(m_childNodes.size()));
        m_nameOfNode.push_back(nodes[old].name);
        for (const auto& [byte, next] : nodes[old].children) {
            m_childBytes.push_back(byte);
            m_childNodes.push_back(flatOf[next]);
        }
    }
    m_firstChild.push_back(static_cast<int>(m_childNodes.size()));
}

int CNameOccurrences::child(int node, unsigned char c) const
{
    const unsigned char* first = m_childBytes.data() + m_firstChild[node];
    const unsigned char* last = m_childBytes.data() + m_firstChild[node + 1];
    const unsigned char* it = std::lower_bound(first, last, c);
    return it != last && *it == c ? m_childNodes[it - m_childBytes.data()] : -1;
}

// Walks the trie from every position in [begin, end) of the text (reading on past end where a
// name goes on), counting into counts every occurrence (overlapping ones too) of every name.
template <bool Fold>
void CNameOccurrences::scanSlice(std::string_view text, size_t begin, size_t end, int cap,
                                 const std::atomic<bool>* cancel, std::vector<int>& counts) const
{
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    auto bump = [&](int name) {
        int& counted = counts[name];
        if (counted < cap)
            ++counted;
    };
    for (size_t p = begin; p < end; ++p) {
        if ((p & kCancelCheckMask) == 0 && cancel != nullptr && cancel->load(std::memory_order_relaxed))
            return;
        const unsigned char first = readByte<Fold>(t[p]);
        const int single = m_singleName[first];
        if (single != -1)
            bump(single);
        if (p + 1 == n)
            break;
        int node = m_pairNode[(static_cast<unsigned>(first) << 8) | readByte<Fold>(t[p + 1])];
        for (size_t q = p + 2; node != -1; ++q) {
            if (m_nameOfNode[node] != -1)
                bump(m_nameOfNode[node]);
            if (q == n)
                break;
            node = child(node, readByte<Fold>(t[q]));
        }
    }
}

void CNameOccurrences::scan(std::string_view text, int cap, const std::atomic<bool>* cancel, int threads)
{
    scanText<false>(text, cap, cancel, threads);
}

void CNameOccurrences::scanFolded(std::string_view text, int cap, const std::atomic<bool>* cancel, int threads)
{
    scanText<true>(text, cap, cancel, threads);
}

// Slices of the text are counted in parallel, each into counts of its own; a name's capped counts
// summed and capped again give its count in the whole text.
template <bool Fold>
void CNameOccurrences::scanText(std::string_view text, int cap, const std::atomic<bool>* cancel, int threads)
{
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const size_t n = text.size();
    const size_t slices = std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(threads), n / kMinSlice));
    m_counts.assign(m_counts.size(), 0);
    if (m_counts.empty())
        return;
    if (slices == 1) {
        scanSlice<Fold>(text, 0, n, cap, cancel, m_counts);
        return;
    }
    std::vector<std::vector<int>> partial(slices, std::vector<int>(m_counts.size(), 0));
    std::vector<std::thread> workers;
    for (size_t k = 1; k < slices; ++k)
        workers.emplace_back(
            [&, k] { scanSlice<Fold>(text, n * k / slices, n * (k + 1) / slices, cap, cancel, partial[k]); });
    scanSlice<Fold>(text, 0, n / slices, cap, cancel, partial[0]);
    for (std::thread& worker : workers)
        worker.join();
    for (const std::vector<int>& counts : partial)
        for (size_t i = 0; i < m_counts.size(); ++i)
            m_counts[i] = std::min(cap, m_counts[i] + counts[i]);
}

int CNameOccurrences::count(const std::string& name) const
{
    auto it = m_nameIndex.find(name);
    return it == m_nameIndex.end() ? -1 : m_counts[it->second];
}
