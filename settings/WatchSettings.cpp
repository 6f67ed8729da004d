#include "settings/WatchSettings.h"

#include "layout/DialogValues.h"

namespace {
const char* const kSection = "WatchView";
const int kDefaultInterval = 20;
} // namespace

void WatchSettings::read(ISettingsStore& store)
{
    requestInterval = store.getInt(kSection, "RequestInterval", kDefaultInterval);
    // A value edited by hand outside the dialog's limits would make the timer spin or stall.
    if (requestInterval < kWatchIntervalMin || requestInterval > kWatchIntervalMax)
        requestInterval = kDefaultInterval;
    logFileName = store.getString(kSection, "ProtokollFileName", "");
    programPath = store.getString(kSection, "NavisionPath", "");
    netType = store.getString(kSection, "Netzwerktyp", "");
    user = store.getString(kSection, "Benutzer", "");
    server = store.getString(kSection, "Servername", "");
}

void WatchSettings::write(ISettingsStore& store) const
{
    store.writeInt(kSection, "RequestInterval", requestInterval);
    store.writeString(kSection, "ProtokollFileName", logFileName);
    store.writeString(kSection, "NavisionPath", programPath);
    store.writeString(kSection, "Netzwerktyp", netType);
    store.writeString(kSection, "Benutzer", user);
    store.writeString(kSection, "Servername", server);
}

IntervalCheck checkWatchInterval(const std::string& text, int& seconds)
{
    int value = 0;
    if (!parseSignedField(text, value))
        return IntervalCheck::NotWhole;
    if (value < kWatchIntervalMin || value > kWatchIntervalMax)
        return IntervalCheck::OutOfRange;
    seconds = value;
    return IntervalCheck::Ok;
}
