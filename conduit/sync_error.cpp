#include "conduit/sync_error.h"

#include <algorithm>

EPalmSyncError::EPalmSyncError(int32_t code)
    : Exception("Error " + std::to_string(code) + " :" + SyncErrorDescription(code)), code_(code) {}

EPalmSyncError::EPalmSyncError(int32_t code, std::string_view detail)
    : Exception("Error " + std::to_string(code) + " :" + SyncErrorDescription(code) + " " + std::string(detail)),
      code_(code) {}

std::string SyncErrorDescription(int32_t code) {
  auto table = SyncErrorDescriptions();
  auto row = std::lower_bound(table.begin(), table.end(), code,
                              [](const TSyncErrorDescription& entry, int32_t wanted) { return entry.Code < wanted; });
  if (row == table.end() || row->Code != code) return {};
  return row->Text;
}

void CheckSyncResult(int32_t result) {
  if (result != 0) throw EPalmSyncError(result);
}

void CheckSyncResult(int32_t result, std::string_view detail) {
  if (result != 0) throw EPalmSyncError(result, detail);
}
