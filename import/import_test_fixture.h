// Test support for the import: a stand-in handheld on a temporary directory, an exchange
// directory beside it, and a session whose log lines, status texts and boxes are recorded.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "api/hotsync_api.h"
#include "core/atomic_file.h"
#include "core/regional_formats.h"
#include "exchange/txt_table.h"
#include "palmdb/palm_catalogue.h"
#include "session/exchange_session.h"
#include "test_support/built_programs.h"
#include "test_support/scratch_directory.h"
#include "test_support/session_recorder.h"
#include "tools/device_connection.h"

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!StandInsBuilt()) GTEST_SKIP() << "the desktop stand-in libraries are not built in ZP_BIN_DIR";
    scratch_ = std::make_unique<TScratchDirectory>("zp-import");
    root_ = scratch_->Root();
    scratch_->MakeDirectory("exchange");
    connection_ = std::make_unique<TDeviceConnection>(BinDirectory(), scratch_->MakeDirectory("device"));
    SetCurrentFormats(TFormatSettings{});
    recorder_.Answer = IDNO;
    UseFormat(TExchangeFormat::TXT);
  }

  void TearDown() override {
    catalogue_.reset();
    connection_.reset();
    scratch_.reset();
  }

  void UseFormat(TExchangeFormat format) {
    session_.Settings.ExchangeFormat = format;
    session_.Directory = (root_ / "exchange").string() + "/";
    session_.Files = ExchangeFileSetFor(format);
    session_.Progress = &progress_;
    recorder_.Attach(session_);
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

  std::unique_ptr<TScratchDirectory> scratch_;
  std::filesystem::path root_;
  std::unique_ptr<TDeviceConnection> connection_;
  std::unique_ptr<TPalmCatalogue> catalogue_ = std::make_unique<TPalmCatalogue>();
  TcsTXTTable text_table_;
  TfrmProgress progress_{nullptr};
  TExchangeSession session_;
  TSessionRecorder recorder_;
};
