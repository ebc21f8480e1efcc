// What the host adds to a conduit's error line in the HotSync log: why the handheld operation
// behind it failed ("Error -1 :... (database "Zembra_OrderDB" was not saved: ... No space left on device)").
#pragma once

#include <cstdint>

// A LogHostEntryDetail (api/hotsync_log.h). Takes the handheld's last failure at every entry, so
// a failure a conduit handled itself is dropped at its next line; returns "(reason)" in
// Windows-1251 for an error entry (activity 21) that quotes that failure's code as "Error CODE :",
// null otherwise.
const char* HandheldFailureDetail(const char* text, int32_t activity) noexcept;
