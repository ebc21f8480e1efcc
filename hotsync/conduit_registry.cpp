#include "hotsync/conduit_registry.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "core/atomic_file.h"
#include "core/parse_integer.h"
#include "hotsync/host_errors.h"
#include "hotsync/hotsync_home.h"
#include "hotsync/ini_text.h"

namespace {

int32_t ParseNumber(const std::string& text, const std::string& where) {
  const std::optional<int32_t> value = ParseInteger<int32_t>(text);
  if (!value) throw EHotSyncFileError(where + "\"" + text + "\" is not a number");
  return *value;
}

TConduitEntry EntryOf(const TIniSection& section, const std::string& path) {
  const std::string where = path + ", line " + std::to_string(section.Line) + ": ";
  try {
    CheckCreatorId(section.Name);
  } catch (const EHotSyncRequestError& error) {
    throw EHotSyncFileError(where + error.what());
  }
  TConduitEntry entry;
  entry.Creator = section.Name;
  for (const auto& [key, value] : section.Values) {
    if (key == "Type")
      entry.Type = ParseNumber(value, where + "Type ");
    else if (key == "Library")
      entry.Library = value;
    else if (key == "Title")
      entry.Title = value;
    else if (key == "Directory")
      entry.Directory = value;
    else if (key == "File")
      entry.File = value;
    else if (key == "Remote")
      entry.Remote = value;
    else if (key == "Info")
      entry.Info = value;
    else if (key == "Priority")
      entry.Priority = ParseNumber(value, where + "Priority ");
    else
      throw EHotSyncFileError(where + "unknown key \"" + key + "\" in conduit " + section.Name);
  }
  return entry;
}

TIniSection SectionOf(const TConduitEntry& entry) {
  return {entry.Creator,
          {{"Type", std::to_string(entry.Type)},
           {"Library", entry.Library},
           {"Title", entry.Title},
           {"Directory", entry.Directory},
           {"File", entry.File},
           {"Remote", entry.Remote},
           {"Info", entry.Info},
           {"Priority", std::to_string(entry.Priority)}},
          0};
}

}  // namespace

void CheckCreatorId(std::string_view creator) {
  const bool printable =
      std::all_of(creator.begin(), creator.end(), [](char c) { return c > ' ' && c < 0x7F && c != '[' && c != ']'; });
  if (creator.size() != 4 || !printable) {
    throw EHotSyncRequestError("\"" + std::string(creator) + "\" is not a creator ID of four printable characters");
  }
}

std::vector<TConduitEntry> LoadConduitRegistry(const std::string& home) {
  const std::string path = ConduitRegistryPath(home);
  if (!std::filesystem::exists(path)) return {};
  std::vector<TConduitEntry> entries;
  for (const auto& section : ParseIniText(ReadWholeFile(path), path)) {
    if (FindConduit(entries, section.Name) != nullptr) {
      throw EHotSyncFileError(path + ", line " + std::to_string(section.Line) + ": conduit " + section.Name +
                              " appears twice");
    }
    entries.push_back(EntryOf(section, path));
  }
  return entries;
}

void SaveConduitRegistry(const std::string& home, const std::vector<TConduitEntry>& entries) {
  const std::string path = ConduitRegistryPath(home);
  if (entries.empty()) {
    std::filesystem::remove(path);
    return;
  }
  std::vector<TIniSection> sections;
  for (const auto& entry : entries) sections.push_back(SectionOf(entry));
  std::filesystem::create_directories(home);
  WriteFileAtomic(path, FormatIniText(sections));
}

TConduitEntry* FindConduit(std::vector<TConduitEntry>& entries, std::string_view creator) {
  for (auto& entry : entries) {
    if (entry.Creator == creator) return &entry;
  }
  return nullptr;
}

std::vector<TConduitEntry> InSyncOrder(std::vector<TConduitEntry> entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TConduitEntry& a, const TConduitEntry& b) { return a.Priority < b.Priority; });
  return entries;
}
