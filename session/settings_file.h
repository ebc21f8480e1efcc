// The conduit's five settings in "ZembraToPalm.ini" in the HotSync home, section "COMMON":
// where the file lives, and reading and writing the settings as one value.
#pragma once

#include <string>

#include "session/exchange_format.h"

// The HotSync home, ending with '/': the user-data library's root directory when it is bound,
// else $HOTSYNC_HOME, else ~/.local/share/hotsync.
std::string HotSyncHome();
// HotSyncHome() + "ZembraToPalm.ini".
std::string SettingsFilePath();

inline constexpr const char* kDefaultODBCDriverName = "Microsoft FoxPro VFP Driver (*.dbf)";

struct TSessionSettings {
  TExchangeFormat ExchangeFormat = TExchangeFormat::DBF;
  std::string ODBCDriverName = kDefaultODBCDriverName;
  bool SortCategories = true;
  std::string StartFileName;
  std::string StopFileName;
};

// Reads the five keys into settings. An EXCHANGEFILEFORMAT text that names no format leaves
// settings.ExchangeFormat as it was; every other key takes its default when absent.
void ReadSessionSettings(const std::string& path, TSessionSettings& settings);

// Writes EXCHANGEFILEFORMAT, ODBCDRIVERNAME, DOSORTCATEGORY ("1"/"0"), STARTFILENAME and
// STOPFILENAME, in this order. Throws Exception when the file cannot be written.
void WriteSessionSettings(const std::string& path, const TSessionSettings& settings);
