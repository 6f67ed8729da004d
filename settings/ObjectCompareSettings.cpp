#include "settings/ObjectCompareSettings.h"

using namespace settingskeys;

namespace {

void readConnection(ISettingsStore& store, const std::string& suffix, DatabaseConnection& connection)
{
    auto get = [&](const char* key, const char* fallback) {
        return store.getString(SECTION_OBJECT_COMPARE, key + suffix, fallback);
    };
    connection.licenceFile = get(COMPARE_LICENCE_FILE, DEFAULT_COMPARE_LICENCE_FILE);
    connection.netType = get(COMPARE_NET_TYPE, DEFAULT_COMPARE_NET_TYPE);
    connection.server = get(COMPARE_SERVER, DEFAULT_COMPARE_SERVER);
    connection.user = get(COMPARE_USER, DEFAULT_COMPARE_USER);
    connection.programPath = get(COMPARE_PROGRAM_PATH, DEFAULT_COMPARE_PROGRAM_PATH);
}

void writeConnection(ISettingsStore& store, const std::string& suffix, const DatabaseConnection& connection)
{
    auto put = [&](const char* key, const std::string& value) {
        store.writeString(SECTION_OBJECT_COMPARE, key + suffix, value);
    };
    put(COMPARE_LICENCE_FILE, connection.licenceFile);
    put(COMPARE_NET_TYPE, connection.netType);
    put(COMPARE_SERVER, connection.server);
    put(COMPARE_USER, connection.user);
    put(COMPARE_PROGRAM_PATH, connection.programPath);
}

} // namespace

void ObjectCompareSettings::read(ISettingsStore& store)
{
    readConnection(store, "", database1);
    readConnection(store, "2", database2);
}

void ObjectCompareSettings::write(ISettingsStore& store) const
{
    writeConnection(store, "", database1);
    writeConnection(store, "2", database2);
}
