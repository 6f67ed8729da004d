#pragma once

#include "settings/SettingsStore.h"

#include <string>
#include <vector>

// Sections of the desktop program's own that remember how the user left its windows and lists.
namespace layoutkeys {
inline constexpr const char* kSectionLayout = "Quellix.Layout";
inline constexpr const char* kMainX = "MainX";
inline constexpr const char* kMainY = "MainY";
inline constexpr const char* kMainWidth = "MainWidth";
inline constexpr const char* kMainHeight = "MainHeight";
inline constexpr const char* kMainMaximized = "MainMaximized";

inline constexpr const char* kSectionListColumns = "Quellix.ListColumns";

inline constexpr const char* kSectionSearchTerms = "Quellix.SearchTerms";
inline constexpr const char* kSearchTermFormat = "Term%d"; // numbered from 1, most recent first
inline constexpr int kSearchTermCount = 20;
} // namespace layoutkeys

// Size and position of the main window when it is not maximised, and whether it was maximised.
struct MainWindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0; // 0: never stored; the program starts maximised
    int height = 0;
    bool maximized = true;

    bool stored() const { return width > 0 && height > 0; }
    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};

// Column widths of one list kind, told apart by its headings: every analysis and view that shows
// the same headings shares the widths the user last gave them.
namespace listcolumns {
// The key of a list kind: each heading with runs of characters other than ASCII letters and
// digits turned into one "_", joined by "." ("No." and "Name" give "No_.Name").
std::string kindKey(const std::vector<std::string>& headings);
// The stored widths of that kind; empty when none are stored or their number does not match.
std::vector<int> read(ISettingsStore& store, const std::vector<std::string>& headings);
void write(ISettingsStore& store, const std::vector<std::string>& headings, const std::vector<int>& widths);
} // namespace listcolumns

// The last search terms, most recent first, at most kSearchTermCount, none twice, none empty.
struct RecentSearchTerms {
    std::vector<std::string> terms;

    // Puts term in front (moving it there when it is known) and drops the oldest beyond the limit.
    void add(const std::string& term);
    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};
