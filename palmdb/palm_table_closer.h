// Closes a handheld table when the step that opened it ends, normally or by an error; a close
// that fails then is ignored, because the step's own error is the one to report.
#pragma once

#include "palmdb/palm_remote_table.h"

class TTableCloser {
 public:
  explicit TTableCloser(TpfgPalmRemoteTable& table) : table_(table) {}
  ~TTableCloser();
  TTableCloser(const TTableCloser&) = delete;
  TTableCloser& operator=(const TTableCloser&) = delete;

 private:
  TpfgPalmRemoteTable& table_;
};
