// The errors of the exchange files: a text file or data packet that cannot be read, a column
// asked for that the table lacks, and misuse of the in-memory table.
#pragma once

#include "core/exceptions.h"

// A delimited text file that cannot be used (no header names, a NUL byte, no current record).
class ETXTTableError : public Exception {
 public:
  using Exception::Exception;
};

// FieldByName of the text table asked for a name the header lacks (after its message was shown).
class ETXTFieldNotFound : public ETXTTableError {
 public:
  using ETXTTableError::ETXTTableError;
};

// Misuse of the in-memory table: unknown field, closed table, wrong state, wrong value type.
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};

// A file that is not a data packet, or a packet whose structure or values cannot be read.
class EDataPacketError : public EDatabaseError {
 public:
  using EDatabaseError::EDatabaseError;
};
