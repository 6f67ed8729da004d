#include "analysis/OperationTable.h"
#include "cli/CommandHelp.h"

#include "results/ResultList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

Outcome trialRun(CObjektManager&, CResultList& list, IProgress*, const AnalysisArgs&)
{
    list.AddColumn("Trial", 0, 100);
    return {};
}

const OperationDef kTrial{
    .commandId = rid::ID_FIRST_OWN_COMMAND,
    .command = "trial-analysis",
    .summary = "the trial operation's summary",
    .options = {{"--trial-switch", "the trial operation's own switch"}},
    .lastAction = "Trial",
    .menu = {"search unused ...", "trial entry", 22},
    .check = CheckUse::Always,
    .columns = {{"Trial", 100}},
    .run = trialRun,
};

OperationRows tableWithTrial()
{
    OperationRows rows = operationTable();
    rows.push_back(&kTrial);
    return rows;
}

bool contains(const OperationRows& rows, const OperationDef* row)
{
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

} // namespace

// One row added to the table is all it takes: the menu, the help, the man page and `check` find
// it (bash completion reads the help). The GUI test builds the menu itself from these groups.
TEST(TrialOperation, OneRowPutsTheOperationIntoMenuHelpManPageAndCheck)
{
    const OperationRows rows = tableWithTrial();

    bool inMenu = false;
    for (const AnalysesMenuGroup& group : analysesMenuLayout(rows)) {
        if (group.submenu == nullptr || std::strcmp(group.submenu, "search unused ...") != 0)
            continue;
        ASSERT_GE(group.entries.size(), 4u);
        // Position 22: after "variables" (22 too, earlier in the table), before "functions" (23).
        EXPECT_EQ(group.entries[3], &kTrial);
        inMenu = contains(group.entries, &kTrial);
    }
    EXPECT_TRUE(inMenu);

    const std::vector<CliCommandHelp> help = cliCommandHelp(rows);
    const std::string general = cliGeneralHelp(help);
    const size_t line = general.find("\n  trial-analysis ");
    ASSERT_NE(line, std::string::npos) << general;
    EXPECT_EQ(general.substr(general.find_first_not_of(' ', line + 17), 30), "the trial operation's summary\n");
    auto own = std::find_if(help.begin(), help.end(), [](const CliCommandHelp& c) { return c.name == kTrial.command; });
    ASSERT_NE(own, help.end());
    EXPECT_NE(cliCommandHelpText(*own).find("  --trial-switch"), std::string::npos);

    const std::string page = manPageWithOperations(".SH COMMANDS\n.\\\" operation commands\n.TP\n.B check\n"
                                                   "Runs every analysis\n.\\\" check analyses\nor those\n",
                                                   rows);
    EXPECT_NE(page.find(".TP\n.B trial\\-analysis\nThe trial operation's summary.\n"), std::string::npos) << page;
    EXPECT_NE(page.find("check\\-forms, trial\\-analysis),\nor those"), std::string::npos) << page;

    EXPECT_TRUE(contains(checkedByDefault(rows), &kTrial));
    EXPECT_FALSE(contains(checkedByDefault(rows), &textSearchOperation()));
}

// The menu keeps the captions and order it had when it was written by hand.
TEST(TrialOperation, TheTableGivesTheSourceAnalysesMenu)
{
    std::string menu;
    for (const AnalysesMenuGroup& group : analysesMenuLayout(operationTable())) {
        menu += group.submenu ? std::string(group.submenu) + ":" : std::string();
        for (const OperationDef* row : group.entries)
            menu += std::string(" ") + row->menu.caption + ";";
        menu += "\n";
    }
    EXPECT_EQ(menu, "Analyse sourceproblems: field reference problem; table reference problem; local = global "
                    "Variables; once used variables; Missing PageName Translations;\n"
                    "search unused ...: sum index fields; table fields; variables; functions;\n"
                    "Object synchronisation: analyse control und fct-IDs; export form/report/dataport code; split "
                    "Objects to separat files ...;\n"
                    " Check Forms;\n");
}
