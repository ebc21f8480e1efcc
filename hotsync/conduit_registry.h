// The conduit registry of the HotSync home, HOME/conduits.ini: one section per creator ID with
// the conduit's type, library, title, directory, file, remote name, information and priority.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TConduitEntry {
  std::string Creator;  // four characters
  int32_t Type = 0;
  std::string Library;  // full path of the conduit's shared library
  std::string Title;
  std::string Directory;
  std::string File;
  std::string Remote;
  std::string Info;
  int32_t Priority = 2;
};

// The entries in file order; none when the file does not exist. A damaged file throws EHotSyncFileError.
std::vector<TConduitEntry> LoadConduitRegistry(const std::string& home);
// Writes the file atomically (creating the home when missing); an empty registry removes the
// file, so registering and unregistering a conduit leaves the home as it was.
void SaveConduitRegistry(const std::string& home, const std::vector<TConduitEntry>& entries);

TConduitEntry* FindConduit(std::vector<TConduitEntry>& entries, std::string_view creator);
// The entries in the order a synchronisation runs them: priority 0 first, registry order within a priority.
std::vector<TConduitEntry> InSyncOrder(std::vector<TConduitEntry> entries);

// Throws EHotSyncRequestError unless creator is four printable ASCII characters other than '[' and ']'.
void CheckCreatorId(std::string_view creator);
