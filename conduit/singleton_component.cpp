#include "conduit/singleton_component.h"

#include <map>

namespace {

// The library-wide registry: class name to its one live instance. Made on first use and kept
// until the process ends, so a component destroyed late in the library's unloading still finds it.
std::map<std::string, TpfgSingletonComponent*>& Registry() {
  static auto* registry = new std::map<std::string, TpfgSingletonComponent*>;
  return *registry;
}

}  // namespace

TpfgSingletonComponent::TpfgSingletonComponent(std::string class_name, std::string name)
    : class_name_(std::move(class_name)), name_(std::move(name)) {
  auto [entry, added] = Registry().try_emplace(class_name_, this);
  if (!added) {
    throw EpfgSingletonError("The class \"" + class_name_ + "\" has already been instantiated");
  }
}

TpfgSingletonComponent::~TpfgSingletonComponent() {
  auto entry = Registry().find(class_name_);
  if (entry != Registry().end() && entry->second == this) Registry().erase(entry);
}

TpfgSingletonComponent* TpfgSingletonComponent::Lookup(const std::string& class_name) {
  auto entry = Registry().find(class_name);
  return entry == Registry().end() ? nullptr : entry->second;
}
