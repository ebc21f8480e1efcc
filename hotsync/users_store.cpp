#include "hotsync/users_store.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>

#include "core/atomic_file.h"
#include "core/parse_integer.h"
#include "hotsync/host_errors.h"
#include "hotsync/hotsync_home.h"
#include "hotsync/ini_text.h"

namespace {

// Files of the home that a user's folder may not take the name of.
constexpr std::array<std::string_view, 3> kHomeFiles = {"users.ini", "conduits.ini", "ZembraToPalm.ini"};

bool IsNameCharacter(unsigned char c) {
  // Only ASCII: the folder name becomes part of the exchange path, which the conduit shows and
  // logs as Windows-1251 text, while the file system holds the terminal's encoding.
  const bool latin = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  const bool digit = c >= '0' && c <= '9';
  return latin || digit || c == '-' || c == '_' || c == '.';
}

uint32_t ParseUserId(const TIniSection& section, const std::string& file_name) {
  const auto& text = section.Name;
  const std::optional<uint32_t> id = ParseInteger<uint32_t>(text);
  if (!id || *id == 0) {
    throw EHotSyncFileError(file_name + ", line " + std::to_string(section.Line) + ": user ID \"" + text +
                            "\" is not a positive number");
  }
  return *id;
}

std::string RequiredValue(const TIniSection& section, const char* key, const std::string& file_name) {
  auto value = section.Find(key);
  if (!value) {
    throw EHotSyncFileError(file_name + ", line " + std::to_string(section.Line) + ": user " + section.Name +
                            " has no " + key);
  }
  return *value;
}

}  // namespace

void CheckFolderName(std::string_view name, std::string_view what) {
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of(std::string_view("/\0\r\n", 4)) != std::string_view::npos) {
    throw EHotSyncRequestError(std::string(what) + " \"" + std::string(name) + "\" is not a plain folder name");
  }
}

std::vector<THotSyncUser> LoadUsers(const std::string& home) {
  const std::string path = UsersFilePath(home);
  if (!std::filesystem::exists(path)) return {};
  std::vector<THotSyncUser> users;
  for (const auto& section : ParseIniText(ReadWholeFile(path), path)) {
    THotSyncUser user{ParseUserId(section, path), RequiredValue(section, "Name", path),
                      RequiredValue(section, "Directory", path)};
    const std::string where = path + ", line " + std::to_string(section.Line) + ": ";
    if (FindUserById(users, user.Id) != nullptr)
      throw EHotSyncFileError(where + "user ID " + section.Name + " appears twice");
    try {
      CheckFolderName(user.Directory, "The user's directory");
    } catch (const EHotSyncRequestError& error) {
      throw EHotSyncFileError(where + error.what());
    }
    users.push_back(std::move(user));
  }
  return users;
}

void SaveUsers(const std::string& home, const std::vector<THotSyncUser>& users) {
  std::vector<TIniSection> sections;
  for (const auto& user : users) {
    sections.push_back({std::to_string(user.Id), {{"Name", user.Name}, {"Directory", user.Directory}}, 0});
  }
  std::filesystem::create_directories(home);
  WriteFileAtomic(UsersFilePath(home), FormatIniText(sections));
}

const THotSyncUser* FindUserByName(const std::vector<THotSyncUser>& users, std::string_view name) {
  for (const auto& user : users) {
    if (user.Name == name) return &user;
  }
  return nullptr;
}

const THotSyncUser* FindUserById(const std::vector<THotSyncUser>& users, uint32_t id) {
  for (const auto& user : users) {
    if (user.Id == id) return &user;
  }
  return nullptr;
}

THotSyncUser AddUser(const std::string& home, const std::string& name, const std::string& directory) {
  if (name.empty()) throw EHotSyncRequestError("A user name may not be empty");
  if (name.size() > 255) throw EHotSyncRequestError("A user name may hold at most 255 bytes");
  CheckFolderName(directory, "The user's directory");
  if (std::ranges::find(kHomeFiles, directory) != kHomeFiles.end()) {
    throw EHotSyncRequestError("The directory \"" + directory + "\" is the name of a file of the HotSync home");
  }
  auto users = LoadUsers(home);
  if (FindUserByName(users, name) != nullptr) throw EHotSyncRequestError("The user already exists");
  uint32_t next_id = 1;
  for (const auto& user : users) {
    if (user.Directory == directory)
      throw EHotSyncRequestError("The directory \"" + directory + "\" belongs to another user");
    next_id = std::max(next_id, user.Id + 1);
  }
  users.push_back({next_id, name, directory});
  SaveUsers(home, users);
  return users.back();
}

std::string DefaultUserDirectory(std::string_view name) {
  // Russian letters are spelt in Latin ones, so "Иванов" lives in "Ivanov".
  static constexpr std::array<std::string_view, 32> kLatin = {
      "A", "B", "V", "G", "D", "E",  "Zh", "Z",  "I",  "Y",    "K", "L", "M", "N", "O",  "P",
      "R", "S", "T", "U", "F", "Kh", "Ts", "Ch", "Sh", "Shch", "",  "Y", "",  "E", "Yu", "Ya"};
  std::string directory;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsNameCharacter(byte)) {
      directory += c;
    } else if (byte >= 0xC0) {
      std::string_view latin = kLatin[(byte - 0xC0) % 32];
      if (byte >= 0xE0 && !latin.empty()) {
        directory += latin.front() + ('a' - 'A');
        directory += latin.substr(1);
      } else {
        directory += latin;
      }
    } else if (byte == 0xA8 || byte == 0xB8) {
      directory += byte == 0xA8 ? "Yo" : "yo";
    } else {
      directory += '_';
    }
  }
  return directory.empty() ? "_" : directory;
}
