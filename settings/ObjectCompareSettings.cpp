#include "settings/ObjectCompareSettings.h"

using namespace settingskeys;

namespace {

void readConnection(ISettingsStore& store, const std::string& suffix, ObjectCompareSettings::Connection& connection)
{
    auto get = [&](const char* key, const char* fallback) {
        return store.getString(kSectionObjectCompare, key + suffix, fallback);
    };
    connection.licenceFile = get(kCompareLicenceFile, kDefaultCompareLicenceFile);
    connection.netType = get(kCompareNetType, kDefaultCompareNetType);
    connection.server = get(kCompareServer, kDefaultCompareServer);
    connection.user = get(kCompareUser, kDefaultCompareUser);
    connection.programPath = get(kCompareProgramPath, kDefaultCompareProgramPath);
}

void writeConnection(ISettingsStore& store, const std::string& suffix, const ObjectCompareSettings::Connection& connection)
{
    auto put = [&](const char* key, const std::string& value) {
        store.writeString(kSectionObjectCompare, key + suffix, value);
    };
    put(kCompareLicenceFile, connection.licenceFile);
    put(kCompareNetType, connection.netType);
    put(kCompareServer, connection.server);
    put(kCompareUser, connection.user);
    put(kCompareProgramPath, connection.programPath);
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
