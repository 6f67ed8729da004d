#pragma once

// Command IDs of the desktop program's given operations. The operation table carries them, and
// the desktop program's menus, buttons and events use the same names; nothing else writes these
// numbers. An operation of our own writes its ID in its row, from ID_FIRST_OWN_COMMAND up (the
// table's test finds two rows with one ID). Free of the toolkit, so the core may include it.
namespace rid {

enum {
    ID_NO_COMMAND = 0, // operations only the command line offers (the catalogue)
    ID_SEARCH = 1012,  // the "Search" button
    ID_UNUSED_VARIABLES = 1030,
    ID_EXPORT_CODE = 1036,
    ID_UNUSED_FUNCTIONS = 1037,
    ID_UNUSED_FIELDS = 1038,
    ID_NUMBER_RANGE = 1039,
    ID_LOCAL_GLOBAL = 1040,
    ID_DUPLICATE_IDS = 1062,
    ID_UNUSED_SUMINDEXFIELDS = 1068,
    ID_ONCE_USED = 32777,
    ID_CHECK_FORMS = 32782,
    ID_FIELD_REFERENCE_PROBLEM = 32786,
    ID_TABLE_REFERENCE_PROBLEM = 32787,
    ID_SPLIT = 32788,
    ID_PAGE_TRANSLATIONS = 32789,
    ID_FIRST_OWN_COMMAND = 33000, // up to 40958: menu IDs 24808 ... 32766 (resources/ResourceIds.h)
};

} // namespace rid
