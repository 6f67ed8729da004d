#include "analysis/AwareRules.h"
#include "analysis/OperationTable.h"
#include "results/ResultList.h"
#include "support/Catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rows(const CResultList& list)
{
    Rows out;
    for (int r = 0; r < list.GetRowCount(); ++r)
        out.push_back(list.GetRow(r).cells);
    return out;
}

// Tables with letter-case uses of a field and of SumIndexFields; a publisher codeunit; a codeunit
// of subscribers (attributes with quotes and commas, several attribute lines, an unknown one); an
// upgrade codeunit; a test codeunit with handlers; a test runner.
const char* const kNewerExport = R"EXPORT(OBJECT Table 18 Customer
{
  OBJECT-PROPERTIES
  {
    Date=05.07.23;
    Time=10:06:14 PM;
  }
  PROPERTIES
  {
  }
  FIELDS
  {
    { 1   ;   ;No.                 ;Code20         }
    { 20  ;   ;Credit Limit        ;Decimal        }
    { 30  ;   ;Spare Field         ;Text30         }
    { 40  ;   ;Balance             ;Decimal       ;FieldClass=FlowField;
                                                   CalcFormula=Sum("cust. ledger entry".amount WHERE (Customer No.=FIELD(No.))) }
  }
  KEYS
  {
    {    ;No.                                     ;Clustered=Yes }
  }
  CODE
  {

    BEGIN
    END.
  }
}

OBJECT Table 21 Cust. Ledger Entry
{
  OBJECT-PROPERTIES
  {
    Date=09/06/18;
    Time=[ 4:41:14 PM];
  }
  PROPERTIES
  {
  }
  FIELDS
  {
    { 1   ;   ;Entry No.           ;Integer        }
    { 3   ;   ;Customer No.        ;Code20         }
    { 13  ;   ;Amount              ;Decimal        }
    { 14  ;   ;Debit               ;Decimal        }
    { 15  ;   ;Credit              ;Decimal        }
  }
  KEYS
  {
    {    ;Entry No.                               ;Clustered=Yes }
    {    ;Customer No.                            ;SumIndexFields=Amount,Debit,Credit }
  }
  CODE
  {

    BEGIN
    END.
  }
}

OBJECT Codeunit 50000 Sales Events
{
  OBJECT-PROPERTIES
  {
    Date=01/21/14;
    Time=12:00:00;
  }
  PROPERTIES
  {
    OnRun=BEGIN
            Post;
          END;

  }
  CODE
  {
    VAR
      Counter@1000 : Integer;
      Idle@1001 : Integer;

    [Integration]
    PROCEDURE OnBeforePost@1(VAR Handled@1000 : Boolean);
    BEGIN
    END;

    [Integration(TRUE)]
    PROCEDURE OnAfterPost@2();
    BEGIN
    END;

    [Business]
    PROCEDURE OnCheckLimit@3();
    BEGIN
    END;

    [External]
    PROCEDURE GetVersion@4() : Integer;
    BEGIN
      EXIT(COUNTER);
    END;

    [TryFunction]
    [Internal]
    PROCEDURE TryPost@5();
    VAR
      Amount@1000 : Decimal;
      Spare@1001 : Integer;
    BEGIN
      AMOUNT := 0;
    END;

    PROCEDURE CalcTotal@7();
    BEGIN
    END;

    LOCAL PROCEDURE Post@6();
    VAR
      Cust@1000 : Record 18;
      CustLedgEntry@1001 : Record 21;
      Handled@1002 : Boolean;
    BEGIN
      OnBeforePost(Handled);
      calctotal;
      Cust."CREDIT LIMIT" := 0;
      CustLedgEntry.CALCSUMS(DEBIT);
    END;

    BEGIN
    END.
  }
}

