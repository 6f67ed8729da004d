#include "db/DbObjectEntry.h"

std::string CDbObjectEntry::typeWordOf(int32_t typeCode)
{
    static const char* const words[] = {"Table", "Form", "Report", "Dataport", "Codeunit"};
    return typeCode >= 1 && typeCode <= 5 ? words[typeCode - 1] : "";
}
