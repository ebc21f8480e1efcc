/* The install aide library (libinstaide.so): queues a file for installation on a user's handheld. */
#pragma once
#include <stdint.h>
#include "palm_export.h"

PALM_API int32_t PltInstallFile(const char* user_name, const char* file_path);
