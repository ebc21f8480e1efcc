// The device directory: finding, opening, creating, saving and deleting databases.
#include "hotsync/device/device.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "api/sync_manager.h"
#include "core/atomic_file.h"
#include "core/regular_file.h"
#include "hotsync/device/database_file_name.h"
#include "hotsync/device/sync_result.h"

namespace fs = std::filesystem;

namespace {

uint32_t HandheldNow() { return static_cast<uint32_t>(std::time(nullptr)) + kPdbEpochTo1970; }

bool HasPdbExtension(const fs::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".pdb";
}

TPdbHeaderName NameInFile(const fs::path& path) {
  try {
    const TOpenFile file = OpenRegularFileForReading(path.string());
    std::string header(kPdbHeaderSize, '\0');
    size_t size = 0;
    while (size < header.size()) {
      const ssize_t n = ::read(file.Fd(), header.data() + size, header.size() - size);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return {std::nullopt, "Cannot read \"" + path.string() + "\": " + std::strerror(errno)};
      if (n == 0) break;
      size += static_cast<size_t>(n);
    }
    header.resize(size);
    return {ReadPdbName(header, path.string()), ""};
  } catch (const Exception& e) {
    return {std::nullopt, e.what()};
  }
}

std::string Quoted(const std::string& name) { return "database \"" + name + "\""; }

}  // namespace

Device::Device(std::string directory) : directory_(std::move(directory)) {
  std::error_code error;
  if (!fs::is_directory(directory_, error))
    throw ESyncResult(SYNCERR_NOT_FOUND, "device directory \"" + directory_ + "\" is not a directory");
}

Device::~Device() {
  for (size_t i = 0; i < open_.size(); ++i) {
    if (!open_[i]) continue;
    try {
      Close(static_cast<uint8_t>(i + 1));
    } catch (const std::exception& e) {
      std::cerr << "libsync20.so: " << e.what() << '\n';
    }
  }
}

TPdbHeaderName Device::HeaderName(const std::string& path) const {
  const std::optional<TFileIdentity> identity = IdentityOf(path);
  const auto known = headers_.find(path);
  if (identity && known != headers_.end() && known->second.Identity == *identity) return known->second.Value;
  TPdbHeaderName header = NameInFile(path);
  // A file that changed while it was read is read again next time.
  if (identity && IdentityOf(path) == identity) {
    headers_.insert_or_assign(path, TKnown<TPdbHeaderName>{*identity, header});
  } else {
    headers_.erase(path);
  }
  return header;
}

std::optional<std::string> Device::FindFile(const std::string& name, std::string* damage) const {
  std::vector<std::string> matches;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory_, error)) {
    if (!entry.is_regular_file(error) || !HasPdbExtension(entry.path())) continue;
    const TPdbHeaderName header = HeaderName(entry.path().string());
    if (header.Name == name) matches.push_back(entry.path().string());
    if (header.Name) continue;
    if (damage != nullptr && entry.path().filename() == DatabaseFileName(name)) *damage = header.Failure;
    std::cerr << "libsync20.so: skipped " << header.Failure << '\n';
  }
  if (error) throw ESyncResult(kSyncErrNonspecific, "cannot list \"" + directory_ + "\": " + error.message());
  if (matches.size() > 1)
    throw ESyncResult(SYNCERR_OPEN_FAILED, Quoted(name) + " is held by two files: " + matches[0] + ", " + matches[1]);
  if (matches.empty()) return std::nullopt;
  return matches.front();
}

const OpenDatabase* Device::FindOpen(const std::string& name) const {
  for (const auto& database : open_)
    if (database && database->Name() == name) return database.get();
  return nullptr;
}

std::string Device::NewFilePath(const std::string& name) const {
  const std::string file_name = DatabaseFileName(name);
  const std::string stem = file_name.substr(0, file_name.size() - 4);
  for (int copy = 1;; ++copy) {
    const std::string path =
        (fs::path(directory_) / (copy == 1 ? file_name : stem + "~" + std::to_string(copy) + ".pdb")).string();
    bool taken = fs::exists(fs::symlink_status(path));
    for (const auto& database : open_) taken = taken || (database && database->Path() == path);
    if (!taken) return path;
  }
}

uint8_t Device::Keep(std::unique_ptr<OpenDatabase> database) {
  for (size_t i = 0; i < open_.size(); ++i) {
    if (open_[i]) continue;
    open_[i] = std::move(database);
    return static_cast<uint8_t>(i + 1);
  }
  throw ESyncResult(SYNCERR_TOO_MANY_OPEN, "more than " + std::to_string(kMaxOpenDatabases) + " databases open");
}

