/* The HotSync log library (libhslog20.so): one line per entry in the synchronising user's
   log file, Windows-1251 text as the conduit gives it. */
#pragma once
#include <stdint.h>
#include "palm_export.h"

enum { SLOG_ACTIVITY_INFO = 19, SLOG_ACTIVITY_SYNC_DONE = 20, SLOG_ACTIVITY_SYNC_FAILED = 21 };

PALM_API int32_t LogAddEntry(const char* text, int32_t activity, int32_t timestamp);

/* Host side: the file that receives the entries (NULL: entries are dropped). */
PALM_API void LogHostSetFile(const char* path);
