// Test support for the import: a stand-in handheld on a temporary directory, an exchange
// directory beside it, and a session whose log lines, status texts and boxes are recorded.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/atomic_file.h"
#include "core/regional_formats.h"
#include "exchange/txt_table.h"
#include "api/hotsync_api.h"
#include "palmdb/device_connection.h"
#include "palmdb/palm_catalogue.h"
#include "session/exchange_session.h"

struct TLoggedLine {
  std::string Text;
  int Activity;
  bool operator==(const TLoggedLine&) const = default;
};

struct TAskedBox {
  std::string Text;
  std::string Caption;
  unsigned Style;
};

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("ZP_BIN_DIR");
    if (bin == nullptr || !std::filesystem::exists(std::filesystem::path(bin) / "libsync20.so")) {
      GTEST_SKIP() << "the desktop stand-in libraries are not built in ZP_BIN_DIR";
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "zp-import-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ / "device");
    std::filesystem::create_directories(root_ / "exchange");
    connection_ = std::make_unique<TDeviceConnection>(bin, (root_ / "device").string());
    SetCurrentFormats(TFormatSettings{});
    UseFormat(TExchangeFormat::TXT);
  }

  void TearDown() override {
    catalogue_.reset();
    connection_.reset();
    if (!root_.empty()) std::filesystem::remove_all(root_);
  }

  void UseFormat(TExchangeFormat format) {
    session_.Settings.ExchangeFormat = format;
    session_.Directory = (root_ / "exchange").string() + "/";
    session_.Files = ExchangeFileSetFor(format);
    session_.Progress = &progress_;
    session_.StatusText = [this](const std::string& text) { status_.push_back(text); };
    session_.LogLine = [this](const std::string& text, int activity) { log_.push_back({text, activity}); };
    session_.MessageBox = [this](const std::string& text, const std::string& caption, unsigned style) {
      boxes_.push_back({text, caption, style});
      return answer_;
    };
  }

  // Writes the records (values as regional texts, "" for none) into a fresh database.
  void Fill(TpfgPalmRemoteTable& table, const std::vector<std::vector<std::pair<const char*, std::string>>>& rows) {
    if (table.Exists()) {
      table.Open();
      table.EmptyTable();
    } else {
      table.CreateTable();
    }
    for (const auto& row : rows) {
      table.Insert();
      for (const auto& [name, value] : row) table.FieldByName(name).SetAsString(value);
      table.Post();
    }
    table.Close();
  }

  int RecordsOn(TpfgPalmRemoteTable& table) {
    table.Open();
    const int count = table.RecordCount();
    table.Close();
    return count;
  }

  std::string ExchangeFile(const std::string& name) const {
    return ReadWholeFile((root_ / "exchange" / name).string());
  }
  bool ExchangeFileExists(const std::string& name) const { return std::filesystem::exists(root_ / "exchange" / name); }

  std::filesystem::path root_;
  std::unique_ptr<TDeviceConnection> connection_;
  std::unique_ptr<TPalmCatalogue> catalogue_ = std::make_unique<TPalmCatalogue>();
  TcsTXTTable text_table_;
  TfrmProgress progress_{nullptr};
  TExchangeSession session_;
  std::vector<std::string> status_;
  std::vector<TLoggedLine> log_;
  std::vector<TAskedBox> boxes_;
  int answer_ = IDNO;
};
