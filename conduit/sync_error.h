// EPalmSyncError: a non-zero result of a desktop library, with "Error %d :%s" as its message
// (the code and its description), and the one function that raises it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/exceptions.h"

class EPalmSyncError : public Exception {
 public:
  explicit EPalmSyncError(int32_t code);
  // The same message followed by a blank and the detail (what the call was about).
  EPalmSyncError(int32_t code, std::string_view detail);
  int32_t ErrorCode() const { return code_; }

 private:
  int32_t code_;
};

// The description of a desktop-library result code; empty for a code without one.
std::string SyncErrorDescription(int32_t code);

// One row of the description table.
struct TSyncErrorDescription {
  int32_t Code;
  const char* Text;
};
// The whole table, in ascending order of code.
std::span<const TSyncErrorDescription> SyncErrorDescriptions();

// Raises EPalmSyncError when result is not 0, with the detail when one is given.
void CheckSyncResult(int32_t result);
void CheckSyncResult(int32_t result, std::string_view detail);
