#include "model/NameHits.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace srctext {

std::vector<NameHits> findNames(std::string_view text, const std::vector<std::string_view>& names)
{
    std::vector<NameHits> hits(names.size());
    const int n = static_cast<int>(text.size());
    auto record = [&](size_t name, int p) {
        NameHits& h = hits[name];
        if (h.first < 0)
            h.first = p;
        else if (h.second < 0)
            h.second = p;
        ++h.count;
    };
    // The names sorted by their bytes: those beginning with one byte stand together, so each
    // position looks up only the names of its byte.
    std::vector<size_t> order;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty())
            hits[i] = {0, n >= 1 ? 1 : -1, n + 1};
        else
            order.push_back(i);
    }
    if (order.empty())
        return hits;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return names[a] < names[b]; });
    std::array<int, 257> firstOf{};
    for (size_t k = 0, c = 0; c <= 256; ++c) {
        while (k < order.size() && static_cast<unsigned char>(names[order[k]][0]) < c)
            ++k;
        firstOf[c] = static_cast<int>(k);
    }
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    auto nameAt = [&](int k) { return names[order[static_cast<size_t>(k)]]; };
    // The first bytes of the names of one byte; of the longer names a bit per pair of bytes that
    // begins one: at most positions one look-up ends the search.
    std::array<bool, 256> single{};
    std::vector<std::uint64_t> pairs(65536 / 64);
    bool anySingle = false;
    for (size_t k : order) {
        const auto first = static_cast<unsigned char>(names[k][0]);
        if (names[k].size() == 1) {
            single[first] = anySingle = true;
        } else {
            std::uint16_t pair; // the two bytes as the scan reads them
            std::memcpy(&pair, names[k].data(), 2);
            pairs[pair >> 6] |= std::uint64_t{1} << (pair & 63);
        }
    }
    // Each name is either one byte or longer, so the two passes keep each name's hits in order.
    for (int p = 0; anySingle && p < n; ++p)
        for (int k = firstOf[t[p]]; single[t[p]] && k < firstOf[t[p] + 1] && nameAt(k).size() == 1; ++k)
            record(order[static_cast<size_t>(k)], p);
    // Block by block: first the positions whose pair begins a name are gathered without a branch
    // (most are not, at unforeseeable places), then the names of each are looked up, in order.
    constexpr int kBlock = 4096;
    std::array<std::uint16_t, kBlock> candidates;
    for (int b = 0; b + 1 < n; b += kBlock) {
        const int stop = std::min(n - 1, b + kBlock);
        int found = 0;
        for (int p = b; p < stop; ++p) {
            candidates[static_cast<size_t>(found)] = static_cast<std::uint16_t>(p - b);
            std::uint16_t pair; // t[p] | t[p + 1] << 8 on a little-endian machine, as the bits are set
            std::memcpy(&pair, t + p, 2);
            found += static_cast<int>(pairs[pair >> 6] >> (pair & 63) & 1);
        }
        for (int c = 0; c < found; ++c) {
            const int p = b + candidates[static_cast<size_t>(c)];
            int k = firstOf[t[p]];
            const int end = firstOf[t[p] + 1];
            // The names whose second byte is the text's, by binary search (a name of one byte sorts
            // before the longer ones that begin with it).
            const unsigned char next = t[p + 1];
            auto secondOf = [&](int i) {
                const std::string_view name = nameAt(i);
                return name.size() > 1 ? static_cast<int>(static_cast<unsigned char>(name[1])) : -1;
            };
            for (int count = end - k; count > 0;) {
                const int half = count / 2;
                if (secondOf(k + half) < next) {
                    k += half + 1;
                    count -= half + 1;
                } else {
                    count = half;
                }
            }
            for (; k < end && secondOf(k) == next; ++k) {
                const std::string_view name = nameAt(k);
                if (name.size() <= static_cast<size_t>(n - p) && std::memcmp(t + p, name.data(), name.size()) == 0)
                    record(order[static_cast<size_t>(k)], p);
            }
        }
    }
    return hits;
}

} // namespace srctext
