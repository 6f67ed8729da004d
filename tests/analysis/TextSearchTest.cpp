#include "model/WorkerThreads.h"
#include "results/ResultList.h"
#include "support/SmallExport.h"

#include <gtest/gtest.h>

namespace {
std::vector<int> hitPositions(CObjektManager& m)
{
    std::vector<int> out;
    for (const CResultLocation& loc : m.results)
        out.push_back(loc.position);
    return out;
}
} // namespace

TEST(TextSearch, ModesDifferInCaseAndRegex)
{
    LoadedExport e(smallExport());
    CResultList list;
    e.manager->searchText("customer", list, nullptr, false, false);
    const int normal = list.GetRowCount();
    EXPECT_GE(normal, 5);
    e.manager->searchText("customer", list, nullptr, false, true);
    EXPECT_EQ(list.GetRowCount(), 0);
    e.manager->searchText("Customer", list, nullptr, false, true);
    EXPECT_EQ(list.GetRowCount(), normal);
    e.manager->searchText("CUSTOMER", list, nullptr, false, false);
    EXPECT_EQ(list.GetRowCount(), normal);
    e.manager->searchText("Cust[a-z]+", list, nullptr, true, true);
    EXPECT_GT(list.GetRowCount(), 0);
    e.manager->searchText("Cust(", list, nullptr, true, true); // does not compile
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(list.GetColumnCount(), 5);
    EXPECT_EQ(list.GetColumn(4).heading, "Environment");
}

TEST(TextSearch, RowsNameObjectFunctionAndEnvironment)
{
    LoadedExport e(smallExport());
    CResultList list;
    e.manager->searchText("Limit := Amount", list, nullptr, false, true);
    ASSERT_EQ(list.GetRowCount(), 1);
    CResultRow row = list.GetRow(0);
    EXPECT_EQ(row.cells[0], "");
    EXPECT_EQ(row.cells[1], "Table 18 Customer");
    EXPECT_EQ(row.cells[2], "Proc CheckCredit@1(VAR Amount@1000 : Decimal) : Boolean");
    EXPECT_EQ(row.cells[3], "");
    EXPECT_EQ(row.itemData, 0);
    EXPECT_EQ(row.icon, 163);
    EXPECT_EQ(e.manager->results[0].term, "Limit := Amount");
}

TEST(TextSearch, HitsAdvanceByTheTermLength)
{
    LoadedExport e("OBJECT Codeunit 1 A\r\n{ aaaa =Field1 then =Field50000 =Field1 x =Field2 }\r\n");
    CResultList list;
    e.manager->searchText("aa", list, nullptr, false, true);
    const int a = static_cast<int>(e.whole().find("aaaa"));
    EXPECT_EQ(hitPositions(*e.manager), (std::vector<int>{a, a + 2}));
    // The next search starts 11 characters (the pattern's length) behind a hit, so =Field50000
    // counts once and =Field2, ten characters behind =Field1, is not found.
    e.manager->searchText("=Field[0-9]", list, nullptr, true, true);
    EXPECT_EQ(list.GetRowCount(), 3);
    e.manager->searchText("", list, nullptr, false, true);
    EXPECT_EQ(list.GetRowCount(), 0);
    e.manager->searchText("", list, nullptr, true, true);
    EXPECT_EQ(list.GetRowCount(), 0);
}

TEST(TextSearch, HitOnTheLastCharacterLiesInNoObject)
{
    LoadedExport e("OBJECT Codeunit 1 A\r\n{\r\n}X");
    CResultList list;
    e.manager->searchText("X", list, nullptr, false, true);
    EXPECT_EQ(list.GetRowCount(), 0);
    e.manager->searchText("}", list, nullptr, false, true); // one before the end is in the object
    EXPECT_EQ(list.GetRowCount(), 1);
}

TEST(TextSearch, WithoutKeptParsesTheRowsAreTheSameAndOnlyWhatWasParsedBeforeStaysParsed)
{
    for (int threads : {1, 2}) {
        SCOPED_TRACE(threads);
        setWorkerThreads(threads);
        LoadedExport kept(smallExport());
        LoadedExport released(smallExport());
        released.manager->setKeepParses(false);
        // One object parsed before the search keeps its parse either way.
        released.manager->get(0).ensureTriggers();
        CResultList keptList, releasedList;
        kept.manager->searchText("customer", keptList, nullptr, false, false);
        released.manager->searchText("customer", releasedList, nullptr, false, false);
        ASSERT_GT(keptList.GetRowCount(), 3);
        EXPECT_EQ(releasedList.GetListText("\t", "\n"), keptList.GetListText("\t", "\n"));
        ASSERT_EQ(released.manager->results.count(), kept.manager->results.count());
        for (int i = 0; i < kept.manager->results.count(); ++i) {
            EXPECT_EQ(released.manager->results[i].where, kept.manager->results[i].where);
            EXPECT_EQ(released.manager->results[i].position, kept.manager->results[i].position);
        }
        EXPECT_EQ(released.manager->get(0).parseLevel, 4);
        bool keptParsed = false;
        for (int i = 1; i < released.manager->count(); ++i) {
            EXPECT_EQ(released.manager->get(i).parseLevel, 1) << i;
            EXPECT_TRUE(released.manager->get(i).procedures.empty()) << i;
            keptParsed = keptParsed || kept.manager->get(i).parseLevel == 3;
        }
        EXPECT_TRUE(keptParsed); // the default keeps what the search parsed
        // A later analysis parses again and finds the same.
        CResultList again;
        released.manager->searchText("customer", again, nullptr, false, false);
        EXPECT_EQ(again.GetListText("\t", "\n"), keptList.GetListText("\t", "\n"));
    }
    setWorkerThreads(0);
}
