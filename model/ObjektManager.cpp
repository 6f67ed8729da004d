#include "model/ObjektManager.h"

#include "model/WorkerThreads.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kSliceBytes = 8 << 20;

// Where every "\r\nOBJECT " at position 1 or later starts, ascending: only these separate objects,
// so "OBJECT " inside the first object's code cuts nothing. Slices of the text are searched on
// the worker threads.
std::vector<int> objectStarts(const std::string& whole)
{
    static constexpr std::string_view kMarker = "\r\nOBJECT ";
    const int length = static_cast<int>(whole.size());
    const int slices = std::max(1, (length + kSliceBytes - 1) / kSliceBytes);
    std::vector<std::vector<int>> found(static_cast<size_t>(slices));
    std::vector<int> starts;
    runInOrder(
        slices,
        [&](int k, int) {
            const int end = k + 1 < slices ? (k + 1) * kSliceBytes : length;
            // Long enough for a marker that starts before end and no longer.
            const int windowEnd = std::min(length, end + static_cast<int>(kMarker.size()) - 1);
            const std::string_view window(whole.data(), static_cast<size_t>(windowEnd));
            for (int at = srctext::find(window, kMarker, std::max(1, k * kSliceBytes)); at >= 0 && at < end;
                 at = srctext::find(window, kMarker, at + 1))
                found[static_cast<size_t>(k)].push_back(at);
        },
        [&](int k) { starts.insert(starts.end(), found[static_cast<size_t>(k)].begin(), found[static_cast<size_t>(k)].end()); },
        [] { return false; });
    return starts;
}

} // namespace

void CObjektManager::load(CSourceText* text, const std::string& fileName)
{
    if (fileName == m_fileName && m_text != nullptr)
        return;
    m_fileName = fileName;
    m_index.reset();
    catalogue.removeAll();
    results.removeAll();
    {
        std::lock_guard lock(m_lastOccurrenceMutex);
        m_lastOccurrence.clear();
    }
    m_text = text;
    if (!text)
        return;
    const std::string& whole = text->str();
    const int length = static_cast<int>(whole.size());
    const std::vector<int> starts = objectStarts(whole);
    // Each object runs from its start to the byte before the next one's; the last one to the byte
    // before the text's last.
    const int count = static_cast<int>(starts.size()) + 1;
    catalogue.setSize(count);
    // Headers are short: the workers take them in blocks.
    constexpr int kBlock = 256;
    runInOrder(
        (count + kBlock - 1) / kBlock,
        [&](int block, int) {
            for (int i = block * kBlock; i < std::min(count, (block + 1) * kBlock); ++i) {
                const int start = i == 0 ? 0 : starts[static_cast<size_t>(i - 1)];
                const int next = i + 1 < count ? starts[static_cast<size_t>(i)] : length - 1;
                CObjectRecord& record = catalogue.get(i);
                record.reset();
                record.parseHeader(start, next - 1, &whole);
                record.manager = this;
            }
        },
        [&](int block) {
            for (int i = block * kBlock; m_status && i < std::min(count, (block + 1) * kBlock); ++i) {
                char line[64];
                std::snprintf(line, sizeof line, "%d \t Name: ", i + 1);
                m_status->setStatusText(line + std::string(catalogue.get(i).headerText()));
            }
        },
        [] { return false; });
}

int CObjektManager::objectAt(int pos) const
{
    // Spans are contiguous and ascending, so the only candidate is the last one starting at or before pos.
    auto it = std::upper_bound(catalogue.begin(), catalogue.end(), pos,
                               [](int p, const CObjectRecord& r) { return p < r.objectSpan.start(); });
    if (it == catalogue.begin())
        return -1;
    --it;
    return it->objectSpan.contains(pos) ? static_cast<int>(it - catalogue.begin()) : -1;
}

void CObjektManager::status(const std::string& line) const
{
    if (m_status)
        m_status->setStatusText(line);
}

namespace {

// Where pattern last starts in text, or -1. Jumps from one copy of the pattern's first byte to the
// one before it (memrchr) and compares only there: std::string_view::rfind compares at every
// position, which on a pattern that is rare or missing costs a compare per byte of the export.
int lastIndexOf(std::string_view text, std::string_view pattern)
{
    if (pattern.size() > text.size())
        return -1;
    const char* base = text.data();
    for (size_t starts = text.size() - pattern.size() + 1; starts > 0;) {
        const void* hit = memrchr(base, pattern[0], starts);
        if (hit == nullptr)
            return -1;
        const auto p = static_cast<size_t>(static_cast<const char*>(hit) - base);
        if (std::memcmp(base + p, pattern.data(), pattern.size()) == 0)
            return static_cast<int>(p);
        starts = p;
    }
    return -1;
}

} // namespace

int CObjektManager::lastOccurrence(std::string_view pattern) const
{
    {
        std::lock_guard lock(m_lastOccurrenceMutex);
        auto it = m_lastOccurrence.find(pattern);
        if (it != m_lastOccurrence.end())
            return it->second;
    }
    // Searched outside the lock: two threads may both search a new pattern, with the same result.
    int last = -1;
    if (m_text && !pattern.empty())
        last = lastIndexOf(m_text->str(), pattern);
    std::lock_guard lock(m_lastOccurrenceMutex);
    m_lastOccurrence.emplace(std::string(pattern), last);
    return last;
}
