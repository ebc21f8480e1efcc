/* The Conduit Manager library (libcondmgr.so): the registry of conduits in the HotSync home. */
#pragma once
#include <stdint.h>
#include "palm_export.h"

enum {
  CMERR_NONE = 0,
  CMERR_GENERAL = -1000,
  CMERR_CONDUIT_NOT_FOUND = -1003,
  CMERR_BUFFER_TOO_SMALL = -1005,
  CMERR_CREATOR_ALREADY_EXISTS = -1006
};

PALM_API int32_t CmInstallCreator(const char* creator, int32_t conduit_type);
PALM_API int32_t CmSetCreatorName(const char* creator, const char* library_path);
PALM_API int32_t CmSetCreatorTitle(const char* creator, const char* title);
PALM_API int32_t CmSetCreatorDirectory(const char* creator, const char* directory);
PALM_API int32_t CmSetCreatorFile(const char* creator, const char* file);
PALM_API int32_t CmSetCreatorRemote(const char* creator, const char* remote);
PALM_API int32_t CmSetCreatorInfo(const char* creator, const char* info);
PALM_API int32_t CmSetCreatorPriority(const char* creator, int32_t priority);
/* > 0 when a conduit was removed. */
PALM_API int32_t CmRemoveConduitByCreatorID(const char* creator);
/* The HotSync home, ending with '/'. *size: in the buffer's capacity, out the length. */
PALM_API int32_t CmGetCorePath(char* buffer, int32_t* size);
PALM_API int32_t CmGetCreatorDirectory(const char* creator, char* buffer, int32_t* size);
