#include "conduit/palm_component.h"

#include <optional>

#include "conduit/desktop_libraries.h"
#include "core/parse_integer.h"

namespace {

constexpr const char* kClassName = "TpfgPalmComponent";
// The log library takes a true time-stamp flag as all bits set.
constexpr int32_t kTimeStampOn = -1;

// One part of a version string: a whole decimal number from 0 to 255, nothing else.
bool ParseVersionPart(std::string_view text, int& value) {
  const std::optional<int> parsed = ParseInteger<int>(text);
  if (!parsed || *parsed < 0 || *parsed > 255) return false;
  value = *parsed;
  return true;
}

}  // namespace

TpfgPalmComponent::TpfgPalmComponent(std::string name) : TpfgSingletonComponent(kClassName, std::move(name)) {}

TpfgPalmComponent::~TpfgPalmComponent() = default;

std::string TpfgPalmComponent::ConduitVersion() const {
  return std::to_string(version_ >> 8) + "." + std::to_string(version_ & 0xFF);
}

void TpfgPalmComponent::SetConduitVersion(const std::string& text) {
  size_t point = text.find('.');
  int major = 0;
  int minor = 0;
  if (point == std::string::npos || !ParseVersionPart(std::string_view(text).substr(0, point), major) ||
      !ParseVersionPart(std::string_view(text).substr(point + 1), minor)) {
    throw ERegisterError("The specified version string was invalid");
  }
  version_ = static_cast<uint16_t>(major * 256 + minor);
}

void TpfgPalmComponent::SetPriority(int priority) {
  if (priority < 0 || priority > 4) throw ERegisterError("The priority must be in the range 0 to 4");
  priority_ = priority;
}

void TpfgPalmComponent::SetCreatorID(const std::string& id) {
  if (id.size() != 4) throw ERegisterError("The Creator ID must be four characters long");
  creator_id_ = id;
}

void TpfgPalmComponent::SetStatusText(const std::string& text) {
  status_text_ = text;
  if (ProgressCallback == nullptr) return;
  ProgressCallback(status_text_.c_str());
  if (auto yield = Desktop().Sync.YieldCycles) yield(1);
}

void TpfgPalmComponent::LogLine(const std::string& text, int activity, bool time_stamp) {
  Bound(Desktop().Log.AddEntry, "LogAddEntry")(text.c_str(), activity, time_stamp ? kTimeStampOn : 0);
  if (activity == SLOG_ACTIVITY_INFO) sync_open_ = true;
  if (activity == SLOG_ACTIVITY_SYNC_DONE || activity == SLOG_ACTIVITY_SYNC_FAILED) sync_open_ = false;
}

TpfgPalmComponent* TpfgPalmComponent::Registered() {
  return dynamic_cast<TpfgPalmComponent*>(TpfgSingletonComponent::Lookup(kClassName));
}

TpfgPalmComponent& TpfgPalmComponent::Find() {
  TpfgPalmComponent* component = Registered();
  if (component == nullptr) throw Exception("The TpfgPalmComponent could not be found");
  return *component;
}

void PalmLog(const std::string& text, int activity) {
  try {
    TpfgPalmComponent::Find().LogLine(text, activity);
  } catch (const std::exception&) {
    throw EpfgSingletonError("The singleton derived class was not found");
  }
}

std::string PalmConduitName() {
  TpfgPalmComponent* component = TpfgPalmComponent::Registered();
  return component == nullptr ? std::string() : component->ConduitName;
}
