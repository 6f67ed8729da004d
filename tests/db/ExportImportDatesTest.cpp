// The stand-in's import of an export, seen through the Object table: two-digit years.
#include "db/DatabaseSession.h"
#include "db/StandInFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// One table per date, numbered from 1, in the OEM layout with CR LF.
std::string exportWithDates(const std::vector<std::string>& dates)
{
    std::string text;
    for (size_t i = 0; i < dates.size(); ++i)
        text += "OBJECT Table " + std::to_string(i + 1) + " T\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n" +
                "    Date=" + dates[i] + ";\r\n    Time=12:00:00;\r\n  }\r\n}\r\n\r\n";
    return text;
}

} // namespace

TEST(ExportImportDates, TwoDigitYearsFrom30AreThe1900sBelow30The2000s)
{
    StandInFolder folder;
    MessageRecorder messages;
    std::ostringstream log;
    CDatabaseSession session(messages, log);
    const std::string database =
        folder.createDatabase("dates.db", exportWithDates({"01.01.30", "31.12.29", "31.12.99", "01.01.00"}));
    CDbObjectEntryArray entries;
    session.ReadObjectTable(entries, folder.localConnection(database));
    ASSERT_EQ(entries.count(), 4);
    EXPECT_EQ(entries[0].date, "1930-01-01");
    EXPECT_EQ(entries[1].date, "2029-12-31");
    EXPECT_EQ(entries[2].date, "1999-12-31");
    EXPECT_EQ(entries[3].date, "2000-01-01");
    EXPECT_TRUE(messages.shown.empty());
}
