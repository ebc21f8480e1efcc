/* The HotSync log library (libhslog20.so): one line per entry in the synchronising user's
   log file, Windows-1251 text as the conduit gives it. */
#pragma once
#include <stdint.h>
#include "palm_export.h"

enum { SLOG_ACTIVITY_INFO = 19, SLOG_ACTIVITY_SYNC_DONE = 20, SLOG_ACTIVITY_SYNC_FAILED = 21 };

PALM_API int32_t LogAddEntry(const char* text, int32_t activity, int32_t timestamp);

/* Host side: the file that receives the entries (NULL: entries are dropped). Setting it starts
   the count of error entries afresh. The file must be a regular file: a FIFO, directory or
   device is refused (the entry fails), never waited on. */
PALM_API void LogHostSetFile(const char* path);

/* Host side: called for each entry before it is written; a non-empty text it returns
   (Windows-1251, valid until the next call) follows the entry on the same line after a blank. */
typedef const char* (*LogHostEntryDetail)(const char* text, int32_t activity);
PALM_API void LogHostSetEntryDetail(LogHostEntryDetail detail);

/* Host side: the number of error entries (activity 21) written since LogHostSetFile. */
PALM_API int32_t LogHostErrorEntries(void);
