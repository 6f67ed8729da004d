#include "analysis/NameOccurrences.h"
#include "model/WorkerThreads.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <thread>

namespace {

// The scan looks at the cancellation flag once per this many bytes (a power of two, less one).
constexpr size_t kCancelCheckMask = 0xFFFF;
// A text shorter than this per thread is not worth a thread.
constexpr size_t kMinSlice = 1 << 20;

// The two bytes as one 16-bit load reads them (in the machine's byte order), setting and testing
// alike.
inline void setPairBit(std::array<std::uint64_t, 1024>& bits, unsigned char first, unsigned char second)
{
    const unsigned char both[2] = {first, second};
    std::uint16_t pair;
    std::memcpy(&pair, both, 2);
    bits[pair >> 6] |= std::uint64_t{1} << (pair & 63);
}

inline unsigned pairBit(const std::array<std::uint64_t, 1024>& bits, const unsigned char* at)
{
    std::uint16_t pair;
    std::memcpy(&pair, at, 2);
    return static_cast<unsigned>(bits[pair >> 6] >> (pair & 63) & 1);
}

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
            m_anySingle = true;
            continue;
        }
        const unsigned pair = (static_cast<unsigned>(bytes[0]) << 8) | bytes[1];
        setPairBit(m_pairBits, bytes[0], bytes[1]);
        // The text bytes that fold to a byte: a-z also from A-Z; A-Z from none.
        auto unfolded = [](unsigned char c) -> std::vector<unsigned char> {
            if (c >= 'A' && c <= 'Z')
                return {};
            if (c >= 'a' && c <= 'z')
                return {c, static_cast<unsigned char>(c - ('a' - 'A'))};
            return {c};
        };
        for (unsigned char x : unfolded(bytes[0]))
            for (unsigned char y : unfolded(bytes[1]))
                setPairBit(m_foldedPairBits, x, y);
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
    // Breadth-first renumbering keeps the children of a node next to each other; a chain of
    // nodes with one child each and no name ending there becomes one edge whose bytes after the
    // first are compared at once (m_labels).
    std::vector<int> order;
    std::vector<int> flatOf(nodes.size(), -1);
    order.reserve(nodes.size());
    for (const auto& [pair, root] : pairRoots) {
        flatOf[root] = static_cast<int>(order.size());
        order.push_back(root);
        m_pairNode[pair] = flatOf[root];
    }
    struct Edge {
        unsigned char first;
        std::string rest;
        int target;   // a node of nodes
    };
    std::vector<std::vector<Edge>> edges;
    for (size_t i = 0; i < order.size(); ++i) {
        std::vector<Edge> out;
        for (const auto& [byte, next] : nodes[order[i]].children) {
            Edge edge{byte, std::string(), next};
            while (nodes[edge.target].name == -1 && nodes[edge.target].children.size() == 1) {
                const auto& [b, n] = *nodes[edge.target].children.begin();
                edge.rest.push_back(static_cast<char>(b));
                edge.target = n;
            }
            flatOf[edge.target] = static_cast<int>(order.size());
            order.push_back(edge.target);
            out.push_back(std::move(edge));
        }
        edges.push_back(std::move(out));
    }
    m_firstChild.reserve(order.size() + 1);
    m_nameOfNode.reserve(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        m_firstChild.push_back(static_cast<int>(m_childNodes.size()));
        m_nameOfNode.push_back(nodes[order[i]].name);
        for (const Edge& edge : edges[i]) {
            m_childBytes.push_back(edge.first);
            m_childNodes.push_back(flatOf[edge.target]);
            m_labelStart.push_back(static_cast<int>(m_labels.size()));
            m_labelLength.push_back(static_cast<int>(edge.rest.size()));
            m_labels += edge.rest;
        }
    }
    m_firstChild.push_back(static_cast<int>(m_childNodes.size()));
}

// The edge of node whose first byte is c, or -1.
inline int CNameOccurrences::edge(int node, unsigned char c) const
{
    const int first = m_firstChild[node];
    const int last = m_firstChild[node + 1];
    if (last - first <= 8) {
        for (int e = first; e < last; ++e)
            if (m_childBytes[e] == c)
                return e;
        return -1;
    }
    const unsigned char* begin = m_childBytes.data() + first;
    const unsigned char* end = m_childBytes.data() + last;
    const unsigned char* it = std::lower_bound(begin, end, c);
    return it != end && *it == c ? static_cast<int>(it - m_childBytes.data()) : -1;
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
    if (m_anySingle) {
        for (size_t p = begin; p < end; ++p) {
            if ((p & kCancelCheckMask) == 0 && cancel != nullptr && cancel->load(std::memory_order_relaxed))
                return;
            const int single = m_singleName[readByte<Fold>(t[p])];
            if (single != -1)
                bump(single);
        }
    }
    const std::array<std::uint64_t, 1024>& pairBits = Fold ? m_foldedPairBits : m_pairBits;
    // Block by block: first the positions whose pair begins a name are gathered without a branch
    // (most are not, at unforeseeable places), then the trie is walked from each.
    constexpr size_t kBlock = 4096;
    std::array<std::uint32_t, kBlock> candidates;
    const size_t last = std::min(end, n - 1); // a name of two bytes and more needs the byte after
    for (size_t b = begin; b < last; b += kBlock) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed))
            return;
        const size_t stop = std::min(last, b + kBlock);
        size_t found = 0;
        for (size_t p = b; p < stop; ++p) {
            candidates[found] = static_cast<std::uint32_t>(p - b);
            found += pairBit(pairBits, t + p);
        }
        for (size_t c = 0; c < found; ++c) {
            const size_t p = b + candidates[c];
            const unsigned pair = (static_cast<unsigned>(readByte<Fold>(t[p])) << 8) | readByte<Fold>(t[p + 1]);
            int node = m_pairNode[pair];
            for (size_t q = p + 2; node != -1;) {
                if (m_nameOfNode[node] != -1)
                    bump(m_nameOfNode[node]);
                if (q == n)
                    break;
                const int e = edge(node, readByte<Fold>(t[q]));
                if (e == -1)
                    break;
                const size_t length = static_cast<size_t>(m_labelLength[e]);
                if (length > n - q - 1)
                    break;
                const unsigned char* label = reinterpret_cast<const unsigned char*>(m_labels.data()) + m_labelStart[e];
                const unsigned char* at = t + q + 1;
                size_t k = 0;
                while (k < length && readByte<Fold>(at[k]) == label[k])
                    ++k;
                if (k < length)
                    break;
                q += 1 + length;
                node = m_childNodes[e];
            }
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
    runSlices(static_cast<int>(slices), [&](int slice) {
        const size_t k = static_cast<size_t>(slice);
        scanSlice<Fold>(text, n * k / slices, n * (k + 1) / slices, cap, cancel, partial[k]);
    });
    for (const std::vector<int>& counts : partial)
        for (size_t i = 0; i < m_counts.size(); ++i)
            m_counts[i] = std::min(cap, m_counts[i] + counts[i]);
}

int CNameOccurrences::count(const std::string& name) const
{
    auto it = m_nameIndex.find(name);
    return it == m_nameIndex.end() ? -1 : m_counts[it->second];
}
