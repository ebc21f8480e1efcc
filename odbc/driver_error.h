// The one error a driver raises: an SQLSTATE and a message, turned into a diagnostic record at
// the C boundary.
#pragma once

#include <stdexcept>
#include <string>

class DriverError : public std::runtime_error {
 public:
  DriverError(std::string sqlstate, const std::string& message)
      : std::runtime_error(message), sqlstate_(std::move(sqlstate)) {}
  const std::string& SqlState() const { return sqlstate_; }

 private:
  std::string sqlstate_;
};
