// The settings store of the desktop program keeps what it is given, byte for byte.
#include "GuiTestSupport.h"

#include "app/WxSettingsStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

using namespace guitest;

TEST(SettingsStore, ValuesWithEnvironmentVariablesComeBackVerbatim)
{
    const std::string file = tempPath("verbatim.ini");
    std::remove(file.c_str());
    const std::string values[] = {"$HOME", "${HOME}/x", "%HOME%", "c:\\tmp\\$USER\\split", "a\\b"};
    {
        CWxSettingsStore store(wxString::FromUTF8(file));
        for (size_t i = 0; i < std::size(values); ++i)
            store.writeString("Search", "Key" + std::to_string(i), values[i]);
    }
    CWxSettingsStore reopened(wxString::FromUTF8(file));
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(reopened.getString("Search", "Key" + std::to_string(i), "?"), values[i]);
    // A value written by hand into the file is read as it stands too.
    std::ofstream(file, std::ios::app) << "[Recent File List]\nFile1=$HOME/export.txt\n";
    CWxSettingsStore byHand(wxString::FromUTF8(file));
    EXPECT_EQ(byHand.getString("Recent File List", "File1", "?"), "$HOME/export.txt");
    std::remove(file.c_str());
}
