#include "odbc/diagnostics.h"

const DiagnosticRecord* Diagnostics::Record(int number) const {
  if (number < 1 || static_cast<size_t>(number) > records_.size()) return nullptr;
  return &records_[static_cast<size_t>(number) - 1];
}
