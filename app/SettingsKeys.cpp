#include "app/SettingsKeys.h"

#include <cstdio>

using namespace settingskeys;

void SearchSettings::read(ISettingsStore& store)
{
    sourceFile = store.getString(SECTION_SEARCH, SOURCE_FILE, DEFAULT_SOURCE_FILE);
    searchTerm = store.getString(SECTION_SEARCH, SEARCH_TERM, DEFAULT_SEARCH_TERM);
    searchOption = store.getString(SECTION_SEARCH, SEARCH_OPTION, DEFAULT_SEARCH_OPTION);
}

void SearchSettings::write(ISettingsStore& store) const
{
    store.writeString(SECTION_SEARCH, SOURCE_FILE, sourceFile);
    store.writeString(SECTION_SEARCH, SEARCH_TERM, searchTerm);
    store.writeString(SECTION_SEARCH, SEARCH_OPTION, searchOption);
}

void SplitSettings::read(ISettingsStore& store)
{
    from = store.getInt(SECTION_SEARCH, SPLIT_FROM, DEFAULT_SPLIT_FROM);
    to = store.getInt(SECTION_SEARCH, SPLIT_TO, DEFAULT_SPLIT_TO);
    targetPath = store.getString(SECTION_SEARCH, SPLIT_TARGET_PATH, DEFAULT_SPLIT_TARGET_PATH);
}

void SplitSettings::write(ISettingsStore& store) const
{
    store.writeInt(SECTION_SEARCH, SPLIT_FROM, from);
    store.writeInt(SECTION_SEARCH, SPLIT_TO, to);
    store.writeString(SECTION_SEARCH, SPLIT_TARGET_PATH, targetPath);
}

void NumberRangeSettings::read(ISettingsStore& store)
{
    from = static_cast<unsigned>(store.getInt(SECTION_NUMBER_RANGE, NUMBER_FROM, DEFAULT_NUMBER_FROM));
    to = static_cast<unsigned>(store.getInt(SECTION_NUMBER_RANGE, NUMBER_TO, DEFAULT_NUMBER_TO));
    objects = store.getInt(SECTION_NUMBER_RANGE, NUMBER_OBJECTS, 1) != 0;
    tableFields = store.getInt(SECTION_NUMBER_RANGE, NUMBER_TABLE_FIELDS, 1) != 0;
}

void NumberRangeSettings::write(ISettingsStore& store) const
{
    store.writeInt(SECTION_NUMBER_RANGE, NUMBER_FROM, static_cast<int>(from));
    store.writeInt(SECTION_NUMBER_RANGE, NUMBER_TO, static_cast<int>(to));
    store.writeInt(SECTION_NUMBER_RANGE, NUMBER_OBJECTS, objects ? 1 : 0);
    store.writeInt(SECTION_NUMBER_RANGE, NUMBER_TABLE_FIELDS, tableFields ? 1 : 0);
}

void ObjectViewerPlacement::read(ISettingsStore& store)
{
    x = store.getInt(SECTION_OBJECT_VIEWER, VIEWER_X, 0);
    y = store.getInt(SECTION_OBJECT_VIEWER, VIEWER_Y, 0);
    width = store.getInt(SECTION_OBJECT_VIEWER, VIEWER_WIDTH, 0);
    height = store.getInt(SECTION_OBJECT_VIEWER, VIEWER_HEIGHT, 0);
}

void ObjectViewerPlacement::write(ISettingsStore& store) const
{
    store.writeInt(SECTION_OBJECT_VIEWER, VIEWER_X, x);
    store.writeInt(SECTION_OBJECT_VIEWER, VIEWER_Y, y);
    store.writeInt(SECTION_OBJECT_VIEWER, VIEWER_WIDTH, width);
    store.writeInt(SECTION_OBJECT_VIEWER, VIEWER_HEIGHT, height);
}

static std::string recentKey(int n)
{
    char key[32];
    std::snprintf(key, sizeof key, RECENT_FILE_FORMAT, n);
    return key;
}

std::vector<std::string> readRecentFiles(ISettingsStore& store)
{
    std::vector<std::string> files;
    for (int n = 1; n <= RECENT_FILE_COUNT; ++n) {
        std::string path = store.getString(SECTION_RECENT_FILES, recentKey(n), "");
        if (!path.empty())
            files.push_back(path);
    }
    return files;
}

void writeRecentFiles(ISettingsStore& store, const std::vector<std::string>& files)
{
    for (int n = 1; n <= RECENT_FILE_COUNT; ++n) {
        if (n <= static_cast<int>(files.size()))
            store.writeString(SECTION_RECENT_FILES, recentKey(n), files[static_cast<size_t>(n - 1)]);
        else
            store.deleteKey(SECTION_RECENT_FILES, recentKey(n));
    }
}
