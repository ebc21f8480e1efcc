// A small program that opens the conduit's terminal windows on their own, for trying them out
// and for the tests that drive them through a real terminal:
//   zp_window_demo dialog SETTINGS.ini   the settings dialog over the given settings file
//   zp_window_demo progress              a progress window that waits for Enter before closing
#include <cstdio>
#include <iostream>
#include <string>

#include "session/data_module.h"
#include "session/progress_window.h"
#include "ui/terminal_views.h"

namespace {

int Dialog(const std::string& settings_path) {
  TDataModule1 module({}, TerminalViews());
  module.SettingsPath = [&] { return settings_path; };
  TpfgCfgConduitInfo info{};
  module.PalmComponentConfigConduit(info);
  return 0;
}

int Progress() {
  TfrmProgress window(TerminalViews().MakeProgressView());
  window.SetUserName("Agent 7");
  window.Show();
  std::puts("host line before the steps");
  std::fflush(stdout);
  for (int row : {2, 3, 4}) {
    window.MarkStep(row);
    window.ProgressBar.SetMax(row * 10);
    window.ProgressBar.SetPosition(0);
    for (int i = 0; i < row * 10; ++i) window.ProgressBar.StepIt();
  }
  std::puts("host line after the steps");
  std::fflush(stdout);
  std::string answer;
  std::getline(std::cin, answer);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "dialog" && argc == 3) return Dialog(argv[2]);
  if (mode == "progress" && argc == 2) return Progress();
  std::fprintf(stderr, "usage: zp_window_demo dialog SETTINGS.ini | zp_window_demo progress\n");
  return 2;
}
