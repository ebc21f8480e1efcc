// TpfgPalmComponent: the conduit's one component. It carries the conduit's identity, the
// handlers that hold the program's behaviour, and the status-text and log-line services.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "api/conduit_records.h"
#include "conduit/singleton_component.h"

// The identity rules: ERegisterError for an invalid version string, creator ID or priority.
class ERegisterError : public Exception {
 public:
  using Exception::Exception;
};

using TpfgExecConduitProc = std::function<void(const TpfgSyncProperties& props)>;
using TpfgConfigConduitProc = std::function<void(TpfgCfgConduitInfo& data)>;
using TpfgNotifyEvent = std::function<void(class TpfgPalmComponent& sender)>;
using TpfgUnregisterConduitProc = std::function<void(class TpfgPalmComponent& sender, bool& remove_dirs)>;
using TpfgProgressCallback = void (*)(const char* text);

class TpfgPalmComponent : public TpfgSingletonComponent {
 public:
  explicit TpfgPalmComponent(std::string name = "PalmComponent");
  ~TpfgPalmComponent() override;

  uint16_t Version() const { return version_; }
  // "major.minor"; writing validates ("The specified version string was invalid").
  std::string ConduitVersion() const;
  void SetConduitVersion(const std::string& text);
  int Priority() const { return priority_; }
  void SetPriority(int priority);  // 0..4, else "The priority must be in the range 0 to 4"
  const std::string& CreatorID() const { return creator_id_; }
  void SetCreatorID(const std::string& id);  // exactly 4 characters

  std::string ConduitName;
  std::string Directory = "Default";
  std::string CreatorFile;
  std::string Information;
  std::string RemoteFile;

  TpfgConfigConduitProc OnConfigConduit;
  TpfgExecConduitProc OnExecConduit;
  TpfgNotifyEvent OnRegisterConduit;
  TpfgUnregisterConduitProc OnUnregisterConduit;

  // The HotSync Manager's progress callback, set only during OpenConduit.
  TpfgProgressCallback ProgressCallback = nullptr;

  // Stores the status; during a synchronisation also tells the HotSync Manager and yields once.
  void SetStatusText(const std::string& text);
  const std::string& StatusText() const { return status_text_; }

  // One HotSync log line (LogAddEntry). Activity 19 sets the sync-open mark, 20 and 21 clear it.
  void LogLine(const std::string& text, int activity, bool time_stamp = false);
  bool SyncOpen() const { return sync_open_; }

  // The registered component; throws Exception "The TpfgPalmComponent could not be found".
  static TpfgPalmComponent& Find();
  // The registered component, or nullptr.
  static TpfgPalmComponent* Registered();

 private:
  uint16_t version_ = 0x0100;
  int priority_ = 2;
  std::string creator_id_ = "STRT";
  std::string status_text_;
  bool sync_open_ = false;
};

// Log line through the registered component; EpfgSingletonError
// "The singleton derived class was not found" when there is none or the write fails.
void PalmLog(const std::string& text, int activity);
// ConduitName of the registered component, or empty text.
std::string PalmConduitName();