uint8_t Device::Open(const std::string& name, uint8_t mode) {
  if (!(mode & (SYNC_MODE_READ | SYNC_MODE_WRITE)))
    throw ESyncResult(SYNCERR_BAD_ARGUMENT,
                      "open mode " + std::to_string(mode) + " asks for neither reading nor writing");
  if (FindOpen(name)) throw ESyncResult(SYNCERR_OPEN_FAILED, Quoted(name) + " is open already");
  std::string damage;
  const std::optional<std::string> path = FindFile(name, &damage);
  // A damaged file under the very name this database is given is taken to be it: its damage is
  // the answer, never a silent "does not exist".
  if (!path && !damage.empty()) throw ESyncResult(SYNCERR_OPEN_FAILED, damage);
  if (!path) throw ESyncResult(SYNCERR_NOT_FOUND, Quoted(name) + " does not exist");
  if (std::none_of(open_.begin(), open_.end(), [](const auto& d) { return !d; }))
    throw ESyncResult(SYNCERR_TOO_MANY_OPEN, "more than " + std::to_string(kMaxOpenDatabases) + " databases open");
  try {
    const std::optional<TFileIdentity> identity = IdentityOf(*path);
    std::optional<DeviceDatabase> database;
    if (auto kept = closed_unchanged_.extract(*path);
        !kept.empty() && identity && kept.mapped().Identity == *identity) {
      database.emplace(std::move(kept.mapped().Value));
    }
    if (!database) database.emplace(ParsePdb(std::make_shared<const TFileBytes>(ReadFileBytes(*path)), *path));
    const uint8_t handle = Keep(std::make_unique<OpenDatabase>(*path, mode, std::move(*database), false));
    // Kept for reopening only when the file was not touched while it was read.
    read_from_[handle - 1] = identity == IdentityOf(*path) ? identity : std::nullopt;
    return handle;
  } catch (const ESyncResult&) {
    throw;
  } catch (const Exception& e) {
    throw ESyncResult(SYNCERR_OPEN_FAILED, e.what());
  }
}

uint8_t Device::Create(const NewDatabase& params) {
  if (params.name.empty() || params.name.size() >= kPdbNameSize || params.name.find('\0') != std::string::npos)
    throw ESyncResult(SYNCERR_BAD_ARGUMENT, "a database name takes 1 to 31 bytes");
  if (FindOpen(params.name) || FindFile(params.name))
    throw ESyncResult(SYNCERR_ALREADY_EXISTS, Quoted(params.name) + " exists already");
  PdbDatabase contents;
  contents.name = params.name;
  contents.attributes = params.attributes;
  contents.version = params.version;
  contents.type = params.type;
  contents.creator = params.creator;
  contents.creation_date = contents.modification_date = HandheldNow();
  const uint8_t handle = Keep(std::make_unique<OpenDatabase>(NewFilePath(params.name), SYNC_MODE_READ | SYNC_MODE_WRITE,
                                                             DeviceDatabase(std::move(contents)), true));
  read_from_[handle - 1].reset();
  return handle;
}

OpenDatabase& Device::At(uint8_t handle) {
  if (handle == 0 || handle > open_.size() || !open_[handle - 1])
    throw ESyncResult(SYNCERR_NOT_OPEN, "handle " + std::to_string(handle) + " names no open database");
  return *open_[handle - 1];
}

void Device::Close(uint8_t handle) {
  At(handle);
  const std::unique_ptr<OpenDatabase> database = std::move(open_[handle - 1]);
  const std::optional<TFileIdentity> read_from = std::exchange(read_from_[handle - 1], std::nullopt);
  if (!database->NeedsSaving()) {
    if (read_from && IdentityOf(database->Path()) == read_from)
      closed_unchanged_.insert_or_assign(database->Path(),
                                         TKnown<DeviceDatabase>{*read_from, std::move(database->Database())});
    return;
  }
  try {
    database->Database().StampForSaving(HandheldNow());
    TAtomicFileWriter file(database->Path());
    WritePdb(database->Database().Contents(), [&file](std::string_view piece) { file.Write(piece); });
    file.Commit();
  } catch (const Exception& e) {
    throw ESyncResult(kSyncErrNonspecific, Quoted(database->Name()) + " was not saved: " + e.what());
  }
}

void Device::Discard() {
  for (auto& database : open_) database.reset();
  for (auto& identity : read_from_) identity.reset();
}

void Device::Delete(const std::string& name) {
  if (FindOpen(name)) throw ESyncResult(kSyncErrNonspecific, Quoted(name) + " is open and cannot be deleted");
  const std::optional<std::string> path = FindFile(name);
  if (!path) throw ESyncResult(SYNCERR_NOT_FOUND, Quoted(name) + " does not exist");
  closed_unchanged_.erase(*path);
  headers_.erase(*path);
  std::error_code error;
  if (!fs::remove(*path, error))
    throw ESyncResult(kSyncErrNonspecific, "cannot delete " + *path + ": " + error.message());
}
