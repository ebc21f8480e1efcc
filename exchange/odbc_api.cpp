#include "exchange/odbc_api.h"

#include <dlfcn.h>

#include <mutex>
#include <string>
#include <type_traits>

#include "core/exceptions.h"

namespace {

constexpr const char* kDriverManagerLibrary = "libodbc.so.2";

std::string SystemErrorText() {
  const char* text = ::dlerror();
  return text != nullptr ? text : "";
}

template <typename Function>
void Bind(void* library, const char* name, Function*& entry) {
  ::dlerror();
  void* address = ::dlsym(library, name);
  if (address == nullptr) throw Exception(std::string("Error Getting adress for ") + name + "\r" + SystemErrorText());
  entry = reinterpret_cast<Function*>(address);
}

TOdbcApi LoadApi() {
  void* library = ::dlopen(kDriverManagerLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) throw Exception(SystemErrorText());
  TOdbcApi api{};
  try {
#define ZP_BIND(name) Bind(library, #name, api.name)
    ZP_BIND(SQLAllocHandle);
    ZP_BIND(SQLSetEnvAttr);
    ZP_BIND(SQLFreeHandle);
    ZP_BIND(SQLSetConnectAttr);
    ZP_BIND(SQLDriverConnect);
    ZP_BIND(SQLDisconnect);
    ZP_BIND(SQLGetInfo);
    ZP_BIND(SQLEndTran);
    ZP_BIND(SQLSetStmtAttr);
    ZP_BIND(SQLGetStmtAttr);
    ZP_BIND(SQLPrepare);
    ZP_BIND(SQLBindParameter);
    ZP_BIND(SQLExecute);
    ZP_BIND(SQLRowCount);
    ZP_BIND(SQLNumResultCols);
    ZP_BIND(SQLDescribeCol);
    ZP_BIND(SQLFetch);
    ZP_BIND(SQLGetData);
    ZP_BIND(SQLFreeStmt);
    ZP_BIND(SQLGetDiagRec);
#undef ZP_BIND
  } catch (...) {
    ::dlclose(library);
    throw;
  }
  return api;
}

}  // namespace

const TOdbcApi& OdbcApi() {
  // Bound once and never released: the library stays loaded for the life of the process, and
  // handles freed by static destructors at exit still reach it. The table is a plain static with
  // no destructor, so it outlives every handle and leaves nothing on the heap when the conduit
  // is unloaded.
  static_assert(std::is_trivially_destructible_v<TOdbcApi> && std::is_trivially_destructible_v<std::mutex>);
  static std::mutex guard;
  static TOdbcApi api{};
  static bool bound = false;
  std::lock_guard lock(guard);
  if (!bound) {
    api = LoadApi();
    bound = true;
  }
  return api;
}
