/* The HotSync API library (libhsapi.so): refresh of the host's conduit list, and the message
   box service (the platform's MessageBoxA), which the host answers. */
#pragma once
#include <stdint.h>
#include "palm_export.h"

enum {
  MB_OK = 0x00,
  MB_OKCANCEL = 0x01,
  MB_YESNO = 0x04,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40
};
enum { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

PALM_API int32_t HsRefreshConduitInfo(void);

/* Shows text and caption (Windows-1251) and returns the button pressed. */
PALM_API int32_t MessageBoxA(void* owner, const char* text, const char* caption, uint32_t style);

/* Host side: who answers the boxes. Without a handler the text goes to stderr and the box
   takes its default answer (IDOK for OK, IDNO for Yes/No, IDCANCEL for OK/Cancel). */
typedef int32_t (*HsMessageBoxHandler)(void* context, const char* text, const char* caption, uint32_t style);
PALM_API void HsSetMessageBoxHandler(HsMessageBoxHandler handler, void* context);