OBJECT Codeunit 50001 Sales Subscribers
{
  OBJECT-PROPERTIES
  {
    Date=21-12-17;
    Time=12:00:00;
  }
  PROPERTIES
  {
    EventSubscriberInstance=Static-Automatic;
    OnRun=BEGIN
          END;

  }
  CODE
  {

    [EventSubscriber(Codeunit,50000,OnBeforePost)]
    LOCAL PROCEDURE HandleBeforePost@1(VAR Handled@1000 : Boolean);
    BEGIN
    END;

    [EventSubscriber(Table,18,OnAfterInsertEvent,"",Skip,Skip)]
    LOCAL PROCEDURE CustomerInserted@2(VAR Rec@1000 : Record 18;RunTrigger@1001 : Boolean);
    BEGIN
    END;

    [Normal]
    [EventSubscriber(Page,9177,OnBeforeActionEvent,"Create New Company, Now")]
    LOCAL PROCEDURE CreateCompany@3(VAR Rec@1000 : Record 2000000006);
    BEGIN
    END;

    [EventSubscriber(codeunit,50000,oncheckLimit)]
    LOCAL PROCEDURE CheckLimit@4();
    BEGIN
    END;

    [EventSubscriber(Codeunit,50009,OnAfterPost)]
    LOCAL PROCEDURE ElsewherePosted@5();
    BEGIN
    END;

    [Obsolete]
    LOCAL PROCEDURE Leftover@6();
    BEGIN
    END;

    BEGIN
    END.
  }
}

OBJECT Codeunit 50002 Upgrade Sales
{
  OBJECT-PROPERTIES
  {
    Date=21-12-17;
    Time=12:00:00;
  }
  PROPERTIES
  {
    Subtype=Upgrade;
    OnRun=BEGIN
          END;

  }
  CODE
  {

    [UpgradePerCompany]
    PROCEDURE UpgradeCustomers@1();
    BEGIN
    END;

    [UpgradePerDatabase]
    PROCEDURE UpgradeSetup@2();
    BEGIN
    END;

    [TableSyncSetup]
    PROCEDURE SyncSetup@3(VAR TableSynchSetup@1000 : Record 2000000135);
    BEGIN
    END;

    [CheckPrecondition]
    PROCEDURE CheckVersion@4();
    BEGIN
    END;

    [ServiceEnabled]
    PROCEDURE Ping@5();
    BEGIN
    END;

    BEGIN
    END.
  }
}

OBJECT Codeunit 50100 Sales Tests
{
  OBJECT-PROPERTIES
  {
    Date=21-12-17;
    Time=12:00:00;
  }
  PROPERTIES
  {
    Subtype=Test;
    HandlerFunctions=confirmyes,ShowMessage;
    OnRun=BEGIN
          END;

  }
  CODE
  {

    [Test]
    PROCEDURE TestPosting@1();
    BEGIN
    END;

    [Test]
    [HandlerFunctions(choosefirst)]
    PROCEDURE TestMenu@2();
    BEGIN
    END;

    [ConfirmHandler]
    PROCEDURE ConfirmYes@3(Question@1000 : Text;VAR Reply@1001 : Boolean);
    BEGIN
    END;

    [MessageHandler]
    PROCEDURE ShowMessage@4(Msg@1000 : Text);
    BEGIN
    END;

    [StrMenuHandler]
    PROCEDURE ChooseFirst@5(Options@1000 : Text;VAR Choice@1001 : Integer;Instruction@1002 : Text);
    BEGIN
    END;

    PROCEDURE CreateCustomer@6();
    BEGIN
    END;

    BEGIN
    END.
  }
}

OBJECT Codeunit 50101 Sales Test Runner
{
  OBJECT-PROPERTIES
  {
    Date=21-12-17;
    Time=12:00:00;
  }
  PROPERTIES
  {
    Subtype=TestRunner;
    OnRun=BEGIN
          END;

  }
  CODE
  {

    [Test]
    PROCEDURE RunAll@1();
    BEGIN
    END;

    BEGIN
    END.
  }
}
)EXPORT";

const std::string kEvents = "Codeunit 50000 Sales Events";
const std::string kSubscribers = "Codeunit 50001 Sales Subscribers";
const std::string kUpgrade = "Codeunit 50002 Upgrade Sales";
const std::string kTests = "Codeunit 50100 Sales Tests";
const std::string kRunner = "Codeunit 50101 Sales Test Runner";

