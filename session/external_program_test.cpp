#include "session/external_program.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "core/atomic_file.h"
#include "session/path_text.h"
#include "test_support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

class ExternalProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_.MakeDirectory("bin dir");
    scratch_.MakeDirectory("home");
    // Should anything hand the argument to a shell, "~" must not be the real home.
    const char* home = std::getenv("HOME");
    saved_home_ = home ? home : "";
    setenv("HOME", (root_ / "home").c_str(), 1);
  }
  void TearDown() override { setenv("HOME", saved_home_.c_str(), 1); }
  std::string Script(const std::string& name, const std::string& body) {
    const fs::path path = root_ / "bin dir" / name;
    WriteFileAtomic(path, "#!/bin/sh\n" + body);
    chmod(path.c_str(), 0755);
    return path.string();
  }
  TScratchDirectory scratch_{"external program test"};
  const fs::path& root_ = scratch_.Root();
  std::string saved_home_;
};

TEST_F(ExternalProgramTest, TheUserNameIsOneArgumentAndTheProgramRunsInItsOwnDirectory) {
  const std::string report = (root_ / "report.txt").string();
  const std::string program =
      Script("before prog.sh", "printf '%s|%s|%s' \"$#\" \"$1\" \"$(pwd)\" > '" + report + "'\n");
  ASSERT_EQ(RunExternalProgram(program, "Agent 7; rm -rf ~", DirectoryOf(program)), 0);
  EXPECT_EQ(ReadWholeFile(report), "1|Agent 7; rm -rf ~|" + (root_ / "bin dir").string());
  EXPECT_TRUE(fs::exists(root_ / "home"));
}

TEST_F(ExternalProgramTest, ARelativePathIsTakenFromTheCurrentDirectory) {
  const std::string program = Script("exit3.sh", "exit 3\n");
  const fs::path saved = fs::current_path();
  fs::current_path(root_);
  const int code = RunExternalProgram("bin dir/exit3.sh", "x", "bin dir");
  fs::current_path(saved);
  EXPECT_EQ(code, 3);
}

TEST_F(ExternalProgramTest, AProgramThatCannotStartGivesMinusOne) {
  EXPECT_EQ(RunExternalProgram((root_ / "missing").string(), "x", root_.string()), -1);
  const std::string not_executable = (root_ / "bin dir" / "plain.txt").string();
  WriteFileAtomic(not_executable, "text");
  EXPECT_EQ(RunExternalProgram(not_executable, "x", ""), -1);
  EXPECT_EQ(RunExternalProgram("", "x", ""), -1);
}

TEST_F(ExternalProgramTest, WaitsUntilTheProgramEnds) {
  const std::string marker = (root_ / "done").string();
  const std::string program = Script("slow.sh", "sleep 0.3\ntouch '" + marker + "'\nkill -TERM $$\n");
  EXPECT_EQ(RunExternalProgram(program, "", ""), 128 + 15);
  EXPECT_TRUE(fs::exists(marker));
}

TEST(PathTextTest, DirectoryOfDropsTheLastComponent) {
  EXPECT_EQ(DirectoryOf("/opt/a b/prog"), "/opt/a b");
  EXPECT_EQ(DirectoryOf("/prog"), "/");
  EXPECT_EQ(DirectoryOf("prog"), "");
  EXPECT_EQ(DirectoryOf("bin/prog"), "bin");
}

}  // namespace
