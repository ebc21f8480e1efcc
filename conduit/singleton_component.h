// TpfgSingletonComponent: a library-wide registry of one live instance per class name.
// A second instance of a registered class fails with EpfgSingletonError.
#pragma once

#include <string>

#include "core/exceptions.h"

class EpfgSingletonError : public Exception {
 public:
  using Exception::Exception;
};

class TpfgSingletonComponent {
 public:
  // Registers the instance under class_name; throws EpfgSingletonError
  // "The class \"<class_name>\" has already been instantiated" when one is registered.
  TpfgSingletonComponent(std::string class_name, std::string name);
  virtual ~TpfgSingletonComponent();
  TpfgSingletonComponent(const TpfgSingletonComponent&) = delete;
  TpfgSingletonComponent& operator=(const TpfgSingletonComponent&) = delete;

  const std::string& ClassName() const { return class_name_; }
  const std::string& Name() const { return name_; }

  // The registered instance of the class, or nullptr.
  static TpfgSingletonComponent* Lookup(const std::string& class_name);

 private:
  std::string class_name_;
  std::string name_;
};
