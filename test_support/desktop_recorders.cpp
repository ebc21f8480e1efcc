#include "test_support/desktop_recorders.h"

#include <fstream>
#include <stdexcept>

namespace {

using SetHandler = void (*)(int32_t (*)(void*, const char*, const char*, uint32_t), void*);
using SetLogFile = void (*)(const char*);

}  // namespace

HostLibrary::HostLibrary(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) throw std::runtime_error("cannot load " + path);
}

HostLibrary::~HostLibrary() { dlclose(handle_); }

MessageRecorder::MessageRecorder(const std::string& directory, int32_t answer)
    : library_(directory + "libhsapi.so"), answer_(answer) {
  library_.Get<SetHandler>("HsSetMessageBoxHandler")(&MessageRecorder::Answer, this);
}

MessageRecorder::~MessageRecorder() { library_.Get<SetHandler>("HsSetMessageBoxHandler")(nullptr, nullptr); }

int32_t MessageRecorder::Answer(void* context, const char* text, const char* caption, uint32_t style) {
  auto* recorder = static_cast<MessageRecorder*>(context);
  recorder->messages_.push_back({text, caption, style});
  return recorder->answer_;
}

LogRecorder::LogRecorder(const std::string& directory, std::string file)
    : library_(directory + "libhslog20.so"), file_(std::move(file)) {
  library_.Get<SetLogFile>("LogHostSetFile")(file_.c_str());
}

LogRecorder::~LogRecorder() { library_.Get<SetLogFile>("LogHostSetFile")(nullptr); }

std::vector<std::string> LogRecorder::Lines() const {
  std::vector<std::string> lines;
  std::ifstream in(file_, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
