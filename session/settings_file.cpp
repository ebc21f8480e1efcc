#include "session/settings_file.h"

#include <cstdlib>
#include <cstring>

#include "conduit/desktop_libraries.h"
#include "core/file_lookup.h"
#include "session/ini_file.h"

namespace {

constexpr const char* kSection = "COMMON";

std::string BoundRootDirectory() {
  const auto get_root = Desktop().UserData.GetRootDirectory;
  if (get_root == nullptr) return {};
  char buffer[260] = {};
  int32_t size = sizeof(buffer) - 1;
  if (get_root(buffer, &size) != 0) return {};
  return std::string(buffer, strnlen(buffer, sizeof(buffer) - 1));
}

}  // namespace

std::string HotSyncHome() {
  std::string home = BoundRootDirectory();
  if (home.empty()) {
    if (const char* variable = std::getenv("HOTSYNC_HOME"); variable != nullptr && *variable != 0)
      home = variable;
    else if (const char* user_home = std::getenv("HOME"); user_home != nullptr && *user_home != 0)
      home = std::string(user_home) + "/.local/share/hotsync";
    else
      home = ".local/share/hotsync";
  }
  return WithTrailingSlash(home);
}

std::string SettingsFilePath() { return HotSyncHome() + "ZembraToPalm.ini"; }

void ReadSessionSettings(const std::string& path, TSessionSettings& settings) {
  const TIniFile ini(path);
  settings.StartFileName = ini.ReadString(kSection, "STARTFILENAME", "");
  settings.StopFileName = ini.ReadString(kSection, "STOPFILENAME", "");
  settings.SortCategories = ini.ReadBool(kSection, "DOSORTCATEGORY", true);
  settings.ODBCDriverName = ini.ReadString(kSection, "ODBCDRIVERNAME", kDefaultODBCDriverName);
  const std::string format = ini.ReadString(kSection, "EXCHANGEFILEFORMAT", "TXT");
  if (const auto known = ExchangeFormatFromName(format)) settings.ExchangeFormat = *known;
}

void WriteSessionSettings(const std::string& path, const TSessionSettings& settings) {
  TIniFile ini(path);
  ini.WriteString(kSection, "EXCHANGEFILEFORMAT", ExchangeFormatName(settings.ExchangeFormat));
  ini.WriteString(kSection, "ODBCDRIVERNAME", settings.ODBCDriverName);
  ini.WriteString(kSection, "DOSORTCATEGORY", settings.SortCategories ? "1" : "0");
  ini.WriteString(kSection, "STARTFILENAME", settings.StartFileName);
  ini.WriteString(kSection, "STOPFILENAME", settings.StopFileName);
}
