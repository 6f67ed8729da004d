// The locations a search or analysis leaves behind, at the edges: the first byte of the export,
// and a second run that must not keep the locations of the first.
#include "support/Catalogue.h"

#include <gtest/gtest.h>

namespace {

const char* const kTwoCodeunits = R"(OBJECT Codeunit 1 First
{
  CODE
  {

    PROCEDURE Run@1();
    BEGIN
      EXIT;
    END;

    BEGIN
    END.
  }
}

OBJECT Codeunit 2 Second
{
}
)";

} // namespace

TEST(ResultLocations, SearchFindsTheObjectKeywordAtByteZero)
{
    Catalogue e(kTwoCodeunits);
    CResultList list;
    for (bool useRegex : {false, true}) {
        e.manager->searchText("OBJECT", list, nullptr, useRegex, true);
        ASSERT_EQ(list.GetRowCount(), 2) << useRegex;
        ASSERT_EQ(e.manager->results.count(), 2);
        EXPECT_EQ(e.manager->results[0].position, 0);
        EXPECT_EQ(e.manager->results[0].objectName(), "Codeunit 1 First");
        EXPECT_EQ(e.manager->results[1].position, e.pos("OBJECT Codeunit 2"));
    }
    e.manager->searchText("object", list, nullptr, false, false);
    ASSERT_EQ(e.manager->results.count(), 2);
    EXPECT_EQ(e.manager->results[0].position, 0);
}

TEST(ResultLocations, ASecondAnalysisStartsWithoutTheLocationsOfTheFirst)
{
    Catalogue e(kTwoCodeunits);
    CResultList list;
    e.manager->searchText("EXIT", list, nullptr, false, true);
    ASSERT_EQ(e.manager->results.count(), 1);
    ASSERT_EQ(list.GetItemData(0), 0);

    // The ID check lists nothing here and records no location, so no row can open the stale hit.
    e.manager->findDuplicateIds(list, nullptr);
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(e.manager->results.count(), 0);

    e.manager->searchText("EXIT", list, nullptr, false, true);
    e.manager->findUnusedSumIndexFields(list, nullptr);
    EXPECT_EQ(e.manager->results.count(), 0);
}