std::vector<std::string> functionRow(const std::string& object, const std::string& signature, const std::string& sort)
{
    return {object, "", signature, sort, "", signature};
}

// Runs one of the unused analyses through its operation table row, as both front ends do.
struct AwareRun {
    Catalogue e{kNewerExport};
    CResultList list;
    RecordingStatus status;

    Rows run(const OperationDef& row, bool aware)
    {
        e.manager->setStatusSink(&status);
        AnalysisArgs args;
        if (aware)
            args.flags.push_back(kAwareOption);
        row.run(*e.manager, list, &status, args);
        return rows(list);
    }
};

} // namespace

TEST(AwareRules, AttributesAboveADeclaration)
{
    EXPECT_EQ(aware::attributeArguments("[EventSubscriber(Page,9177,OnBeforeActionEvent,\"Create New Company, Now\")]"),
              (std::vector<std::string>{"Page", "9177", "OnBeforeActionEvent", "Create New Company, Now"}));
    EXPECT_EQ(aware::attributeArguments("[EventSubscriber(Codeunit,1,OnAfterCompanyOpen,\"\",Skip,Skip)]"),
              (std::vector<std::string>{"Codeunit", "1", "OnAfterCompanyOpen", "", "Skip", "Skip"}));
    EXPECT_EQ(aware::attributeName("[Integration(TRUE)]"), "Integration");
    EXPECT_EQ(aware::attributeName("[External]"), "External");

    Catalogue c(kNewerExport);
    CObjectRecord& subscribers = c.byNumber(OT_CODEUNIT, 50001);
    subscribers.ensureCode();
    ASSERT_EQ(subscribers.procedures.count(), 6);
    // Several attribute lines, top to bottom; the procedure before ends them.
    EXPECT_EQ(aware::procedureAttributes(subscribers.procedures[2]),
              (std::vector<std::string>{"[Normal]",
                                        "[EventSubscriber(Page,9177,OnBeforeActionEvent,\"Create New Company, Now\")]"}));
    // The first procedure's attributes end at the blank line after "CODE {".
    EXPECT_EQ(aware::procedureAttributes(subscribers.procedures[0]),
              (std::vector<std::string>{"[EventSubscriber(Codeunit,50000,OnBeforePost)]"}));
    CObjectRecord& runner = c.byNumber(OT_CODEUNIT, 50101);
    EXPECT_FALSE(aware::testCodeunitOf(runner).isTest);
    const aware::TestCodeunit tests = aware::testCodeunitOf(c.byNumber(OT_CODEUNIT, 50100));
    EXPECT_TRUE(tests.isTest);
    EXPECT_EQ(tests.handlers, (std::set<std::string>{"choosefirst", "confirmyes", "showmessage"}));

    const std::set<aware::EventKey> events = aware::subscribedEvents(c.whole());
    EXPECT_EQ(events.size(), 5u);
    EXPECT_EQ(events.count({"page", 9177, "onbeforeactionevent"}), 1u);
    EXPECT_EQ(events.count({"codeunit", 50000, "onchecklimit"}), 1u);
}

