#ifndef QUELLIX_CFRONT_H
#define QUELLIX_CFRONT_H

/*
 * The C interface of the C/FRONT operations Quellix calls, as answered by the SQLite-backed
 * stand-in library (cfront.so). Only C types and opaque handles cross this boundary; every
 * function returns an error result instead of throwing or crashing.
 *
 * Exports: ordinal N is the symbol cfront_ordinal_N, N = 1 .. 111. Ordinals not listed below
 * do nothing and return 0. Texts are zero-terminated 8-bit strings; the object names and
 * version lists of the Object table are in the OEM code page.
 *
 * Value encodings (32-bit signed integers, both ordered, so ">=" filters compare numbers):
 *   date  0 = undefined date; otherwise year * 10000 + month * 100 + day, a valid Gregorian
 *         date in the years 1 .. 9999. Text form "YYYY-MM-DD"; the undefined date is "".
 *   time  0 = undefined time; otherwise 1 + seconds since midnight (1 = 00:00:00,
 *         86400 = 23:59:59). Text form "HH:MM:SS"; the undefined time is "". The stand-in
 *         stores whole seconds only, so every stored value survives the round trip through
 *         text exactly; text-to-time accepts exactly the forms time-to-text writes.
 *   A value outside these ranges is written as "" (so its round trip reports a mismatch).
 *
 * Filters (ordinal 30): "" removes the field's filter; integer fields take "A..B" or "N";
 * date fields ">=D.M.YYYY"; time fields ">=H:M:S". Any other text is rejected: the call
 * returns 0, the reason is kept as the last error, and every search on the table finds
 * nothing until that field's filter is set again.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/*
 * CFRONT_CALL: the calling convention of every exported function and of the notice callback,
 * the one place that names it. The vendor's library belongs to the 32-bit classic client and is
 * called __stdcall on Windows (the callee pops its arguments; on x86_64 there is one convention
 * and the word changes nothing). The binding's function types below use it, and the stand-in
 * is built with it, so the binding is tested against a DLL called the way the real one is; a
 * wrong convention shows at once as a corrupted stack after the first call.
 */
#if defined(_WIN32)
#define CFRONT_CALL __stdcall
#define CFRONT_EXPORT __declspec(dllexport)
#else
#define CFRONT_CALL
#define CFRONT_EXPORT __attribute__((visibility("default")))
#endif

typedef struct cfront_table cfront_table;   /* an open table */
typedef struct cfront_record cfront_record; /* a record buffer of one open table */

enum {
    CFRONT_TABLE_OBJECT = 2000000001,
    CFRONT_TABLE_SESSION = 2000000009
};

/* Error codes kept as the last error (ordinal 112). */
enum {
    CFRONT_OK = 0,
    CFRONT_ERR_NOT_INITIALISED = 1,
    CFRONT_ERR_BAD_ARGUMENT = 2,   /* null pointer, unknown handle, buffer too small */
    CFRONT_ERR_NOT_CONNECTED = 3,
    CFRONT_ERR_DATABASE = 4,       /* SQLite failed: missing, locked or corrupt file */
    CFRONT_ERR_LOGIN = 5,
    CFRONT_ERR_UNKNOWN_TABLE = 6,
    CFRONT_ERR_UNKNOWN_FIELD = 7,
    CFRONT_ERR_FILTER = 8,
    CFRONT_ERR_CONVERSION = 9,
    CFRONT_ERR_INTERNAL = 10,
    CFRONT_ERR_BUSY = 11,          /* another program held the database longer than the wait */
    CFRONT_ERR_READ_ONLY = 12,     /* a change was asked of a database opened read-only */
    CFRONT_ERR_RECORD_NOT_FOUND = 0x051303F0
};

/* Function types of the ordinals the program calls, for the binding's resolved addresses. */
typedef void (CFRONT_CALL *cfront_void_fn)(void);                                 /* 3, 4 */
typedef int32_t (CFRONT_CALL *cfront_allow_error_fn)(int32_t code);               /* 1 */
typedef int32_t (CFRONT_CALL *cfront_connect_fn)(char* server, char* net_type);   /* 5 */
typedef int32_t (CFRONT_CALL *cfront_open_database_fn)(char* name, int32_t cache,
                                                      int32_t commit_cache);     /* 7 */
typedef int32_t (CFRONT_CALL *cfront_open_table_fn)(cfront_table** table, int32_t number); /* 12 */
typedef int32_t (CFRONT_CALL *cfront_close_table_fn)(cfront_table* table);        /* 14 */
typedef int32_t (CFRONT_CALL *cfront_find_fn)(cfront_table* table, cfront_record* record,
                                             const char* which);                 /* 16 */
typedef int16_t (CFRONT_CALL *cfront_next_fn)(cfront_table* table, cfront_record* record,
                                             int32_t steps);                     /* 17 */
typedef int32_t (CFRONT_CALL *cfront_set_filter_fn)(cfront_table* table, int32_t field,
                                                   char* filter, int32_t reserved); /* 30 */
