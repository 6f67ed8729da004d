#include "settings/SettingsKeys.h"

#include <cstdio>

using namespace settingskeys;

void SearchSettings::read(ISettingsStore& store)
{
    sourceFile = store.getString(kSectionSearch, kSourceFile, kDefaultSourceFile);
    searchTerm = store.getString(kSectionSearch, kSearchTerm, kDefaultSearchTerm);
    searchOption = store.getString(kSectionSearch, kSearchOption, kDefaultSearchOption);
}

void SearchSettings::write(ISettingsStore& store) const
{
    store.writeString(kSectionSearch, kSourceFile, sourceFile);
    store.writeString(kSectionSearch, kSearchTerm, searchTerm);
    store.writeString(kSectionSearch, kSearchOption, searchOption);
}

void SplitSettings::read(ISettingsStore& store)
{
    from = store.getInt(kSectionSearch, kSplitFrom, kDefaultSplitFrom);
    to = store.getInt(kSectionSearch, kSplitTo, kDefaultSplitTo);
    targetPath = store.getString(kSectionSearch, kSplitTargetPath, kDefaultSplitTargetPath);
}

void SplitSettings::write(ISettingsStore& store) const
{
    store.writeInt(kSectionSearch, kSplitFrom, from);
    store.writeInt(kSectionSearch, kSplitTo, to);
    store.writeString(kSectionSearch, kSplitTargetPath, targetPath);
}

void NumberRangeSettings::read(ISettingsStore& store)
{
    from = static_cast<unsigned>(store.getInt(kSectionNumberRange, kNumberFrom, kDefaultNumberFrom));
    to = static_cast<unsigned>(store.getInt(kSectionNumberRange, kNumberTo, kDefaultNumberTo));
    objects = store.getInt(kSectionNumberRange, kNumberObjects, 1) != 0;
    tableFields = store.getInt(kSectionNumberRange, kNumberTableFields, 1) != 0;
}

void NumberRangeSettings::write(ISettingsStore& store) const
{
    store.writeInt(kSectionNumberRange, kNumberFrom, static_cast<int>(from));
    store.writeInt(kSectionNumberRange, kNumberTo, static_cast<int>(to));
    store.writeInt(kSectionNumberRange, kNumberObjects, objects ? 1 : 0);
    store.writeInt(kSectionNumberRange, kNumberTableFields, tableFields ? 1 : 0);
}

void MergeSettings::read(ISettingsStore& store)
{
    source1 = store.getString(kSectionMerge, kMergeSource1, kDefaultMergeSource1);
    source2 = store.getString(kSectionMerge, kMergeSource2, kDefaultMergeSource2);
    target1 = store.getString(kSectionMerge, kMergeTarget1, kDefaultMergeTarget1);
    target2 = store.getString(kSectionMerge, kMergeTarget2, kDefaultMergeTarget2);
    programPath = store.getString(kSectionMerge, kMergeProgramPath, kDefaultMergeProgramPath);
}

void MergeSettings::write(ISettingsStore& store) const
{
    store.writeString(kSectionMerge, kMergeSource1, source1);
    store.writeString(kSectionMerge, kMergeSource2, source2);
    store.writeString(kSectionMerge, kMergeTarget1, target1);
    store.writeString(kSectionMerge, kMergeTarget2, target2);
    store.writeString(kSectionMerge, kMergeProgramPath, programPath);
}

void ObjectViewerPlacement::read(ISettingsStore& store)
{
    x = store.getInt(kSectionObjectViewer, kViewerX, 0);
    y = store.getInt(kSectionObjectViewer, kViewerY, 0);
    width = store.getInt(kSectionObjectViewer, kViewerWidth, 0);
    height = store.getInt(kSectionObjectViewer, kViewerHeight, 0);
}

void ObjectViewerPlacement::write(ISettingsStore& store) const
{
    store.writeInt(kSectionObjectViewer, kViewerX, x);
    store.writeInt(kSectionObjectViewer, kViewerY, y);
    store.writeInt(kSectionObjectViewer, kViewerWidth, width);
    store.writeInt(kSectionObjectViewer, kViewerHeight, height);
}

static std::string recentKey(int n)
{
    char key[32];
    std::snprintf(key, sizeof key, kRecentFileFormat, n);
    return key;
}

std::vector<std::string> readRecentFiles(ISettingsStore& store)
{
    std::vector<std::string> files;
    for (int n = 1; n <= kRecentFileCount; ++n) {
        std::string path = store.getString(kSectionRecentFiles, recentKey(n), "");
        if (!path.empty())
            files.push_back(path);
    }
    return files;
}

void writeRecentFiles(ISettingsStore& store, const std::vector<std::string>& files)
{
    for (int n = 1; n <= kRecentFileCount; ++n) {
        if (n <= static_cast<int>(files.size()))
            store.writeString(kSectionRecentFiles, recentKey(n), files[static_cast<size_t>(n - 1)]);
        else
            store.deleteKey(kSectionRecentFiles, recentKey(n));
    }
}
