// Errors of the HotSync home: a damaged users list or conduit registry, a bad user or conduit
// entry, a home that cannot be found. Each message names the file (and line) or the value at fault.
#pragma once

#include "core/exceptions.h"

// A home file (users list, conduit registry) that does not read as its format says.
class EHotSyncFileError : public Exception {
 public:
  using Exception::Exception;
};

// A request the home refuses: an unknown or duplicate user, an invalid name or directory.
class EHotSyncRequestError : public Exception {
 public:
  using Exception::Exception;
};
