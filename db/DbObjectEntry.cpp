#include "db/DbObjectEntry.h"

std::string CDbObjectEntry::typeWordOf(int32_t typeCode)
{
    return typeWordOf(typeCode, false);
}

std::string CDbObjectEntry::typeWordOf(int32_t typeCode, bool allTypes)
{
    static const char* const words[] = {"Table", "Form", "Report", "Dataport", "Codeunit",
                                        "XMLport", "MenuSuite", "Page", "Query"};
    const int32_t last = allTypes ? 9 : 5;
    return typeCode >= 1 && typeCode <= last ? words[typeCode - 1] : "";
}
