#pragma once

#include "app/SettingsStore.h"

#include <string>
#include <vector>

// Sections and keys of the settings store, with the defaults every reader uses.
namespace settingskeys {

inline constexpr const char* APP_NAME = "Quellix";          // store key and application name

inline constexpr const char* SECTION_SEARCH = "Search";
inline constexpr const char* SOURCE_FILE = "Quelldatei";
inline constexpr const char* SEARCH_TERM = "Suchbegriff";
inline constexpr const char* SEARCH_OPTION = "Searchoption";
inline constexpr const char* SPLIT_FROM = "Split From";
inline constexpr const char* SPLIT_TO = "Split To";
inline constexpr const char* SPLIT_TARGET_PATH = "Split Target Path";

inline constexpr const char* SECTION_NUMBER_RANGE = "Nummernsuche";
inline constexpr const char* NUMBER_FROM = "NrVon";
inline constexpr const char* NUMBER_TO = "NrBis";
inline constexpr const char* NUMBER_OBJECTS = "Objekte";
inline constexpr const char* NUMBER_TABLE_FIELDS = "Tabellenfelder";

inline constexpr const char* SECTION_RECENT_FILES = "Recent File List";
inline constexpr const char* RECENT_FILE_FORMAT = "File%d"; // numbered from 1
inline constexpr int RECENT_FILE_COUNT = 10;

inline constexpr const char* SECTION_SETTINGS = "Settings";
inline constexpr const char* PREVIEW_PAGES = "PreviewPages";

inline constexpr const char* SECTION_OBJECT_VIEWER = "ObjectViewer";
inline constexpr const char* VIEWER_X = "X";
inline constexpr const char* VIEWER_Y = "Y";
inline constexpr const char* VIEWER_WIDTH = "Width";
inline constexpr const char* VIEWER_HEIGHT = "Height";

inline constexpr const char* DEFAULT_SOURCE_FILE = "export.txt";
inline constexpr const char* DEFAULT_SEARCH_TERM = "Customer";
inline constexpr const char* DEFAULT_SEARCH_OPTION = "normal";
inline constexpr int DEFAULT_SPLIT_FROM = 1;
inline constexpr int DEFAULT_SPLIT_TO = 99999999;
inline constexpr const char* DEFAULT_SPLIT_TARGET_PATH = "c:\\tmp\\split";
inline constexpr int DEFAULT_NUMBER_FROM = 50000;
inline constexpr int DEFAULT_NUMBER_TO = 50010;
inline constexpr int DEFAULT_PREVIEW_PAGES = 0;

} // namespace settingskeys

// The three values of section "Search" that the search view reads at creation and writes on Search.
struct SearchSettings {
    std::string sourceFile;
    std::string searchTerm;
    std::string searchOption;

    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};

// Section "Search", keys of the split into files.
struct SplitSettings {
    int from = settingskeys::DEFAULT_SPLIT_FROM;
    int to = settingskeys::DEFAULT_SPLIT_TO;
    std::string targetPath = settingskeys::DEFAULT_SPLIT_TARGET_PATH;

    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};

// Section "Nummernsuche": the number-range dialog's values.
struct NumberRangeSettings {
    unsigned from = settingskeys::DEFAULT_NUMBER_FROM;
    unsigned to = settingskeys::DEFAULT_NUMBER_TO;
    bool objects = true;
    bool tableFields = true;

    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};

// Section "ObjectViewer": size and position of the object viewer, in pixels.
struct ObjectViewerPlacement {
    int x = 0;
    int y = 0;
    int width = 0; // 0: never stored, the dialog takes its default size
    int height = 0;

    bool stored() const { return width > 0 && height > 0; }
    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};

// The recent-file list: up to RECENT_FILE_COUNT paths, most recent first; empty entries skipped.
std::vector<std::string> readRecentFiles(ISettingsStore& store);
void writeRecentFiles(ISettingsStore& store, const std::vector<std::string>& files);
