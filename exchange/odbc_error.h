// ESQLerror: an ODBC call that failed, with every diagnostic record of the failing handle, and
// the layer's own failures (a plain Exception). Records are "SQLSTATE:message" texts.
#pragma once

#include <string>
#include <vector>

#include "core/exceptions.h"

class ESQLerror : public Exception {
 public:
  // SqlState is the first record's five characters (empty without records); NativeError is the
  // first record's native code, or the call's return code when no record was read.
  ESQLerror(const std::string& message, std::string sql_state, int native_error, std::vector<std::string> records)
      : Exception(message), SqlState(std::move(sql_state)), NativeError(native_error), Records(std::move(records)) {}
  explicit ESQLerror(const std::string& message) : ESQLerror(message, "", 0, {}) {}

  std::string SqlState;
  int NativeError;
  std::vector<std::string> Records;
};
