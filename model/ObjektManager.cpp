#include "model/ObjektManager.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

void CObjektManager::load(CSourceText* text, const std::string& fileName)
{
    if (fileName == m_fileName && m_text != nullptr)
        return;
    m_fileName = fileName;
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
    // Only "\r\nOBJECT " separates objects, so "OBJECT " inside the first object's code cuts nothing.
    int next = srctext::find(whole, "\r\nOBJECT ", 1);
    int start = 0;
    for (int count = 1;; ++count) {
        const bool last = next == -1;
        if (last)
            next = length - 1;
        CObjectRecord record;
        record.reset();
        record.parseHeader(start, next - 1, &whole);
        record.manager = this;
        catalogue.add(std::move(record));
        start = next;
        if (!last)
            next = srctext::find(whole, "\r\nOBJECT ", next + 1);
        if (m_status) {
            char line[64];
            std::snprintf(line, sizeof line, "%d \t Name: ", count);
            m_status->setStatusText(line + std::string(catalogue.get(catalogue.count() - 1).headerText()));
        }
        if (last)
            break;
    }
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
