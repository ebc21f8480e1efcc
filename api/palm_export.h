/* Export marker of the desktop libraries' C entry points (everything else stays hidden). */
#pragma once
#ifdef __cplusplus
#define PALM_EXTERN_C extern "C"
#else
#define PALM_EXTERN_C
#endif
#define PALM_API PALM_EXTERN_C __attribute__((visibility("default")))
