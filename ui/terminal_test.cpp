// The terminal windows driven through a real terminal: the demo program runs inside a private
// tmux server, keys are sent to it and the screen is read back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "core/atomic_file.h"
#include "test_support/built_programs.h"
#include "test_support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Shell(const std::string& command) {
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

// The first line of a screen that holds text.
std::string LineWith(const std::string& screen, const std::string& text) {
  const size_t at = screen.find(text);
  if (at == std::string::npos) return {};
  const size_t begin = screen.rfind('\n', at) + 1;
  return screen.substr(begin, screen.find('\n', at) - begin);
}

std::string DemoProgram() { return BinDirectory() + "zp_window_demo"; }

class TerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Shell("command -v tmux").empty()) GTEST_SKIP() << "tmux is not installed";
    if (!MissingFromBin({"zp_window_demo"}).empty()) GTEST_SKIP() << "zp_window_demo is not built";
    tmux_ = "tmux -f /dev/null -L zp-ui-test-" + std::to_string(getpid()) + " ";
  }
  void TearDown() override {
    if (!tmux_.empty()) Shell(tmux_ + "kill-server 2>/dev/null");
  }

  void Start(const std::string& arguments, int width, int height) {
    const std::string command = "env LANG=C.UTF-8 LC_ALL= TERM=xterm " + Quoted(DemoProgram()) + " " + arguments;
    Shell(tmux_ + "new-session -d -x " + std::to_string(width) + " -y " + std::to_string(height) + " " +
          Quoted(command));
  }
  std::string Screen() { return Shell(tmux_ + "capture-pane -p -t 0 2>/dev/null"); }
  void Keys(const std::string& keys) { Shell(tmux_ + "send-keys -t 0 " + keys); }
  void Type(const std::string& text) { Shell(tmux_ + "send-keys -t 0 -l " + Quoted(text)); }
  bool Running() { return Shell(tmux_ + "has-session 2>/dev/null && echo yes") == "yes\n"; }

  // Waits (up to a generous limit) until the screen shows text.
  bool WaitForScreen(const std::string& text) {
    for (int attempt = 0; attempt < 200; ++attempt) {
      if (Screen().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  bool WaitForExit() {
    for (int attempt = 0; attempt < 200; ++attempt) {
      if (!Running()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  std::string tmux_;
  TScratchDirectory scratch_{"zp-terminal"};
  const std::string directory_ = scratch_.Path();
};

TEST_F(TerminalTest, TheDialogWritesWhatTheUserChose) {
  const std::string ini = directory_ + "ZembraToPalm.ini";
  WriteFileAtomic(ini, "[COMMON]\nEXCHANGEFILEFORMAT=XML\n");
  Start("dialog " + Quoted(ini), 100, 30);
  ASSERT_TRUE(WaitForScreen("Параметры обмена данными")) << Screen();
  const std::string first = Screen();
  EXPECT_NE(first.find("(*) XML"), std::string::npos) << first;
  EXPECT_NE(first.find("[x] Сортировать справочник категорий"), std::string::npos) << first;
  EXPECT_EQ(first.find("Имя ODBC драйвера"), std::string::npos) << first;
  EXPECT_NE(first.find("Запуск внешних программ"), std::string::npos) << first;
  EXPECT_NE(first.find("[ Отмена ]"), std::string::npos) << first;

  Keys("Space Tab Tab Tab Space");
  ASSERT_TRUE(WaitForScreen("Имя ODBC драйвера")) << Screen();
  EXPECT_NE(Screen().find("(*) TXT Input - DBF Output"), std::string::npos);
  Keys("Tab Down Tab");
  Type("/opt/Тест prog/run.sh");
  Keys("Tab Tab Tab Tab Enter");
  ASSERT_TRUE(WaitForExit()) << Screen();
  EXPECT_EQ(ReadWholeFile(ini),
            "[COMMON]\nEXCHANGEFILEFORMAT=TXTINDBFOUT\nODBCDRIVERNAME=Microsoft dBase Driver (*.dbf)\n"
            "DOSORTCATEGORY=0\nSTARTFILENAME=/opt/Тест prog/run.sh\nSTOPFILENAME=\n");
}

TEST_F(TerminalTest, EscapeLeavesTheFileUntouched) {
  const std::string ini = directory_ + "ZembraToPalm.ini";
  const std::string original = "; kept\r\n[common]\r\nexchangefileformat = TXTINDBFOUT\r\n";
  WriteFileAtomic(ini, original);
  Start("dialog " + Quoted(ini), 100, 30);
  ASSERT_TRUE(WaitForScreen("Имя ODBC драйвера")) << Screen();
  Keys("Space Escape");
  ASSERT_TRUE(WaitForExit()) << Screen();
  EXPECT_EQ(ReadWholeFile(ini), original);
}

TEST_F(TerminalTest, TheFileChooserReplacesTheFieldWithTheChosenPath) {
  const std::string programs = directory_ + "programs/";
  fs::create_directories(programs);
  WriteFileAtomic(programs + "a.sh", "");
  WriteFileAtomic(programs + "b.sh", "");
  const std::string ini = directory_ + "ZembraToPalm.ini";
  WriteFileAtomic(ini, "[COMMON]\nEXCHANGEFILEFORMAT=TXT\nSTARTFILENAME=" + programs + "a.sh\n");
  Start("dialog " + Quoted(ini), 100, 30);
  ASSERT_TRUE(WaitForScreen("Параметры обмена данными")) << Screen();
  Keys("Tab Tab Tab Tab Tab Enter");  // to the "..." beside the before program
  ASSERT_TRUE(WaitForScreen("Открыть")) << Screen();
  EXPECT_NE(Screen().find(programs.substr(0, programs.size() - 1)), std::string::npos) << Screen();
  Keys("Down Enter");
  ASSERT_TRUE(WaitForScreen(programs + "b.sh")) << Screen();
  Keys("Tab Tab Tab Enter");
  ASSERT_TRUE(WaitForExit()) << Screen();
  EXPECT_NE(ReadWholeFile(ini).find("STARTFILENAME=" + programs + "b.sh\n"), std::string::npos) << ReadWholeFile(ini);
}

TEST_F(TerminalTest, TheProgressWindowIsDrawnInPlaceBelowTheHostsLines) {
  Start("progress", 80, 40);
  ASSERT_TRUE(WaitForScreen("host line after the steps")) << Screen();
  ASSERT_TRUE(WaitForScreen("40/40")) << Screen();
  const std::string screen = Screen();
  EXPECT_NE(screen.find("Обмен данными. Имя устройства: Agent 7"), std::string::npos) << screen;
  EXPECT_NE(screen.find("host line before the steps"), std::string::npos) << screen;
  EXPECT_LT(screen.find("host line after the steps"), screen.find("Обмен данными")) << screen;
  EXPECT_EQ(LineWith(screen, "Заказы заголовки").substr(0, 4), " ✓") << screen;
  EXPECT_NE(LineWith(screen, "Заказы заголовки").find(" 20"), std::string::npos) << screen;
  EXPECT_NE(LineWith(screen, "Заказы строки").find(" 30"), std::string::npos) << screen;
  EXPECT_EQ(LineWith(screen, "Касса").substr(0, 4), " ✓") << screen;
  EXPECT_EQ(LineWith(screen, "Маршруты").substr(0, 4), "    ") << screen;
  Keys("Enter");
  ASSERT_TRUE(WaitForExit());
}

}  // namespace
