#include "conduit/entry_points.h"

#include <algorithm>
#include <cstring>

#include "api/hotsync_log.h"
#include "conduit/export_guard.h"
#include "core/byte_order.h"

namespace {

constexpr uint32_t kInterfaceVersion = 0x10000000;
constexpr uint32_t kDefaultAction = 0;

enum InfoType : int32_t { kInfoName = 0, kInfoInterfaceVersion = 1, kInfoDefaultAction = 2 };

// Copies text into a buffer of capacity bytes: at most capacity - 1 characters and a zero.
// A capacity of 0 writes nothing.
void CopyName(const std::string& text, char* buffer, size_t capacity) {
  if (capacity == 0) return;
  size_t length = std::min(text.size(), capacity - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

// The progress callback belongs to one OpenConduit call only.
class ProgressCallbackScope {
 public:
  ProgressCallbackScope(TpfgPalmComponent& component, TpfgProgressCallback callback) : component_(component) {
    component_.ProgressCallback = callback;
  }
  ~ProgressCallbackScope() { component_.ProgressCallback = nullptr; }
  ProgressCallbackScope(const ProgressCallbackScope&) = delete;
  ProgressCallbackScope& operator=(const ProgressCallbackScope&) = delete;

 private:
  TpfgPalmComponent& component_;
};

// Runs the synchronisation handler and closes a log the handler left open: the conduit name
// with activity 20 after success, 21 after a failure other than an abort (which travels on).
void DispatchSync(TpfgPalmComponent& component, const TpfgSyncProperties& properties) {
  if (!component.OnExecConduit) return;
  try {
    component.OnExecConduit(properties);
  } catch (const EAbort&) {
    throw;
  } catch (...) {
    if (component.SyncOpen()) {
      try {
        component.LogLine(component.ConduitName, SLOG_ACTIVITY_SYNC_FAILED);
      } catch (...) {
        // The handler's own error is the one to report.
      }
    }
    throw;
  }
  if (component.SyncOpen()) component.LogLine(component.ConduitName, SLOG_ACTIVITY_SYNC_DONE);
}

int32_t NameInfo(const TpfgPalmComponent& component, const void* in_args, void* out, uint32_t out_size) {
  if (in_args == nullptr) return kCondErrInvalidInArgs;
  const std::span request(static_cast<const uint8_t*>(in_args), name_request::kSize);
  if (ReadLittle32(request, name_request::kVersion) != name_request::kExpectedVersion ||
      ReadLittle32(request, name_request::kRecordSize) != name_request::kSize) {
    return kCondErrInvalidInArgsStruct;
  }
  CopyName(component.ConduitName, static_cast<char*>(out), out_size);
  return 0;
}

int32_t WordInfo(uint32_t value, void* out, uint32_t out_size) {
  if (out_size != 4) return kCondErrInvalidBufferSize;
  WriteLittle32(std::span(static_cast<uint8_t*>(out), out_size), 0, value);
  return 0;
}

}  // namespace

CONDUIT_API int32_t OpenConduit(TpfgProgressCallback progress, TpfgSyncProperties* properties) {
  return Guarded(-1, SyncErrorResult::Code, [&] {
    TpfgPalmComponent& component = TpfgPalmComponent::Find();
    ProgressCallbackScope scope(component, progress);
    if (properties == nullptr) return -1;
    DispatchSync(component, *properties);
    return 0;
  });
}

CONDUIT_API int32_t GetConduitName(char* buffer, uint16_t length) {
  return Guarded(-1, SyncErrorResult::Failure, [&] {
    const TpfgPalmComponent& component = TpfgPalmComponent::Find();
    if (buffer == nullptr && length > 0) return -1;
    CopyName(component.ConduitName, buffer, length);
    return 0;
  });
}

CONDUIT_API int32_t GetConduitVersion() {
  return Guarded(0, SyncErrorResult::Failure, [] { return int32_t{TpfgPalmComponent::Find().Version()}; });
}

CONDUIT_API int32_t GetConduitInfo(int32_t info_type, void* in_args, void* out, uint32_t* out_size) {
  return Guarded(1, SyncErrorResult::Failure, [&] {
    const TpfgPalmComponent& component = TpfgPalmComponent::Find();
    if (out == nullptr) return kCondErrInvalidPtr;
    if (out_size == nullptr) return kCondErrInvalidOutSizePtr;
    switch (info_type) {
      case kInfoName:
        return NameInfo(component, in_args, out, *out_size);
      case kInfoInterfaceVersion:
        return WordInfo(kInterfaceVersion, out, *out_size);
      case kInfoDefaultAction:
        return WordInfo(kDefaultAction, out, *out_size);
      default:
        return kCondErrUnknownInfo;
    }
  });
}

CONDUIT_API int32_t DllGetClassObject(void*, void*, void*) { return kClassNotAvailable; }

CONDUIT_API int32_t DllCanUnloadNow() { return 0; }
