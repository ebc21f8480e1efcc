#include "palmdb/palm_table_closer.h"

#include <exception>

TTableCloser::~TTableCloser() {
  try {
    if (table_.Active()) table_.Close();
  } catch (const std::exception&) {
    // The step's own error is the one that matters.
  }
}
