// The diagnostic records of one handle: what SQLGetDiagRec and SQLGetDiagField report after a
// call that failed or succeeded with information.
#pragma once

#include <string>
#include <vector>

struct DiagnosticRecord {
  std::string sqlstate;
  std::string message;
  int native_error = 0;
};

class Diagnostics {
 public:
  void Clear() { records_.clear(); }
  void Add(std::string sqlstate, std::string message) { records_.push_back({std::move(sqlstate), std::move(message)}); }
  const std::vector<DiagnosticRecord>& Records() const { return records_; }
  // Record 1, 2, ... or nullptr when there is no such record.
  const DiagnosticRecord* Record(int number) const;

 private:
  std::vector<DiagnosticRecord> records_;
};
