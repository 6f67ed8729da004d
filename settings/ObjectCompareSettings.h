#pragma once

#include "settings/SettingsStore.h"

#include <string>

// Section "OBJECTCOMPARE": the connections of the object comparison without their passwords.
namespace settingskeys {

inline constexpr const char* kSectionObjectCompare = "OBJECTCOMPARE";
inline constexpr const char* kCompareLicenceFile = "Lizenzdatei";
inline constexpr const char* kCompareNetType = "Netzwerktyp";
inline constexpr const char* kCompareServer = "Servername";
inline constexpr const char* kCompareUser = "User";
inline constexpr const char* kCompareProgramPath = "Programmpfad";

inline constexpr const char* kDefaultCompareLicenceFile = "c:\\tmp\\fin.flf";
inline constexpr const char* kDefaultCompareNetType = "netb";
inline constexpr const char* kDefaultCompareServer = "";
inline constexpr const char* kDefaultCompareUser = "";
inline constexpr const char* kDefaultCompareProgramPath = "c:\\fin_260";

} // namespace settingskeys

// The ten values the comparison view reads when it is first shown and writes at "compare Objects"
// and "mark Objects in DBs"; database 2's keys end in "2". Passwords are neither read nor written.
struct ObjectCompareSettings {
    // One database's stored texts: a connection without its password.
    struct Connection {
        std::string server;
        std::string netType;
        std::string licenceFile;
        std::string user;
        std::string programPath;
    };
    Connection database1;
    Connection database2;

    void read(ISettingsStore& store);
    void write(ISettingsStore& store) const;
};