typedef void* (CFRONT_CALL *cfront_field_fn)(cfront_table* table, cfront_record* record,
                                             int32_t field);                     /* 42 */
typedef int32_t (CFRONT_CALL *cfront_login_fn)(char* user, char* password);       /* 52 */
typedef cfront_record* (CFRONT_CALL *cfront_new_record_fn)(cfront_table* table);  /* 65 */
typedef int32_t (CFRONT_CALL *cfront_free_record_fn)(cfront_record* record);      /* 66 */
typedef int32_t (CFRONT_CALL *cfront_text_to_value_fn)(int32_t* value, char* text); /* 75, 77 */
typedef int32_t (CFRONT_CALL *cfront_value_to_text_fn)(char* buffer, int32_t size,
                                                      int32_t value);            /* 76, 78 */
typedef int32_t (CFRONT_CALL *cfront_set_path_fn)(char* path);                    /* 88, 89 */
typedef int32_t (CFRONT_CALL *cfront_last_error_fn)(char* buffer, int32_t size);  /* 112 */
typedef void (CFRONT_CALL *cfront_notice_fn)(const char* text, void* context);
typedef int32_t (CFRONT_CALL *cfront_set_notice_fn)(cfront_notice_fn notice, void* context); /* 113 */

/*
 * The operations. Results of 1 mean success and 0 failure unless stated; a failure keeps its
 * reason as the last error. All except 3 fail with CFRONT_ERR_NOT_INITIALISED before 3.
 */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_1(int32_t code);  /* tolerate code at the next search */
CFRONT_EXPORT void CFRONT_CALL cfront_ordinal_3(void);             /* initialise (again: no change) */
CFRONT_EXPORT void CFRONT_CALL cfront_ordinal_4(void);             /* shut down: session row removed */
/* Connect to a server listed in the file "servers" beside the library ("name = database file"). */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_5(char* server, char* net_type);
/* Open a database file (name = its path); the two cache sizes are ignored. */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_7(char* name, int32_t cache, int32_t commit_cache);
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_12(cfront_table** table, int32_t number);
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_14(cfront_table* table); /* frees its records too */
/* which: "-" first, "+" last, "=" the record with the buffer's key. Non-zero: record loaded. */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_16(cfront_table* table, cfront_record* record,
                                                    const char* which);
/* Moves by steps records in key order; returns the steps made (0 at the end). The searches 16 and
   17 clear the last error when they start, so after a result of 0 the last error tells the end
   of the table (0, or CFRONT_ERR_RECORD_NOT_FOUND) from a failed read (any other code). */
CFRONT_EXPORT int16_t CFRONT_CALL cfront_ordinal_17(cfront_table* table, cfront_record* record,
                                                    int32_t steps);
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_30(cfront_table* table, int32_t field,
                                                    char* filter, int32_t reserved);
/* Address of the field's value in the loaded record (int32_t, or OEM text); null on error. It
   stays valid until the next search on that record or until the record is freed. */
CFRONT_EXPORT void* CFRONT_CALL cfront_ordinal_42(cfront_table* table, cfront_record* record,
                                                  int32_t field);
/* 1 when user and password match a user of the database, or the database has no users. */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_52(char* user, char* password);
CFRONT_EXPORT cfront_record* CFRONT_CALL cfront_ordinal_65(cfront_table* table); /* null on error */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_66(cfront_record* record);
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_75(int32_t* date, char* text); /* 0 written on error */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_76(char* buffer, int32_t size, int32_t date);
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_77(int32_t* time, char* text); /* 0 written on error */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_78(char* buffer, int32_t size, int32_t time);
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_88(char* path);          /* program path */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_89(char* path);          /* licence file */
/*
 * Last error: returns the code of the last failure (CFRONT_OK for none) and writes its reason
 * to buffer (at most size bytes including the terminating zero; buffer may be null). An
 * ordinal of the stand-in beyond the 111 the program requires: the program resolves it when it
 * is there and does without it when it is not. Calling it does not change the last error.
 */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_112(char* buffer, int32_t size);
/*
 * Wait notice: notice (null: none) is called with context when a call has waited a second for a
 * database that another program holds; the call goes on waiting up to its limit (10 s, or
 * CFRONT_BUSY_TIMEOUT seconds) and then fails with CFRONT_ERR_BUSY. notice runs inside that
 * call on the caller's thread and must not call the library. Like 112, optional for the
 * program. Kept until shut down.
 */
CFRONT_EXPORT int32_t CFRONT_CALL cfront_ordinal_113(cfront_notice_fn notice, void* context);

/*
 * Stand-in extensions for diagnosis and tests (not ordinals; the program does not call them).
 * cfront_last_error: the same as ordinal 112.
 * cfront_call_trace: the ordinals 1..111 called since initialise, as decimal numbers joined by
 * spaces.
 * Both write at most size bytes including the terminating zero; buffer may be null.
 */
CFRONT_EXPORT int32_t cfront_last_error(char* buffer, int32_t size);
CFRONT_EXPORT int32_t cfront_call_trace(char* buffer, int32_t size);

#ifdef __cplusplus
}
#endif

#endif
