// libhsapi.so: the message box service, answered by the handler the host installed, and the
// refresh of the host's conduit list (the host reads the registry afresh at every run).
#include "api/hotsync_api.h"

#include <cstdio>
#include <string>

#include "core/message_box_text.h"
#include "hotsync/c_boundary.h"

namespace {

constexpr std::string_view kLibrary = "libhsapi.so";

struct TInstalledHandler {
  HsMessageBoxHandler Handler = nullptr;
  void* Context = nullptr;
};

TInstalledHandler& Installed() {
  static TInstalledHandler installed;
  return installed;
}

}  // namespace

PALM_API int32_t HsRefreshConduitInfo(void) { return 0; }

PALM_API int32_t MessageBoxA(void* /*owner*/, const char* text, const char* caption, uint32_t style) {
  return GuardedCall(kLibrary, DefaultAnswer(style), [&] {
    const TInstalledHandler installed = Installed();
    if (installed.Handler != nullptr) return installed.Handler(installed.Context, text, caption, style);
    const std::string shown = MessageBoxForTerminal(text == nullptr ? "" : text, caption == nullptr ? "" : caption);
    std::fputs(shown.c_str(), stderr);
    return DefaultAnswer(style);
  });
}

PALM_API void HsSetMessageBoxHandler(HsMessageBoxHandler handler, void* context) { Installed() = {handler, context}; }
