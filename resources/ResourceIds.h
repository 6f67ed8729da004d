#pragma once

#include "analysis/CommandIds.h"

#include <wx/defs.h>

// Resource, control and command IDs of the program (the operations' command IDs are in
// analysis/CommandIds.h, in the same namespace). Where the toolkit has a stock ID for a
// framework command (file save, copy, print ...), that stock ID stands for it, so the toolkit's
// stock labels, accelerators and document commands keep working.
namespace rid {

// Templates, menus and icons.
enum {
    IDR_MAINFRAME = 128,
    IDR_SEARCHVIEW = 130,
    IDR_OBJECTCOMPAREVIEW = 149,
    IDR_WATCHVIEW = 148,
    IDR_MERGEVIEW = 129,
    IDD_SEARCHVIEW = 103,
    IDD_OBJECTCOMPAREVIEW = 153,
    IDD_MERGEVIEW = 101,
    IDR_CONTEXT_MENU = 139,
    IDR_ANALYSES_MENU = 147,
    IDI_REPORT = 161,
    IDI_FORM = 162,
    IDI_TABLE = 163,
    IDI_DATAPORT = 164,
    IDI_CODEUNIT = 165,
    IDI_NO_TYPE = 166,
};

// Controls of the search view (template 103).
enum {
    IDC_SOURCE_FILE = 1003,
    IDC_SEARCH_TERM = 1011,
    IDC_SEARCH = 1012,
    IDC_RESULT_LIST = 1013,
    IDC_BROWSE = 1020,
    IDC_COUNT = 1031,
    IDC_COUNT_LABEL = 1032,
    IDC_OBJECT_COUNT = 1033,
    IDC_OBJECT_COUNT_LABEL = 1034,
    IDC_SEARCH_IN_LIST = 1035,
    IDC_PROGRESS_LABEL = 1036,
    IDC_LAST_ACTION = 1037,
    IDC_LAST_ACTION_LABEL = 1038,
    IDC_NUMBER_RANGE = 1039,
    IDC_ANALYSES_BUTTON = 1059,
    IDC_PROGRESS = 1069,
    IDC_SEARCH_OPTION = 1082,
    IDC_CAL_AWARE = 1083,
};

// Controls of the object comparison view (template 153); the list, the search edit, "Search in
// list" and the two count fields share the search view's IDs.
enum {
    IDC_COMPARE_LICENCE1 = 1044,
    IDC_COMPARE_LICENCE1_BROWSE = 1045,
    IDC_COMPARE_USER1 = 1046,
    IDC_COMPARE_PASSWORD1 = 1047,
    IDC_COMPARE_PATH1_BROWSE = 1048,
    IDC_COMPARE_NET1 = 1049,
    IDC_COMPARE_SERVER1 = 1015,
    IDC_COMPARE_PATH1 = 1016,
    IDC_COMPARE_LICENCE2 = 1050,
    IDC_COMPARE_LICENCE2_BROWSE = 1054,
    IDC_COMPARE_USER2 = 1052,
    IDC_COMPARE_PASSWORD2 = 1053,
    IDC_COMPARE_PATH2_BROWSE = 1055,
    IDC_COMPARE_NET2 = 1051,
    IDC_COMPARE_SERVER2 = 1017,
    IDC_COMPARE_PATH2 = 1018,
    IDC_COMPARE_OBJECTS = 1088,
    IDC_MARK_OBJECTS = 1089,
    IDC_COMPARE_GROUP1 = 1090,
    IDC_COMPARE_GROUP2 = 1091,
    IDC_COMPARE_ALL_TYPES = 1092,
    IDC_MARK_FILTER1 = 1093, // the "mark Objects in DBs" dialog: filter texts and their Copy buttons
    IDC_MARK_FILTER2 = 1094,
    IDC_MARK_COPY1 = 1095,
    IDC_MARK_COPY2 = 1096,
};

// Controls of the merge view (template 101). The edit under "Source Objects 1" holds Quelldatei2,
// the one under "Source Objects 2" Quelldatei1.
enum {
    IDC_MERGE_SOURCE1 = 1015,        // Quelldatei1
    IDC_MERGE_SOURCE2 = 1016,        // Quelldatei2
    IDC_MERGE_TARGET1 = 1017,        // Zieldatei1
    IDC_MERGE_BUILD = 1018,
    IDC_MERGE_START = 1019,
    IDC_MERGE_TARGET2 = 1020,        // Zieldatei2
    IDC_MERGE_BROWSE_SOURCE2 = 1021,
    IDC_MERGE_PROGRAM_PATH = 1022,
    IDC_MERGE_BROWSE_SOURCE1 = 1023,
    IDC_MERGE_BROWSE_TARGET2 = 1024,
    IDC_MERGE_BROWSE_TARGET1 = 1025,
    IDC_MERGE_BROWSE_PROGRAM = 1026,
    IDC_MERGE_IGNORE_NOISE = 1027,
    IDC_MERGE_PROGRESS = 1028,
    IDC_MERGE_RESULT = 1029,
    IDC_MERGE_GROUP = 1030,
};

// The object viewer (template 137).
enum {
    IDD_OBJECT_VIEWER = 137,
    IDC_OBJECT_TREE = 1021,
    IDC_OBJECT_TEXT = 1023,
    IDC_FIRST_HIT = 1025,
    IDC_PREVIOUS_HIT = 1026,
    IDC_NEXT_HIT = 1027,
    IDC_LAST_HIT = 1028,
};

// Command IDs from 0x8000 up do not fit the toolkit's menu IDs (below 0x7FFF); their menu items
// and events carry the command ID moved down by kMenuIdShift, into a range no control uses.
inline constexpr int kMenuIdShift = 0x2000;
constexpr int menuIdOf(int commandId)
{
    return commandId >= 0x8000 ? commandId - kMenuIdShift : commandId;
}
constexpr int commandIdOf(int menuId)
{
    return menuId >= 0x8000 - kMenuIdShift && menuId < 0x7FFF ? menuId + kMenuIdShift : menuId;
}

// Commands of the views.
enum {
    ID_SHOW_OBJECT = 32772,
    ID_EXPORT_TO_FILE = 32773,
    ID_COPY_TO_CLIPBOARD = 32780,
};

// Shell commands that have no stock ID of the toolkit.
enum {
    ID_FILE_MRU_FILE1 = 20000, // ten entries
    ID_WINDOW_NEW = 20100,
    ID_WINDOW_ARRANGE,
    ID_WINDOW_TILE_HORZ,
    ID_WINDOW_TILE_VERT,
    ID_VIEW_TOOLBAR = 20200,
    ID_VIEW_STATUS_BAR,
    ID_NEXT_PANE = 20300,
    ID_PREV_PANE,
    ID_STOP_JOB = 20500, // the search view's View › "Stop" (Esc)
};

// Timers. Events of the main frame pass the active view first, so each timer has an ID of its own.
enum { ID_STATUS_TIMER = 20400, ID_JOB_TIMER, ID_MERGE_TIMER };

// Messages between a search view's worker and the view.
enum { WM_WORKER_STARTED = 32783, WM_WORKER_FINISHED = 32784 };

} // namespace rid

