// The host's side of the desktop stand-ins' log and message-box services, taken over by a test:
// the boxes are answered and recorded, the log goes to a file the test reads back.
#pragma once

#include <dlfcn.h>

#include <cstdint>
#include <string>
#include <vector>

#include "test_support/shown_message.h"

// One library opened by the test itself, to reach its host-side functions.
class HostLibrary {
 public:
  explicit HostLibrary(const std::string& path);
  ~HostLibrary();
  HostLibrary(const HostLibrary&) = delete;
  HostLibrary& operator=(const HostLibrary&) = delete;

  template <typename Function>
  Function Get(const char* name) const {
    return reinterpret_cast<Function>(dlsym(handle_, name));
  }

 private:
  void* handle_;
};

// Answers the message boxes of the libhsapi.so in a directory and records what they showed.
class MessageRecorder {
 public:
  explicit MessageRecorder(const std::string& directory, int32_t answer = 1);
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<ShownMessage>& Messages() const { return messages_; }

 private:
  static int32_t Answer(void* context, const char* text, const char* caption, uint32_t style);

  HostLibrary library_;
  int32_t answer_;
  std::vector<ShownMessage> messages_;
};

// Points the HotSync log of the libhslog20.so in a directory at a file, and reads its lines.
class LogRecorder {
 public:
  LogRecorder(const std::string& directory, std::string file);
  ~LogRecorder();
  LogRecorder(const LogRecorder&) = delete;
  LogRecorder& operator=(const LogRecorder&) = delete;

  std::vector<std::string> Lines() const;

 private:
  HostLibrary library_;
  std::string file_;
};
