#include "hotsync/handheld_failure_detail.h"

#include <string>
#include <string_view>

#include "api/hotsync_log.h"
#include "api/sync_manager.h"
#include "core/cp1251.h"

const char* HandheldFailureDetail(const char* text, int32_t activity) noexcept {
  static std::string detail;
  try {
    char reason[1024];
    const int32_t code = SyncHostTakeFailure(reason, sizeof reason);
    if (code == SYNCERR_NONE || activity != SLOG_ACTIVITY_SYNC_FAILED || text == nullptr) return nullptr;
    if (std::string_view(text).find("Error " + std::to_string(code) + " :") == std::string_view::npos) return nullptr;
    detail = "(" + TerminalToCp1251(reason) + ")";
    return detail.c_str();
  } catch (...) {
    return nullptr;
  }
}
