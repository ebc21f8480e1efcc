#include "hotsync/device/device.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "api/sync_manager.h"
#include "core/atomic_file.h"
#include "hotsync/device/database_file_name.h"
#include "hotsync/device/sync_result.h"
#include "hotsync/device/temp_device_directory.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int32_t code = 0;
  std::string message;
};

Outcome Try(auto&& operation) {
  try {
    operation();
  } catch (const ESyncResult& e) {
    return {e.Code(), e.what()};
  }
  return {};
}

std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

ino_t Inode(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_ino;
}

void PutDatabase(const std::string& path, const std::string& name, std::vector<PdbRecord> records = {}) {
  PdbDatabase db;
  db.name = name;
  db.records = std::move(records);
  WriteFileAtomic(path, SerializePdb(db));
}

TEST(DatabaseFileName, EscapesEverythingUnsafe) {
  EXPECT_EQ(DatabaseFileName("Zembra_CustomerDB"), "Zembra_CustomerDB.pdb");
  EXPECT_EQ(DatabaseFileName("../x"), "%2E.%2Fx.pdb");
  EXPECT_EQ(DatabaseFileName("a b%\xC0"), "a%20b%25%C0.pdb");
  EXPECT_EQ(DatabaseFileName(".."), "%2E..pdb");
}

TEST(Device, NewDatabasesStayInsideTheDeviceDirectory) {
  TempDeviceDirectory dir;
  Device device(dir.Path());
  device.Close(device.Create({"../x", 0x5771747A, 0x44415441, 256, 0}));
  device.Close(device.Create({"Zembra_CustomerDB", 0, 0, 0, 0}));
  EXPECT_EQ(Entries(dir.Root()), std::set<std::string>{"device"});
  EXPECT_EQ(Entries(dir.Path()), (std::set<std::string>{"%2E.%2Fx.pdb", "Zembra_CustomerDB.pdb"}));

  const uint8_t handle = device.Open("../x", SYNC_MODE_READ);
  const PdbDatabase& contents = device.At(handle).Database().Contents();
  EXPECT_EQ(contents.creator, 0x5771747Au);
  EXPECT_EQ(contents.type, 0x44415441u);
  EXPECT_EQ(contents.version, 256);
}

TEST(Device, FindsDatabasesByTheNameInTheirHeader) {
  TempDeviceDirectory dir;
  PutDatabase(dir.File("whatever.PDB"), "RealName", {{0, 0, 1, "r"}});
  WriteFileAtomic(dir.File("RealName.txt"), "not a database");
  Device device(dir.Path());
  EXPECT_EQ(device.At(device.Open("RealName", SYNC_MODE_READ)).Database().RecordAt(0).data, "r");
  EXPECT_EQ(Try([&] { device.Open("whatever", SYNC_MODE_READ); }).code, SYNCERR_NOT_FOUND);
  EXPECT_EQ(Try([&] { device.Create({"RealName", 0, 0, 0, 0}); }).code, SYNCERR_ALREADY_EXISTS);
}

TEST(Device, SavesOnCloseOnlyAndOnlyWhatChanged) {
  TempDeviceDirectory dir;
  const std::string path = dir.File("Orders.pdb");
  PutDatabase(path, "Orders");
  Device device(dir.Path());

  const uint8_t handle = device.Open("Orders", SYNC_MODE_READ | SYNC_MODE_WRITE);
  const ino_t before = Inode(path);
  const std::string bytes_before = ReadWholeFile(path);
  for (int i = 0; i < 3; ++i) device.At(handle).Database().WriteRecord(0, 0, 1, "order");
  EXPECT_EQ(Inode(path), before);
  EXPECT_EQ(ReadWholeFile(path), bytes_before);
  device.Close(handle);
  const PdbDatabase saved = ParsePdb(ReadWholeFile(path), path);
  EXPECT_EQ(saved.records.size(), 3u);
  EXPECT_EQ(saved.modification_number, 1u);
  EXPECT_EQ(saved.unique_id_seed, 4u);

  const ino_t after_save = Inode(path);
  EXPECT_NE(after_save, before);
  const uint8_t again = device.Open("Orders", SYNC_MODE_READ | SYNC_MODE_WRITE);
  device.At(again).Database().SetAppInfo("");
  device.At(again).Database().PurgeDeletedRecords();
  device.Close(again);
  EXPECT_EQ(Inode(path), after_save);
}

