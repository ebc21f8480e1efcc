// The users of the HotSync home, kept in HOME/users.ini: one section per user, named by the
// user's ID, with "Name=" (Windows-1251, as the handheld holds it) and "Directory=" (the folder's name).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct THotSyncUser {
  uint32_t Id = 0;
  std::string Name;       // Windows-1251
  std::string Directory;  // the name of the user's folder under the home, as the file system has it
};

// The users in file order; none when the file does not exist. A damaged file throws EHotSyncFileError.
std::vector<THotSyncUser> LoadUsers(const std::string& home);
// Writes the file atomically, creating the home when missing.
void SaveUsers(const std::string& home, const std::vector<THotSyncUser>& users);

// The user of that name (bytes compared exactly), or null.
const THotSyncUser* FindUserByName(const std::vector<THotSyncUser>& users, std::string_view name);
const THotSyncUser* FindUserById(const std::vector<THotSyncUser>& users, uint32_t id);

// Adds a user with the next free ID and saves the list. Throws EHotSyncRequestError for an empty
// name, a name or directory already taken, a directory name that is not one plain folder name
// or that names one of the home's own files.
THotSyncUser AddUser(const std::string& home, const std::string& name, const std::string& directory);

// The default folder name of a user: every character of the Windows-1251 name other than a
// Latin letter, a digit, '-', '_' or '.' replaced by '_', Russian letters spelt in Latin ones:
// an ASCII folder name.
std::string DefaultUserDirectory(std::string_view name);

// Throws EHotSyncRequestError unless name is one plain folder name (not empty, ".", ".." and without '/').
void CheckFolderName(std::string_view name, std::string_view what);
