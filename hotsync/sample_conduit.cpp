// A small conduit for the host's tests: registers itself as "Smpl", and on every call writes what
// it was given to the file named by $SAMPLE_TRACE, so a test can see what the host passed. It
// works $SAMPLE_PAUSE_MS milliseconds when that is set, and logs an error line in a directory
// named "Errs".
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "api/conduit_manager.h"
#include "api/hotsync_api.h"
#include "api/hotsync_log.h"

namespace {

void Trace(const std::string& line) {
  const char* file = std::getenv("SAMPLE_TRACE");
  if (file == nullptr) return;
  if (std::FILE* trace = std::fopen(file, "ab")) {
    std::fputs((line + "\n").c_str(), trace);
    std::fclose(trace);
  }
}

std::string TextAt(const void* record, size_t offset) {
  const char* text = static_cast<const char*>(record) + offset;
  return std::string(text, strnlen(text, 256));
}

std::string OwnPath() {
  Dl_info info{};
  dladdr(reinterpret_cast<void*>(&OwnPath), &info);
  return info.dli_fname != nullptr ? info.dli_fname : "";
}

}  // namespace

#define SAMPLE_EXPORT extern "C" __attribute__((visibility("default")))

SAMPLE_EXPORT int16_t GetConduitName(char* name, uint16_t size) {
  std::snprintf(name, size, "%s", "Sample");
  return 0;
}

SAMPLE_EXPORT uint32_t GetConduitVersion(void) { return 0x0103; }

SAMPLE_EXPORT int32_t OpenConduit(void (*progress)(const char*), void* properties) {
  const std::string path = TextAt(properties, 4);
  Trace("open " + path + "|" + TextAt(properties, 516) + "|" + TextAt(properties, 260));
  progress("\xCE\xE1\xEC\xE5\xED");  // "Обмен"
  if (const char* pause = std::getenv("SAMPLE_PAUSE_MS")) usleep(static_cast<useconds_t>(std::atoi(pause)) * 1000);
  if (path.find("Errs") != std::string::npos) LogAddEntry("Sample - it broke", SLOG_ACTIVITY_SYNC_FAILED, 0);
  LogAddEntry("Sample done", SLOG_ACTIVITY_SYNC_DONE, 0);
  Trace("answer " + std::to_string(MessageBoxA(nullptr, "Go on?", "Sample", MB_YESNO | MB_ICONQUESTION)));
  return path.find("Fail") != std::string::npos ? 5 : 0;
}

SAMPLE_EXPORT int32_t CfgConduit(int32_t type, void* record, uint32_t* size) {
  uint32_t creator = 0;
  std::memcpy(&creator, static_cast<const char*>(record) + 8, 4);
  Trace("configure type " + std::to_string(type) + " size " + std::to_string(*size) + " creator " +
        std::to_string(creator) + " path " + TextAt(record, 80));
  return 0;
}

SAMPLE_EXPORT int32_t DllRegisterServer(void) {
  for (int32_t result : {CmInstallCreator("Smpl", 1), CmSetCreatorName("Smpl", OwnPath().c_str()),
                         CmSetCreatorTitle("Smpl", "Sample"), CmSetCreatorDirectory("Smpl", "Samples"),
                         CmSetCreatorPriority("Smpl", 1), CmSetCreatorInfo("Smpl", "Sample information")}) {
    if (result != 0) return result;
  }
  return 0;
}

SAMPLE_EXPORT int32_t DllUnregisterServer(void) { return CmRemoveConduitByCreatorID("Smpl") > 0 ? 0 : 1; }
