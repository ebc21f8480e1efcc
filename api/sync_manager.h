/* The Sync Manager library (libsync20.so): session registration, yielding and the handheld's
   database and record operations. Every call returns 0 for success or an error code. */
#pragma once
#include <stdint.h>
#include "palm_export.h"

enum {
  SYNCERR_NONE = 0,
  SYNCERR_NOT_FOUND = 16387, /* database missing, or no further record */
  SYNCERR_OPEN_FAILED = 16388,
  SYNCERR_NOT_OPEN = 16391, /* a handle that names no open database */
  SYNCERR_ALREADY_EXISTS = 16395,
  SYNCERR_BAD_ARGUMENT = 16393,
  SYNCERR_TOO_MANY_OPEN = 268452867
};

enum { SYNC_MODE_READ = 0x80, SYNC_MODE_WRITE = 0x40, SYNC_MODE_SECRET = 0x10 };

/* Record descriptor passed to the record operations. On this platform the record index and the
   count are 32-bit (a handheld here may hold more than 65,535 records) and the buffer is a pointer. */
typedef struct SyncRecord {
  uint8_t db_handle;
  uint32_t record_id; /* in: record to write, 0 = new record; out: the record's ID */
  uint32_t record_index;
  uint8_t attributes;
  int16_t category;
  uint32_t record_size; /* out on reads: bytes in the record; in on writes: bytes to write */
  uint32_t buffer_size; /* in on reads: capacity of buffer */
  void* buffer;
} SyncRecord;

typedef struct SyncCreateDb {
  uint32_t creator; /* four characters, the first in the most significant byte */
  uint16_t flags;   /* database attribute word */
  uint16_t card_number;
  char name[32]; /* at most 31 characters, zero-terminated */
  uint32_t type;
  uint16_t version;
} SyncCreateDb;

typedef struct SyncAppInfo {
  uint32_t buffer_size; /* in on reads: capacity of data */
  uint32_t size;        /* out on reads, in on writes: bytes of the block */
  void* data;
} SyncAppInfo;

PALM_API int32_t SyncRegisterConduit(uint32_t* handle);
PALM_API int32_t SyncUnRegisterConduit(uint32_t handle);
PALM_API int32_t SyncYieldCycles(uint16_t max_milliseconds);

PALM_API int32_t SyncOpenDB(const char* name, int32_t card_number, uint8_t* handle, uint8_t open_mode);
PALM_API int32_t SyncCreateDB(const SyncCreateDb* params, uint8_t* handle);
PALM_API int32_t SyncCloseDB(uint8_t handle);
PALM_API int32_t SyncDeleteDB(const char* name, int32_t card_number);
PALM_API int32_t SyncGetDBRecordCount(uint8_t handle, uint32_t* count);
PALM_API int32_t SyncPurgeAllRecs(uint8_t handle);
PALM_API int32_t SyncPurgeDeletedRecs(uint8_t handle);
PALM_API int32_t SyncReadDBAppInfoBlock(uint8_t handle, SyncAppInfo* block);
PALM_API int32_t SyncWriteDBAppInfoBlock(uint8_t handle, const SyncAppInfo* block);
PALM_API int32_t SyncResetRecordIndex(uint8_t handle);
PALM_API int32_t SyncReadRecordByIndex(SyncRecord* record);
PALM_API int32_t SyncReadRecordById(SyncRecord* record);
PALM_API int32_t SyncReadNextModifiedRec(SyncRecord* record);
PALM_API int32_t SyncReadNextRecInCategory(SyncRecord* record);
PALM_API int32_t SyncReadNextModifiedRecInCategory(SyncRecord* record);
PALM_API int32_t SyncWriteRec(SyncRecord* record);
PALM_API int32_t SyncDeleteRec(SyncRecord* record);

/* Host side: the directory of .pdb files that stands for the connected handheld. Open
   databases are written back by SyncCloseDB; SyncHostDisconnect closes what is still open. */
PALM_API int32_t SyncHostConnect(const char* device_directory);
PALM_API void SyncHostDisconnect(void);
/* Host side: disconnects dropping the databases still open unsaved; their files stay as they were. */
PALM_API void SyncHostDiscard(void);
/* Host side: the result code of the last operation that failed (0: none since the last call
   or the connection)
   and, in detail (capacity bytes, zero-terminated, cut to fit), why it failed, naming the
   database or file and the system's reason. Forgets the failure. */
PALM_API int32_t SyncHostTakeFailure(char* detail, uint32_t capacity);
