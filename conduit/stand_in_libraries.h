// Test support: the desktop stand-in libraries built in <build>/bin (ZP_BIN_DIR), a temporary
// HotSync home, and the host's side of the log and message-box services, recorded for checks.
#pragma once

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The directory holding the stand-ins, ending with '/'; empty when ZP_BIN_DIR is not set.
std::string StandInDirectory();
// True when all six stand-in libraries are in StandInDirectory().
bool StandInsBuilt();

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  // The path, ending with '/'.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

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

struct ShownMessage {
  std::string Text;
  std::string Caption;
  uint32_t Style;
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

// Sets $HOTSYNC_HOME for the lifetime of the object (the stand-ins read it at each call).
class HomeVariable {
 public:
  explicit HomeVariable(const std::string& home);
  ~HomeVariable();
  HomeVariable(const HomeVariable&) = delete;
  HomeVariable& operator=(const HomeVariable&) = delete;
};

// A test bound to the stand-ins over a fresh HotSync home, with the log and the message boxes
// recorded. Skips when the stand-ins are not built.
class StandInTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TempDirectory home_;
  std::unique_ptr<HomeVariable> home_variable_;
  std::unique_ptr<MessageRecorder> messages_;
  std::unique_ptr<LogRecorder> log_;
};
