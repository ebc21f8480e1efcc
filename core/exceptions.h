// The general error class of the conduit and the two errors every layer shares.
// Every typed error of the system derives from Exception; EAbort is the silent abort.
#pragma once

#include <stdexcept>
#include <string>

// The general error class: anything the session driver's guard catches and logs.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that does not convert to the number, date or time asked for.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// The silent abort: ends an operation without a message.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};
