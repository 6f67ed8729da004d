#include "settings/WatchSettings.h"

#include <gtest/gtest.h>

namespace {

TEST(WatchSettings, IntervalIsAWholeNumberFrom5To3600)
{
    int seconds = 0;
    for (const char* refused : {"4", "3601", "0", "-5"})
        EXPECT_EQ(checkWatchInterval(refused, seconds), IntervalCheck::OutOfRange) << refused;
    for (const char* notWhole : {"", "5.5", "zwanzig", "99999999999"})
        EXPECT_EQ(checkWatchInterval(notWhole, seconds), IntervalCheck::NotWhole) << notWhole;
    EXPECT_EQ(seconds, 0);
    EXPECT_EQ(checkWatchInterval("5", seconds), IntervalCheck::Ok);
    EXPECT_EQ(seconds, 5);
    EXPECT_EQ(checkWatchInterval(" 3600 ", seconds), IntervalCheck::Ok);
    EXPECT_EQ(seconds, 3600);
}

TEST(WatchSettings, SectionWatchViewWithDefaultsAndNoPassword)
{
    CMemorySettingsStore store;
    WatchSettings settings;
    settings.read(store);
    EXPECT_EQ(settings.requestInterval, 20);
    EXPECT_EQ(settings.server, "");
    settings = WatchSettings{45, "c:\\watch.log", "c:\\nav", "netb", "ADMIN", "NAVSRV"};
    settings.write(store);
    EXPECT_EQ(store.getInt("WatchView", "RequestInterval", 0), 45);
    EXPECT_EQ(store.getString("WatchView", "ProtokollFileName", ""), "c:\\watch.log");
    EXPECT_EQ(store.getString("WatchView", "NavisionPath", ""), "c:\\nav");
    EXPECT_EQ(store.getString("WatchView", "Netzwerktyp", ""), "netb");
    EXPECT_EQ(store.getString("WatchView", "Benutzer", ""), "ADMIN");
    EXPECT_EQ(store.getString("WatchView", "Servername", ""), "NAVSRV");
    EXPECT_FALSE(store.has("WatchView", "Password"));
    store.writeInt("WatchView", "RequestInterval", 1);
    settings.read(store);
    EXPECT_EQ(settings.requestInterval, 20);
}

} // namespace