// The session watch: template 133, its setup dialog 132, its commands and its timer.
namespace rid {
enum {
    IDD_WATCHVIEW = 133,
    IDD_WATCH_SETUP = 132,
    IDC_WATCH_SESSIONS = 1009,
    IDC_WATCH_OBJECTS = 1010,
    IDC_WATCH_SERVER = 1015,
    IDC_WATCH_PROGRAM_PATH = 1016,
    IDC_WATCH_USER = 1046,
    IDC_WATCH_PASSWORD = 1047,
    IDC_WATCH_BROWSE = 1048,
    IDC_WATCH_NET_TYPE = 1049,
    IDC_WATCH_DATE = 1071,
    IDC_WATCH_TIME = 1073,
    IDC_WATCH_CHANGE_COUNT = 1075,
    IDC_WATCH_DATE_LABEL = 1072, // labels of the three bottom fields, which move with them
    IDC_WATCH_TIME_LABEL = 1074,
    IDC_WATCH_CHANGE_COUNT_LABEL = 1076,
    IDC_WATCH_LOG_FILE = 1006,
    IDC_WATCH_INTERVAL = 1007,
    IDC_WATCH_ALL_TYPES = 1097, // the watch's scope, beside Start and Stop
    IDC_WATCH_DELETED = 1098,
    ID_WATCH_START = 32773,
    ID_WATCH_STOP = 32774,
    ID_WATCH_SETUP = 32781,
    ID_WATCH_TIMER = 23,
};
} // namespace rid

// The "Changes" view: two exports compared object by object and element by element.
namespace rid {
enum {
    IDD_CHANGESVIEW = 171,
    IDC_CHANGES_EXPORT_A = 1101,
    IDC_CHANGES_EXPORT_B = 1102,
    IDC_CHANGES_BROWSE_A = 1103,
    IDC_CHANGES_BROWSE_B = 1104,
    IDC_CHANGES_COMPARE = 1105,
    IDC_CHANGES_NOISE = 1106,
    IDC_CHANGES_ELEMENTS = 1107,
    IDC_CHANGES_OLD = 1108,
    IDC_CHANGES_NEW = 1109,
    IDC_CHANGES_PREVIOUS = 1110,
    IDC_CHANGES_NEXT = 1111,
    IDC_CHANGES_STATUS = 1112,
    IDC_CHANGES_LABEL_A = 1113,
    IDC_CHANGES_LABEL_B = 1114,
    ID_CHANGES_TIMER = 20410,
};
} // namespace rid
