// Loading the conduit library binds the desktop libraries and creates the data module;
// unloading frees the data module, then releases the libraries.
#include <memory>

#include "conduit/desktop_libraries.h"
#include "session/data_module.h"

namespace {

class TConduitLibrary {
 public:
  TConduitLibrary() {
    if (!BindDesktopLibraries()) return;
    try {
      data_module_ = std::make_unique<TDataModule1>();
    } catch (const std::exception&) {
      // Without the data module every entry point reports the missing component.
    }
  }
  ~TConduitLibrary() {
    data_module_.reset();
    ReleaseDesktopLibraries();
  }
  TConduitLibrary(const TConduitLibrary&) = delete;
  TConduitLibrary& operator=(const TConduitLibrary&) = delete;

 private:
  std::unique_ptr<TDataModule1> data_module_;
};

const TConduitLibrary conduit_library;

}  // namespace