TEST(AwareRules, UnusedFunctionsDefaultRowsStayTextual)
{
    AwareRun r;
    const Rows expected = {
        functionRow(kEvents, "OnCheckLimit@3()", "Proc. "),
        functionRow(kEvents, "GetVersion@4() : Integer", "Proc. "),
        functionRow(kEvents, "TryPost@5()", "Proc. "),
        functionRow(kEvents, "CalcTotal@7()", "Proc. "),
        functionRow(kSubscribers, "HandleBeforePost@1(VAR Handled@1000 : Boolean)", "locale Proc. "),
        functionRow(kSubscribers, "CustomerInserted@2(VAR Rec@1000 : Record 18;RunTrigger@1001 : Boolean)", "locale Proc. "),
        functionRow(kSubscribers, "CreateCompany@3(VAR Rec@1000 : Record 2000000006)", "locale Proc. "),
        functionRow(kSubscribers, "CheckLimit@4()", "locale Proc. "),
        functionRow(kSubscribers, "ElsewherePosted@5()", "locale Proc. "),
        functionRow(kSubscribers, "Leftover@6()", "locale Proc. "),
        functionRow(kUpgrade, "UpgradeCustomers@1()", "Proc. "),
        functionRow(kUpgrade, "UpgradeSetup@2()", "Proc. "),
        functionRow(kUpgrade, "SyncSetup@3(VAR TableSynchSetup@1000 : Record 2000000135)", "Proc. "),
        functionRow(kUpgrade, "CheckVersion@4()", "Proc. "),
        functionRow(kUpgrade, "Ping@5()", "Proc. "),
        functionRow(kTests, "TestPosting@1()", "Proc. "),
        functionRow(kTests, "TestMenu@2()", "Proc. "),
        functionRow(kTests, "ConfirmYes@3(Question@1000 : Text;VAR Reply@1001 : Boolean)", "Proc. "),
        functionRow(kTests, "ChooseFirst@5(Options@1000 : Text;VAR Choice@1001 : Integer;Instruction@1002 : Text)", "Proc. "),
        functionRow(kTests, "CreateCustomer@6()", "Proc. "),
        functionRow(kRunner, "RunAll@1()", "Proc. "),
    };
    EXPECT_EQ(r.run(unusedFunctionsOperation(), false), expected);
    EXPECT_EQ(r.e.manager->awareSummary(), "");
    EXPECT_EQ(r.status.lines.back(), "6 von 7 Name: " + kRunner);
}

TEST(AwareRules, AnUnusedEventWithoutSubscriberIsListedOnce)
{
    Catalogue c(R"EXPORT(OBJECT Codeunit 50000 Lone Events
{
  CODE
  {

    [Integration]
    PROCEDURE OnNobody@1();
    BEGIN
    END;

    BEGIN
    END.
  }
}
)EXPORT");
    CResultList list;
    AnalysisArgs args;
    args.flags = {kAwareOption};
    unusedFunctionsOperation().run(*c.manager, list, nullptr, args);
    EXPECT_EQ(rows(list), Rows{functionRow("Codeunit 50000 Lone Events", "OnNobody@1()", "event without subscriber")});
    EXPECT_EQ(c.manager->awareSummary(), "1 textual, 0 event subscribers, 0 platform, 0 test, 0 letter case: 0 shown, "
                                         "0 external, 1 events without subscriber");
}

TEST(AwareRules, UnusedFunctionsAwareLeavesOutWhatThePlatformCalls)
{
    AwareRun r;
    const Rows expected = {
        functionRow(kEvents, "GetVersion@4() : Integer", "external"),
        functionRow(kEvents, "TryPost@5()", "Proc. "),
        functionRow(kSubscribers, "Leftover@6()", "locale Proc. "),
        functionRow(kTests, "CreateCustomer@6()", "Proc. "),
        functionRow(kRunner, "RunAll@1()", "Proc. "),
        // The subscriber of 50009's OnAfterPost does not subscribe to 50000's.
        functionRow(kEvents, "OnAfterPost@2()", "event without subscriber"),
    };
    EXPECT_EQ(r.run(unusedFunctionsOperation(), true), expected);
    const std::string summary = "21 textual, 5 event subscribers, 5 platform, 4 test, 2 letter case: 5 shown, "
                                "1 external, 1 events without subscriber";
    EXPECT_EQ(r.e.manager->awareSummary(), summary);
    EXPECT_EQ(r.status.lines.back(), summary);
    // Every row opens its declaration, the event row too.
    ASSERT_EQ(r.e.manager->results.count(), 6);
    EXPECT_EQ(r.e.manager->results[5].position, r.e.pos("OnAfterPost@2()"));
    EXPECT_EQ(r.list.GetItemData(5), 5);

    // A later run without the option is textual again.
    EXPECT_EQ(r.run(unusedFunctionsOperation(), false).size(), 21u);
    EXPECT_EQ(r.e.manager->awareSummary(), "");
}

