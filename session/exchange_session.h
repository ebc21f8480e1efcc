// TExchangeSession: what the phases of one exchange work with: the session's settings, the
// exchange directory and file set, the progress window and the services that reach the user.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "session/exchange_file_set.h"
#include "session/progress_window.h"
#include "session/settings_file.h"

class TDataModule1;

struct TExchangeSession {
  TDataModule1* DataModule = nullptr;  // owner of the long-lived tables; null in unit tests
  TSessionSettings Settings;
  std::string Directory;  // ends with '/'
  std::string UserName;   // Windows-1251, as the handheld holds it
  TExchangeFileSet Files;
  TfrmProgress* Progress = nullptr;  // valid for the whole session
  std::string ConduitName;

  std::function<void(const std::string& text)> StatusText;
  // One HotSync log line, never with a time stamp: 19 progress, 20 closing, 21 error.
  std::function<void(const std::string& text, int activity)> LogLine;
  // A modal box (MB_* style); returns the button pressed (ID*).
  std::function<int(const std::string& text, const std::string& caption, unsigned style)> MessageBox;

  TExchangeFormat Format() const { return Settings.ExchangeFormat; }
  // The exchange directory followed directly by name.
  std::string FilePath(const std::string& name) const { return Directory + name; }
};
