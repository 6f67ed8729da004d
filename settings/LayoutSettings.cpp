#include "settings/LayoutSettings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace layoutkeys;

void MainWindowPlacement::read(ISettingsStore& store)
{
    x = store.getInt(kSectionLayout, kMainX, 0);
    y = store.getInt(kSectionLayout, kMainY, 0);
    width = store.getInt(kSectionLayout, kMainWidth, 0);
    height = store.getInt(kSectionLayout, kMainHeight, 0);
    maximized = store.getInt(kSectionLayout, kMainMaximized, 1) != 0;
}

void MainWindowPlacement::write(ISettingsStore& store) const
{
    store.writeInt(kSectionLayout, kMainX, x);
    store.writeInt(kSectionLayout, kMainY, y);
    store.writeInt(kSectionLayout, kMainWidth, width);
    store.writeInt(kSectionLayout, kMainHeight, height);
    store.writeInt(kSectionLayout, kMainMaximized, maximized ? 1 : 0);
}

namespace listcolumns {

std::string kindKey(const std::vector<std::string>& headings)
{
    std::string key;
    for (size_t i = 0; i < headings.size(); ++i) {
        if (i > 0)
            key += '.';
        bool inRun = false;
        for (char c : headings[i]) {
            const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            if (plain)
                key += c;
            else if (!inRun)
                key += '_';
            inRun = !plain;
        }
    }
    return key;
}

std::vector<int> read(ISettingsStore& store, const std::vector<std::string>& headings)
{
    if (headings.empty())
        return {};
    const std::string text = store.getString(kSectionListColumns, kindKey(headings), "");
    std::vector<int> widths;
    const char* p = text.c_str();
    while (*p != '\0') {
        char* end = nullptr;
        long width = std::strtol(p, &end, 10);
        if (end == p || width <= 0 || width > 10000)
            return {};
        widths.push_back(static_cast<int>(width));
        p = *end == ',' ? end + 1 : end;
        if (*end != ',' && *end != '\0')
            return {};
    }
    if (widths.size() != headings.size())
        return {};
    return widths;
}

void write(ISettingsStore& store, const std::vector<std::string>& headings, const std::vector<int>& widths)
{
    if (headings.empty() || widths.size() != headings.size())
        return;
    std::string text;
    for (size_t i = 0; i < widths.size(); ++i)
        text += (i > 0 ? "," : "") + std::to_string(widths[i]);
    store.writeString(kSectionListColumns, kindKey(headings), text);
}

} // namespace listcolumns

void RecentSearchTerms::add(const std::string& term)
{
    if (term.empty())
        return;
    terms.erase(std::remove(terms.begin(), terms.end(), term), terms.end());
    terms.insert(terms.begin(), term);
    if (terms.size() > static_cast<size_t>(kSearchTermCount))
        terms.resize(kSearchTermCount);
}

void RecentSearchTerms::read(ISettingsStore& store)
{
    terms.clear();
    for (int i = 1; i <= kSearchTermCount; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, kSearchTermFormat, i);
        std::string term = store.getString(kSectionSearchTerms, key, "");
        if (!term.empty() && std::find(terms.begin(), terms.end(), term) == terms.end())
            terms.push_back(term);
    }
}

void RecentSearchTerms::write(ISettingsStore& store) const
{
    for (int i = 1; i <= kSearchTermCount; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, kSearchTermFormat, i);
        if (i <= static_cast<int>(terms.size()))
            store.writeString(kSectionSearchTerms, key, terms[i - 1]);
        else
            store.deleteKey(kSectionSearchTerms, key);
    }
}