TEST(AwareRules, VariablesFieldsAndSumIndexFieldsCompareWithoutLetterCase)
{
    AwareRun r;
    const std::string tryPost = "TryPost@5()";
    EXPECT_EQ(r.run(unusedVariablesOperation(), false), (Rows{
                                                            {kEvents, "", "Amount", "Proc. ", "", tryPost},
                                                            {kEvents, "", "Spare", "Proc. ", "", tryPost},
                                                            {kEvents, "", "Counter", "global Var", ""},
                                                            {kEvents, "", "Idle", "global Var", ""},
                                                        }));
    EXPECT_EQ(r.run(unusedVariablesOperation(), true), (Rows{
                                                           {kEvents, "", "Spare", "Proc. ", "", tryPost},
                                                           {kEvents, "", "Idle", "global Var", ""},
                                                       }));
    EXPECT_EQ(r.e.manager->awareSummary(), "4 textual, 2 letter case: 2 shown");

    const std::string customer = "Table 18 Customer";
    EXPECT_EQ(r.run(unusedFieldsOperation(), false), (Rows{
                                                         {customer, "", "20", "Credit Limit", "", ""},
                                                         {customer, "", "30", "Spare Field", "", ""},
                                                         {customer, "", "40", "Balance", "", ""},
                                                     }));
    EXPECT_EQ(r.run(unusedFieldsOperation(), true), (Rows{
                                                        {customer, "", "30", "Spare Field", "", ""},
                                                        {customer, "", "40", "Balance", "", ""},
                                                    }));
    EXPECT_EQ(r.status.lines.back(), "3 textual, 1 letter case: 2 shown");

    const std::string ledger = "Table 21 Cust. Ledger Entry";
    EXPECT_EQ(r.run(unusedSumIndexFieldsOperation(), false), (Rows{
                                                                 {ledger, "Active", ";Customer No.", ";Amount"},
                                                                 {ledger, "Active", ";Customer No.", ";Debit"},
                                                                 {ledger, "Active", ";Customer No.", ";Credit"},
                                                             }));
    EXPECT_EQ(r.run(unusedSumIndexFieldsOperation(), true), (Rows{
                                                                {ledger, "Active", ";Customer No.", ";Credit"},
                                                            }));
    EXPECT_EQ(r.e.manager->awareSummary(), "3 textual, 2 letter case: 1 shown");
}

namespace {

// An export of newer style: codeunits that publish events, subscribe to them (and to table and
// page events) in the attribute forms of real exports, call one another and leave some procedures
// unused.
std::string newerStyleExport(int codeunits)
{
    const char* const subscriberForms[] = {
        "[EventSubscriber(Codeunit,%d,OnEvent%d)]",
        "[EventSubscriber(Codeunit,%d,OnEvent%d,\"\",Skip,Skip)]",
        "[EventSubscriber(Table,%d,OnAfterInsertEvent%d)]",
        "[EventSubscriber(Page,%d,OnBeforeActionEvent%d,\"Create New Company, %%1\")]",
    };
    std::string out;
    char line[200];
    for (int c = 0; c < codeunits; ++c) {
        const int number = 60000 + c;
        out += "OBJECT Codeunit " + std::to_string(number) + " Newer " + std::to_string(c) +
               "\n{\n  OBJECT-PROPERTIES\n  {\n    Date=05.07.23;\n    Time=10:06:14 PM;\n  }\n  PROPERTIES\n  {\n"
               "    OnRun=BEGIN\n            Worker" + std::to_string(c) + "A;\n          END;\n\n  }\n  CODE\n  {\n";
        int id = 1;
        auto procedure = [&](const std::vector<std::string>& attributes, bool local, const std::string& name,
                             const std::string& body) {
            out += "\n";
            for (const std::string& attribute : attributes)
                out += "    " + attribute + "\n";
            out += std::string("    ") + (local ? "LOCAL " : "") + "PROCEDURE " + name + "@" + std::to_string(id++) +
                   "();\n    BEGIN\n" + body + "    END;\n";
        };
        procedure({(c % 2) ? "[Integration(TRUE)]" : "[Integration]"}, false, "OnEvent" + std::to_string(c), "");
        procedure({}, false, "Worker" + std::to_string(c) + "A",
                  "      OnEvent" + std::to_string(c) + ";\n");
        procedure({}, c % 3 == 0, "Unused" + std::to_string(c), "");
        for (int s = 0; s < 3; ++s) {
            const int target = (c + s) % codeunits;
            std::snprintf(line, sizeof line, subscriberForms[(c + s) % 4], 60000 + target, target);
            std::vector<std::string> attributes{line};
            if (s == 1)
                attributes.insert(attributes.begin(), "[Normal]");
            procedure(attributes, true, "Subscriber" + std::to_string(c) + "x" + std::to_string(s), "");
        }
        procedure({"[External]"}, false, "Api" + std::to_string(c), "");
        out += "\n    BEGIN\n    END.\n  }\n}\n\n";
    }
    return out;
}

// The lines directly above the declaration of signature hold an [EventSubscriber attribute.
bool subscriberDeclaration(const std::string& text, const std::string& signature)
{
    size_t declaration = text.find("PROCEDURE " + signature);
    size_t previousEnd = text.rfind("END;", declaration);
    return text.substr(previousEnd, declaration - previousEnd).find("[EventSubscriber") != std::string::npos;
}

} // namespace

