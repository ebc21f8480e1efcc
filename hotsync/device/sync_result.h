// ESyncResult: a handheld operation that ends with a Sync Manager result other than success.
// The C interface returns its code; the message says why, for the diagnostics on stderr.
#pragma once

#include <cstdint>
#include <string>

#include "core/exceptions.h"

class ESyncResult : public Exception {
 public:
  ESyncResult(int32_t code, const std::string& message) : Exception(message), code_(code) {}
  int32_t Code() const { return code_; }

 private:
  int32_t code_;
};

// No handheld is connected (SyncHostConnect was not called): "the connection was lost".
constexpr int32_t kSyncErrNotConnected = 268461072;
// A failure with no code of its own, such as a database file that cannot be written.
constexpr int32_t kSyncErrNonspecific = -1;
// A record or block larger than the handheld stores.
constexpr int32_t kSyncErrNoRoom = 16404;
