#include "conduit/singleton_component.h"

#include <map>
#include <utility>

namespace {

using TRegistry = std::map<std::string, TpfgSingletonComponent*>;

// The library-wide registry: class name to its one live instance. Made with the first
// instance and freed with the last, so nothing of it outlives the library.
TRegistry*& Registry() {
  static TRegistry* registry = nullptr;
  return registry;
}

}  // namespace

TpfgSingletonComponent::TpfgSingletonComponent(std::string class_name, std::string name)
    : class_name_(std::move(class_name)), name_(std::move(name)) {
  TRegistry*& registry = Registry();
  if (registry == nullptr) registry = new TRegistry;
  auto [entry, added] = registry->try_emplace(class_name_, this);
  if (!added) {
    if (registry->empty()) delete std::exchange(registry, nullptr);
    throw EpfgSingletonError("The class \"" + class_name_ + "\" has already been instantiated");
  }
}

TpfgSingletonComponent::~TpfgSingletonComponent() {
  TRegistry*& registry = Registry();
  if (registry == nullptr) return;
  auto entry = registry->find(class_name_);
  if (entry != registry->end() && entry->second == this) registry->erase(entry);
  if (registry->empty()) delete std::exchange(registry, nullptr);
}

TpfgSingletonComponent* TpfgSingletonComponent::Lookup(const std::string& class_name) {
  const TRegistry* registry = Registry();
  if (registry == nullptr) return nullptr;
  auto entry = registry->find(class_name);
  return entry == registry->end() ? nullptr : entry->second;
}
