// The errors of the handheld tables: misuse of a table, records that do not fit their field
// definitions, invalid creator IDs and operations that exist but are not implemented.
#pragma once

#include "core/exceptions.h"

class EPalmDBError : public Exception {
 public:
  using Exception::Exception;
};

class ECreatorIDError : public EPalmDBError {
 public:
  using EPalmDBError::EPalmDBError;
};

class ENotImplError : public Exception {
 public:
  using Exception::Exception;
};