// Databases closed unchanged are opened again from memory, but only while a file is the one it
// was read from: a file replaced or rewritten in between is read anew, under its new name too.
TEST(Device, ReopeningReadsAFileThatChangedSinceItWasClosed) {
  TempDeviceDirectory dir;
  const std::string path = dir.File("Orders.pdb");
  PutDatabase(path, "Orders", {{0, 0, 1, "first"}});
  Device device(dir.Path());
  const auto first_record = [&](const std::string& name) {
    const uint8_t handle = device.Open(name, SYNC_MODE_READ);
    const std::string data(device.At(handle).Database().RecordAt(0).data);
    device.Close(handle);
    return data;
  };
  PutDatabase(dir.File("Lines.pdb"), "Lines", {{0, 0, 1, "line"}});
  EXPECT_EQ(first_record("Orders"), "first");
  EXPECT_EQ(first_record("Lines"), "line");
  EXPECT_EQ(first_record("Orders"), "first");
  PutDatabase(path, "Orders", {{0, 0, 1, "second"}});
  EXPECT_EQ(first_record("Lines"), "line");
  EXPECT_EQ(first_record("Orders"), "second");
  {
    std::string bytes = ReadWholeFile(path);
    bytes += "x";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  // The last record runs to the end of the file, so the byte written in place is read.
  EXPECT_EQ(first_record("Orders"), "secondx");
  PutDatabase(path, "Renamed", {{0, 0, 1, "third"}});
  EXPECT_EQ(Try([&] { device.Open("Orders", SYNC_MODE_READ); }).code, SYNCERR_NOT_FOUND);
  EXPECT_EQ(first_record("Renamed"), "third");
}

TEST(Device, AnswersWithTheHandheldsResultCodes) {
  TempDeviceDirectory dir;
  Device device(dir.Path());
  EXPECT_EQ(Try([&] { device.Open("Missing", SYNC_MODE_READ); }).code, SYNCERR_NOT_FOUND);
  EXPECT_EQ(Try([&] { device.Delete("Missing"); }).code, SYNCERR_NOT_FOUND);
  EXPECT_EQ(Try([&] { device.At(0); }).code, SYNCERR_NOT_OPEN);
  EXPECT_EQ(Try([&] { device.Close(5); }).code, SYNCERR_NOT_OPEN);
  EXPECT_EQ(Try([&] { device.Create({"", 0, 0, 0, 0}); }).code, SYNCERR_BAD_ARGUMENT);
  EXPECT_EQ(Try([&] { device.Create({std::string(32, 'n'), 0, 0, 0, 0}); }).code, SYNCERR_BAD_ARGUMENT);

  const uint8_t first = device.Create({"Db0", 0, 0, 0, 0});
  EXPECT_EQ(Try([&] { device.Create({"Db0", 0, 0, 0, 0}); }).code, SYNCERR_ALREADY_EXISTS);
  EXPECT_EQ(Try([&] { device.Open("Db0", SYNC_MODE_READ); }).code, SYNCERR_OPEN_FAILED);
  EXPECT_EQ(Try([&] { device.Delete("Db0"); }).code, kSyncErrNonspecific);
  for (size_t i = 1; i < kMaxOpenDatabases; ++i) device.Create({"Db" + std::to_string(i), 0, 0, 0, 0});
  EXPECT_EQ(Try([&] { device.Create({"OneTooMany", 0, 0, 0, 0}); }).code, SYNCERR_TOO_MANY_OPEN);
  device.Close(first);
  EXPECT_EQ(Try([&] { device.Open("Db0", 0); }).code, SYNCERR_BAD_ARGUMENT);
  device.Delete("Db0");
  EXPECT_FALSE(fs::exists(dir.File("Db0.pdb")));
}

TEST(Device, DamagedFilesFailToOpenWithTheReason) {
  TempDeviceDirectory dir;
  PutDatabase(dir.File("cut.pdb"), "Cut", {{0, 0, 1, "abc"}});
  std::string bytes = ReadWholeFile(dir.File("cut.pdb"));
  WriteFileAtomic(dir.File("cut.pdb"), bytes.substr(0, 82));
  Device device(dir.Path());
  const Outcome outcome = Try([&] { device.Open("Cut", SYNC_MODE_READ); });
  EXPECT_EQ(outcome.code, SYNCERR_OPEN_FAILED);
  EXPECT_EQ(outcome.message,
            dir.File("cut.pdb") + ": record list of 1 entries at offset 78 runs past the end of the file (82 bytes)");

  PutDatabase(dir.File("one.pdb"), "Twice");
  PutDatabase(dir.File("two.pdb"), "Twice");
  EXPECT_EQ(Try([&] { device.Open("Twice", SYNC_MODE_READ); }).code, SYNCERR_OPEN_FAILED);
}

TEST(Device, ANewDatabaseNeverOverwritesAnotherFile) {
  TempDeviceDirectory dir;
  WriteFileAtomic(dir.File("Zembra_X.pdb"), "short");  // no readable header, so no name
  Device device(dir.Path());
  const uint8_t handle = device.Create({"Zembra_X", 0, 0, 0, 0});
  device.At(handle).Database().WriteRecord(0, 0, 0, "kept");
  device.Close(handle);
  EXPECT_EQ(ReadWholeFile(dir.File("Zembra_X.pdb")), "short");
  EXPECT_EQ(ParsePdb(ReadWholeFile(dir.File("Zembra_X~2.pdb")), "x").records.at(0).data, "kept");
}

TEST(Device, ClosingTheDeviceSavesWhatIsStillOpen) {
  TempDeviceDirectory dir;
  {
    Device device(dir.Path());
    device.At(device.Create({"Left", 0, 0, 0, 0})).Database().WriteRecord(0, 0, 0, "open");
  }
  EXPECT_EQ(ParsePdb(ReadWholeFile(dir.File("Left.pdb")), "x").records.size(), 1u);
}

// A load that fails half way leaves the file as it was, whatever it had changed in memory.
TEST(Device, DiscardingKeepsTheFilesOfOpenDatabasesAsTheyWere) {
  TempDeviceDirectory dir;
  {
    Device device(dir.Path());
    const uint8_t handle = device.Create({"Zembra_CashDB", 0, 0, 0, 0});
    device.At(handle).Database().WriteRecord(0, 0, 0, "first");
    device.Close(handle);
  }
  const std::string before = ReadWholeFile(dir.File("Zembra_CashDB.pdb"));
  {
    Device device(dir.Path());
    const uint8_t handle = device.Open("Zembra_CashDB", SYNC_MODE_READ | SYNC_MODE_WRITE);
    device.At(handle).Database().PurgeAllRecords();
    device.At(device.Create({"Zembra_NewDB", 0, 0, 0, 0})).Database().WriteRecord(0, 0, 0, "never");
    device.Discard();
  }
  EXPECT_EQ(ReadWholeFile(dir.File("Zembra_CashDB.pdb")), before);
  EXPECT_FALSE(std::filesystem::exists(dir.File("Zembra_NewDB.pdb")));
}

}  // namespace
