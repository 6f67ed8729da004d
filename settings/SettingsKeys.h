#pragma once

#include "settings/SettingsStore.h"

#include <string>
#include <vector>

// Sections and keys of the settings store, with the defaults every reader uses.
namespace settingskeys {

inline constexpr const char* kAppName = "Quellix";          // store key and application name

inline constexpr const char* kSectionSearch = "Search";
inline constexpr const char* kSourceFile = "Quelldatei";
inline constexpr const char* kSearchTerm = "Suchbegriff";
inline constexpr const char* kSearchOption = "Searchoption";
inline constexpr const char* kSplitFrom = "Split From";
inline constexpr const char* kSplitTo = "Split To";
inline constexpr const char* kSplitTargetPath = "Split Target Path";

inline constexpr const char* kSectionNumberRange = "Nummernsuche";
inline constexpr const char* kNumberFrom = "NrVon";
inline constexpr const char* kNumberTo = "NrBis";
inline constexpr const char* kNumberObjects = "Objekte";
inline constexpr const char* kNumberTableFields = "Tabellenfelder";

inline constexpr const char* kSectionMerge = "Merge";
inline constexpr const char* kMergeSource1 = "Quelldatei1";
inline constexpr const char* kMergeSource2 = "Quelldatei2";
inline constexpr const char* kMergeTarget1 = "Zieldatei1";
inline constexpr const char* kMergeTarget2 = "Zieldatei2";
inline constexpr const char* kMergeProgramPath = "ProgramPath";

inline constexpr const char* kSectionRecentFiles = "Recent File List";
inline constexpr const char* kRecentFileFormat = "File%d"; // numbered from 1
inline constexpr int kRecentFileCount = 10;

inline constexpr const char* kSectionSettings = "Settings";
inline constexpr const char* kPreviewPages = "PreviewPages";

inline constexpr const char* kSectionObjectViewer = "ObjectViewer";
inline constexpr const char* kViewerX = "X";
inline constexpr const char* kViewerY = "Y";
inline constexpr const char* kViewerWidth = "Width";
inline constexpr const char* kViewerHeight = "Height";

inline constexpr const char* kDefaultSourceFile = "export.txt";
inline constexpr const char* kDefaultSearchTerm = "Customer";
inline constexpr const char* kDefaultSearchOption = "normal";
inline constexpr int kDefaultSplitFrom = 1;
inline constexpr int kDefaultSplitTo = 99999999;
inline constexpr const char* kDefaultSplitTargetPath = "c:\\tmp\\split";
inline constexpr int kDefaultNumberFrom = 50000;
inline constexpr int kDefaultNumberTo = 50010;
inline constexpr int kDefaultPreviewPages = 0;
inline constexpr const char* kDefaultMergeSource1 = "c:\\tmp\\Source1.txt";
inline constexpr const char* kDefaultMergeSource2 = "c:\\tmp\\Source2.txt";
inline constexpr const char* kDefaultMergeTarget1 = "Vgl Neu.txt";
inline constexpr const char* kDefaultMergeTarget2 = "Vgl Alt.txt";
inline constexpr const char* kDefaultMergeProgramPath = "c:\\programs\\Araxis merge\\merge.exe";

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
    int from = settingskeys::kDefaultSplitFrom;
    int to = settingskeys::kDefaultSplitTo;
    std::string targetPath = settingskeys::kDefaultSplitTargetPath;

    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};

// Section "Nummernsuche": the number-range dialog's values.
struct NumberRangeSettings {
    unsigned from = settingskeys::kDefaultNumberFrom;
    unsigned to = settingskeys::kDefaultNumberTo;
    bool objects = true;
    bool tableFields = true;

    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};

// Section "Merge": the five paths of the merge view, read when it is made, written when it goes.
struct MergeSettings {
    std::string source1 = settingskeys::kDefaultMergeSource1;
    std::string source2 = settingskeys::kDefaultMergeSource2;
    std::string target1 = settingskeys::kDefaultMergeTarget1;
    std::string target2 = settingskeys::kDefaultMergeTarget2;
    std::string programPath = settingskeys::kDefaultMergeProgramPath;

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

// The recent-file list: up to kRecentFileCount paths, most recent first; empty entries skipped.
std::vector<std::string> readRecentFiles(ISettingsStore& store);
void writeRecentFiles(ISettingsStore& store, const std::vector<std::string>& files);
