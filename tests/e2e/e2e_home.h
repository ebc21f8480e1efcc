// End-to-end test support: a scratch HotSync home driven by the built hotsync program, one user's
// exchange and device directories, and the handheld tool loading and dumping that user's databases.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "test_support/scratch_directory.h"
#include "tests/e2e/run_program.h"

// Why an end-to-end test skips when E2EProgramsBuilt() is false.
inline constexpr const char kE2EProgramsMissing[] = "hotsync, handheld or the conduit is not built in ZP_BIN_DIR";
// True when hotsync, handheld and the conduit are all in ZP_BIN_DIR.
bool E2EProgramsBuilt();

// The lines of the text that end with '\n', without the '\n' and a '\r' before it.
std::vector<std::string> LinesOf(const std::string& text);
// The lines of the text that end with "\r\n", each keeping its "\r\n".
std::vector<std::string> LinesWithEnds(const std::string& text);
// The program's own Russian text, written in UTF-8, in Windows-1251.
std::string Line(const char* utf8);

// A fixture's share of the plumbing, mixed into a GoogleTest fixture beside ::testing::Test.
class TE2EHome {
 protected:
  // A fresh scratch directory whose name starts with `scratch_prefix`; its "home" is the HotSync home.
  void MakeScratch(std::string_view scratch_prefix);
  // Registers the conduit, adds the user (kept in the home's `folder`) and makes the user's
  // exchange and device directories.
  void AddUser(const std::string& user, const std::string& folder);

  // Runs hotsync on the home; `capture` names a directory of its own for a run beside another.
  TProgramRun HotSync(std::vector<std::string> arguments, const std::string& capture = "") const;
  // Runs hotsync on another home.
  TProgramRun HotSyncAt(const std::string& home, std::vector<std::string> arguments) const;
  TProgramRun Handheld(const std::vector<std::string>& arguments) const;

  // The three reference files every exchange needs, as text: one category, customer and product.
  void WriteReferenceTexts(const std::string& customer_id = "1", const std::string& product_id = "101") const;
  // The reference and index databases the export rewrites, empty, as the sales application keeps them.
  void LoadEmptyReferenceDatabases() const;
  // Loads a handheld database from semicolon text (Windows-1251, C-locale values).
  void Load(const std::string& database, const std::string& text) const;
  // The handheld database's lines as the handheld tool dumps them: the field names, then each
  // record's values in Windows-1251, each followed by ';'.
  std::vector<std::string> Dump(const std::string& database) const;
  // The handheld's records of a database (its dump without the header line).
  int RecordsOn(const std::string& database) const;

  std::string LogPath() const { return home_ + "/" + user_folder_ + "/HotSync.log"; }
  // The user's HotSync log as it is on disk (Windows-1251).
  std::string LogBytes() const;
  std::vector<std::string> LogLines() const { return LinesOf(LogBytes()); }

  std::string bin_;  // ends with '/'
  std::unique_ptr<TScratchDirectory> scratch_;
  std::filesystem::path root_;
  std::string home_;
  std::string user_folder_;
  std::string exchange_;  // ends with '/'
  std::string device_;
};
