#include "conduit/stand_in_libraries.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "conduit/desktop_libraries.h"

namespace {

constexpr const char* kStandIns[] = {"libuserdata.so", "libsync20.so",   "libcondmgr.so",
                                     "libhslog20.so",  "libinstaide.so", "libhsapi.so"};

using SetHandler = void (*)(int32_t (*)(void*, const char*, const char*, uint32_t), void*);
using SetLogFile = void (*)(const char*);

}  // namespace

std::string StandInDirectory() {
  const char* bin = std::getenv("ZP_BIN_DIR");
  if (bin == nullptr || *bin == '\0') return {};
  std::string directory = bin;
  if (directory.back() != '/') directory += '/';
  return directory;
}

bool StandInsBuilt() {
  const std::string directory = StandInDirectory();
  if (directory.empty()) return false;
  for (const char* file : kStandIns) {
    if (!std::filesystem::exists(directory + file)) return false;
  }
  return true;
}

TempDirectory::TempDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zp-conduit-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
  path_ = pattern + '/';
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

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

HomeVariable::HomeVariable(const std::string& home) { setenv("HOTSYNC_HOME", home.c_str(), 1); }

HomeVariable::~HomeVariable() { unsetenv("HOTSYNC_HOME"); }

void StandInTest::SetUp() {
  if (!StandInsBuilt()) GTEST_SKIP() << "the desktop stand-ins are not built in ZP_BIN_DIR yet";
  home_variable_ = std::make_unique<HomeVariable>(home_.Path());
  messages_ = std::make_unique<MessageRecorder>(StandInDirectory());
  log_ = std::make_unique<LogRecorder>(StandInDirectory(), home_.Path() + "HotSync.log");
  ASSERT_TRUE(BindDesktopLibraries(StandInDirectory()));
}

void StandInTest::TearDown() {
  ReleaseDesktopLibraries();
  log_.reset();
  messages_.reset();
  home_variable_.reset();
}
