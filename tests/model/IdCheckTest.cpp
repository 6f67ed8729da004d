#include "support/Catalogue.h"
#include "support/CustomerExport.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

void addProcedure(CObjectRecord& record, const std::string& signature, int id, bool local = false)
{
    CProcedure procedure;
    procedure.signature = signature;
    procedure.id = id;
    procedure.isLocal = local;
    record.procedures.add(procedure);
}

void addControl(CObjectRecord& record, int id)
{
    CControl control;
    control.id = id;
    record.controls.add(control);
}

} // namespace

TEST(IdCheck, DuplicateProcedureIdNamesTheLaterProcedure)
{
    CObjectRecord record;
    addProcedure(record, "A@1()", 1);
    addProcedure(record, "B@1()", 1);
    addProcedure(record, "NoId()", -1);
    addProcedure(record, "Other()", -1);
    std::vector<std::string> lines{"stale"};
    record.checkDuplicateIds(lines);
    EXPECT_EQ(lines, std::vector<std::string>{"Fehler: ProcedureID 1 B MaxFktID = 1"});
}

TEST(IdCheck, ProcedureLinesFirstThenControlLinesEachByAscendingId)
{
    CObjectRecord record;
    addProcedure(record, "Late@7()", 7);
    addProcedure(record, "Early@2()", 2);
    addProcedure(record, "Again@7()", 7);
    addProcedure(record, "Twice@2()", 2, true);
    for (int id : {5, 1000000000, 5, 3, 5, 0, 0})
        addControl(record, id);
    std::vector<std::string> lines;
    const auto start = std::chrono::steady_clock::now();
    record.checkDuplicateIds(lines);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Fehler: ProcedureID 2 Twice MaxFktID = 7",
                         "Fehler: ProcedureID 7 Again MaxFktID = 7",
                         "Fehler: ControlID 5 MaxFktID = 1000000000",
                         "Fehler: ControlID 5 MaxFktID = 1000000000",
                     }));
    EXPECT_EQ(record.maxProcedureId(), 7);
    EXPECT_EQ(record.maxControlId(), 1000000000);
}

TEST(IdCheck, LocalProcedureRepeatingAGlobalIdIsReported)
{
    Catalogue e(kCustomerExport);
    CObjectRecord& form = e.byNumber(OT_FORM, 18);
    form.ensureTriggerVars();
    std::vector<std::string> lines;
    form.checkDuplicateIds(lines);
    EXPECT_EQ(lines, std::vector<std::string>{"Fehler: ProcedureID 1 Check MaxFktID = 1"});

    CObjectRecord empty;
    empty.checkDuplicateIds(lines);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(empty.maxProcedureId(), 0);
    EXPECT_EQ(empty.maxControlId(), 0);
}
