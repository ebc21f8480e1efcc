/* The user-data library (libuserdata.so): the HotSync home and its users. */
#pragma once
#include <stdint.h>
#include "palm_export.h"

/* The HotSync home (the installation directory), ending with '/'. *size: in capacity, out length. */
PALM_API int32_t UmGetRootDirectory(char* buffer, int32_t* size);
PALM_API int32_t UmGetUserCount(void);
PALM_API int32_t UmGetUserID(int32_t index, uint32_t* user_id);
/* The user's directory name under the home; negative on failure. */
PALM_API int32_t UmGetUserDirectory(uint32_t user_id, char* buffer, int32_t* size);