TEST(AwareRules, GeneratedNewerExportListsNoEventSubscriber)
{
    Catalogue e(newerStyleExport(40));
    CResultList list;
    AnalysisArgs args;
    unusedFunctionsOperation().run(*e.manager, list, nullptr, args);
    int textualSubscribers = 0;
    for (const auto& row : rows(list))
        textualSubscribers += subscriberDeclaration(e.whole(), row[2]);
    EXPECT_EQ(textualSubscribers, 120);

    args.flags.push_back(kAwareOption);
    unusedFunctionsOperation().run(*e.manager, list, nullptr, args);
    int unused = 0, external = 0;
    for (const auto& row : rows(list)) {
        EXPECT_FALSE(subscriberDeclaration(e.whole(), row[2])) << row[2];
        unused += row[2].rfind("Unused", 0) == 0;
        external += row[3] == "external";
    }
    EXPECT_EQ(unused, 40);
    EXPECT_EQ(external, 40);
    EXPECT_EQ(list.GetRowCount(), 100); // the events of codeunits 2, 3, 6, 7 ... have no subscriber
    EXPECT_EQ(e.manager->awareSummary(), "200 textual, 120 event subscribers, 0 platform, 0 test, 0 letter case: 80 shown, "
                                         "40 external, 20 events without subscriber");
}

// Every letter folds, the first and last of the alphabet too: names that differ only in the case of
// an A or a Z are one name to the C/AL-aware rules.
TEST(AwareRules, LetterCaseFoldsEveryLetterFromAToZ)
{
    Catalogue c(R"EXPORT(OBJECT Codeunit 50100 Letters
{
  OBJECT-PROPERTIES
  {
    Date=01.01.20;
    Time=12:00:00;
  }
  PROPERTIES
  {
    OnRun=BEGIN
            LAZY;
            zebra;
            AZURE;
          END;

  }
  CODE
  {
    VAR
      Zone@1000 : Integer;

    PROCEDURE Lazy@1();
    VAR
      Maze@1001 : Integer;
    BEGIN
      MAZE := 1;
      ZONE := MAZE;
    END;

    PROCEDURE Zebra@2();
    BEGIN
    END;

    PROCEDURE azure@3();
    BEGIN
    END;

    PROCEDURE Idle@4();
    BEGIN
    END;

    BEGIN
    END.
  }
}
)EXPORT");
    CResultList list;
    for (const OperationDef* row : {&unusedFunctionsOperation(), &unusedVariablesOperation()}) {
        AnalysisArgs args;
        args.flags = {kAwareOption};
        row->run(*c.manager, list, nullptr, args);
        std::vector<std::string> names;
        for (const auto& cells : rows(list))
            names.push_back(cells.size() > 2 ? cells[2] : "");
        EXPECT_EQ(names, row == &unusedFunctionsOperation() ? std::vector<std::string>{"Idle@4()"}
                                                            : std::vector<std::string>{})
            << row->command;
    }
}
