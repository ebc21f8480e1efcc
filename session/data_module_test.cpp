#include "session/data_module.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "conduit/stand_in_test.h"
#include "core/atomic_file.h"
#include "core/cp1251.h"

namespace {

namespace fs = std::filesystem;

// Phases that record what the session gave them and answer as told.
class ScriptedPhases : public TExchangePhases {
 public:
  bool PreExchangeChecks(TExchangeSession& session) override {
    calls.push_back("checks");
    seen = session;
    if (!checks_pass && log_check_failure) session.LogLine("check failed", 21);
    return checks_pass;
  }
  int32_t ImportPhase(TExchangeSession& session) override {
    calls.push_back("import");
    session.Progress->MarkStep(2);
    if (import_error) throw Exception("Order import failed");
    if (import_system_error) throw std::runtime_error("disk full");
    return orders;
  }
  void ExportPhase(TExchangeSession& session) override {
    calls.push_back("export");
    session.Progress->MarkStep(11);
    if (export_error) throw Exception("Export failed");
  }

  std::vector<std::string> calls;
  TExchangeSession seen;
  bool checks_pass = true;
  bool log_check_failure = false;
  bool import_error = false;
  bool import_system_error = false;
  bool export_error = false;
  int32_t orders = 3;
};

class DataModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_path_ = ::testing::TempDir() + "data_module_test.ini";
    fs::remove(settings_path_);
    module_.Phases = &phases_;
    module_.SettingsPath = [this] { return settings_path_; };
  }
  void TearDown() override { fs::remove(settings_path_); }

  std::string settings_path_;
  ScriptedPhases phases_;
  TDataModule1 module_;
};

TEST_F(DataModuleTest, CarriesTheConduitsIdentity) {
  const TpfgPalmComponent& component = module_.PalmComponent;
  EXPECT_EQ(component.ConduitName, "ZembraToPalm");
  EXPECT_EQ(component.Version(), 0x0206);
  EXPECT_EQ(component.Priority(), 2);
  EXPECT_EQ(component.Directory, "Default");
  EXPECT_EQ(component.Information, "Zem&bra - Palm");
  EXPECT_EQ(component.CreatorID(), "Wqtz");
  EXPECT_TRUE(component.OnExecConduit);
  EXPECT_TRUE(component.OnConfigConduit);
  EXPECT_FALSE(component.OnRegisterConduit);
  EXPECT_EQ(&TpfgPalmComponent::Find(), &component);
}

TEST_F(DataModuleTest, ExchangeRunsChecksImportAndExportAndClosesTheWindow) {
  module_.Settings.ExchangeFormat = TExchangeFormat::XML;
  module_.ExchangeDirectory = "/exchange/";
  module_.UserName = "Agent 7";
  EXPECT_EQ(module_.ExchangeProcedure(), 3);
  EXPECT_EQ(phases_.calls, (std::vector<std::string>{"checks", "import", "export"}));
  EXPECT_EQ(phases_.seen.Files.Note1, "Note1.xlm");
  EXPECT_EQ(phases_.seen.FilePath(phases_.seen.Files.Order), "/exchange/Order.xml");
  EXPECT_EQ(phases_.seen.UserName, "Agent 7");
  EXPECT_EQ(module_.frmProgress, nullptr);
  EXPECT_EQ(module_.PalmComponent.StatusText(), Ansi("Заказы: Проверка"));
}

TEST_F(DataModuleTest, AStopAtTheChecksLeavesTheWindowUnmarkedAndReturnsNoOrders) {
  phases_.checks_pass = false;
  module_.UserName = "Agent 7";
  EXPECT_EQ(module_.ExchangeProcedure(), 0);
  EXPECT_EQ(phases_.calls, (std::vector<std::string>{"checks"}));
  ASSERT_NE(module_.frmProgress, nullptr);
  EXPECT_TRUE(module_.frmProgress->Visible());
  EXPECT_EQ(module_.frmProgress->edtUser(), "Agent 7");
  for (int row = 0; row < TfrmProgress::kRowCount; ++row) EXPECT_FALSE(module_.frmProgress->Marked(row));
}

TEST_F(DataModuleTest, AnImportErrorLeavesTheWindowAndAnExportErrorClosesIt) {
  phases_.import_error = true;
  EXPECT_THROW(module_.ExchangeProcedure(), Exception);
  ASSERT_NE(module_.frmProgress, nullptr);
  EXPECT_EQ(module_.frmProgress->SelectedRow(), 2);

  phases_.import_error = false;
  phases_.export_error = true;
  EXPECT_THROW(module_.ExchangeProcedure(), Exception);
  EXPECT_EQ(module_.frmProgress, nullptr);
}

// Answers the settings dialog as a user would and records what it showed.
class ScriptedDialog : public TSettingsDialogView {
 public:
  TModalResult ShowModal(TfrmSetting& dialog) override {
    shown_format_xml = dialog.rbXML.Checked;
    shown_odbc_list = dialog.cmbODBCName.Visible;
    if (choose_txt_dbf) dialog.ClickFormatButton(dialog.rbTXTDBF);
    return result;
  }
  std::optional<std::string> ChooseFile(const std::string&, const std::string&) override { return {}; }

  TModalResult result = TModalResult::Cancel;
  bool choose_txt_dbf = false;
  bool shown_format_xml = false;
  bool shown_odbc_list = true;
};

class SettingsDialogRun : public DataModuleTest {
 protected:
  void SetUp() override {
    DataModuleTest::SetUp();
    module_.Views.SettingsDialog = &dialog_;
  }
  void Configure() {
    TpfgCfgConduitInfo info{};
    module_.PalmComponentConfigConduit(info);
  }
  ScriptedDialog dialog_;
};

TEST_F(SettingsDialogRun, CancelLeavesTheFileByteForByte) {
  const std::string original = "; mine\r\n[COMMON]\r\nEXCHANGEFILEFORMAT = XML\r\nDOSORTCATEGORY=0x0\r\n";
  WriteFileAtomic(settings_path_, original);
  Configure();
  EXPECT_EQ(ReadWholeFile(settings_path_), original);
  EXPECT_TRUE(dialog_.shown_format_xml);
  EXPECT_FALSE(dialog_.shown_odbc_list);
  EXPECT_EQ(module_.frmSetting, nullptr);
}

TEST_F(SettingsDialogRun, OkWithoutChangesRewritesAllFiveKeys) {
  WriteFileAtomic(settings_path_, "[COMMON]\nDOSORTCATEGORY=0x1\nEXCHANGEFILEFORMAT=XML\n");
  dialog_.result = TModalResult::OK;
  Configure();
  EXPECT_EQ(ReadWholeFile(settings_path_),
            "[COMMON]\nDOSORTCATEGORY=1\nEXCHANGEFILEFORMAT=XML\n"
            "ODBCDRIVERNAME=Microsoft FoxPro VFP Driver (*.dbf)\nSTARTFILENAME=\nSTOPFILENAME=\n");
}

TEST_F(SettingsDialogRun, OkStoresTheChosenFormatInTheSessionToo) {
  dialog_.result = TModalResult::OK;
  dialog_.choose_txt_dbf = true;
  Configure();
  EXPECT_EQ(module_.Settings.ExchangeFormat, TExchangeFormat::TXTINDBFOUT);
  TSessionSettings read_back;
  ReadSessionSettings(settings_path_, read_back);
  EXPECT_EQ(read_back.ExchangeFormat, TExchangeFormat::TXTINDBFOUT);
  EXPECT_EQ(read_back.ODBCDriverName, "Microsoft FoxPro VFP Driver (*.dbf)");
}

TEST_F(DataModuleTest, WithoutADialogViewNothingIsWritten) {
  TpfgCfgConduitInfo info{};
  module_.PalmComponentConfigConduit(info);
  EXPECT_FALSE(fs::exists(settings_path_));
}

// One whole synchronisation through the desktop stand-ins.
class SessionDriverTest : public StandInTest {
 protected:
  void SetUp() override {
    StandInTest::SetUp();
    if (IsSkipped()) return;
    module_ = std::make_unique<TDataModule1>();
    module_->Phases = &phases_;
    module_->SettingsPath = [this] { return home_.Path() + "ZembraToPalm.ini"; };
  }
  void TearDown() override {
    module_.reset();
    StandInTest::TearDown();
  }
  void Sync(const std::string& user = "Agent 7") {
    TpfgSyncProperties props{};
    std::strcpy(props.PathName, (home_.Path() + "exchange/").c_str());
    std::strcpy(props.UserName, user.c_str());
    module_->PalmComponentExecConduit(props);
  }
  void Settings(const std::string& common) {
    WriteFileAtomic(home_.Path() + "ZembraToPalm.ini", "[COMMON]\n" + common);
  }
  std::string Script(const std::string& name, const std::string& body) {
    fs::create_directories(home_.Path() + "programs dir");
    const std::string path = home_.Path() + "programs dir/" + name;
    WriteFileAtomic(path, "#!/bin/sh\n" + body);
    chmod(path.c_str(), 0755);
    return path;
  }

  ScriptedPhases phases_;
  std::unique_ptr<TDataModule1> module_;
};

TEST_F(SessionDriverTest, ASessionOpensAndClosesItsLog) {
  Sync();
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{Ansi("Старт процедуры синхронизации ZembraToPalm"),
                                                     Ansi("ZembraToPalm - Загружено: 3 заказов")}));
  EXPECT_FALSE(module_->PalmComponent.SyncOpen());
  EXPECT_EQ(phases_.seen.Directory, home_.Path() + "exchange/");
  EXPECT_EQ(phases_.seen.Format(), TExchangeFormat::TXT);
}

TEST_F(SessionDriverTest, ASettingsFileThatCannotBeReadIsLoggedWithItsReason) {
  const std::string path = home_.Path() + "ZembraToPalm.ini";
  fs::create_directories(path);
  EXPECT_THROW(Sync(), Exception);
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{"ZembraToPalm - Cannot open \"" + path +
                                                     "\": not a regular file (a directory)"}));
  EXPECT_TRUE(phases_.seen.Directory.empty()) << "no phase runs";
}

TEST_F(SessionDriverTest, ALowerCaseFormatIsNotRecognised) {
  Settings("EXCHANGEFILEFORMAT=txt\n");
  Sync();
  EXPECT_EQ(phases_.seen.Format(), TExchangeFormat::DBF);
  EXPECT_EQ(phases_.seen.Files.Product, "Product.dbf");
}

TEST_F(SessionDriverTest, AStopAtTheChecksStillRunsTheAfterProgramAndClosesWithNoOrders) {
  const std::string marker = home_.Path() + "after-ran";
  const std::string after = Script("after.sh", "touch '" + marker + "'\n");
  Settings("STOPFILENAME=" + after + "\n");
  phases_.checks_pass = false;
  phases_.log_check_failure = true;
  Sync();
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{Ansi("Старт процедуры синхронизации ZembraToPalm"), "check failed",
                                                     Ansi("Вызов внешней программы ") + after,
                                                     Ansi("ZembraToPalm - Загружено: 0 заказов")}));
  EXPECT_TRUE(fs::exists(marker));
}

TEST_F(SessionDriverTest, AnImportErrorEndsTheSessionWithoutTheAfterProgram) {
  const std::string report = home_.Path() + "before-args";
  const std::string before = Script("before.sh", "printf '%s|%s' \"$#\" \"$1\" > '" + report + "'\n");
  const std::string marker = home_.Path() + "after-ran";
  const std::string after = Script("after.sh", "touch '" + marker + "'\n");
  Settings("STARTFILENAME=" + before + "\nSTOPFILENAME=" + after + "\n");
  phases_.import_error = true;
  Sync("Agent 7; rm -rf ~");
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{Ansi("Старт процедуры синхронизации ZembraToPalm"),
                                                     Ansi("Вызов внешней программы ") + before,
                                                     "ZembraToPalm - Order import failed"}));
  EXPECT_EQ(ReadWholeFile(report), "1|Agent 7; rm -rf ~");
  EXPECT_FALSE(fs::exists(marker));
  EXPECT_FALSE(module_->PalmComponent.SyncOpen());
}

TEST_F(SessionDriverTest, EveryErrorOfAStepIsLoggedTheSameWay) {
  phases_.import_system_error = true;
  Sync();
  EXPECT_EQ(log_->Lines(),
            (std::vector<std::string>{Ansi("Старт процедуры синхронизации ZembraToPalm"), "ZembraToPalm - disk full"}));
}

TEST_F(SessionDriverTest, ABeforeProgramThatCannotStartDoesNotStopTheSession) {
  Settings("STARTFILENAME=/nonexistent/before\n");
  Sync();
  EXPECT_EQ(log_->Lines(), (std::vector<std::string>{Ansi("Старт процедуры синхронизации ZembraToPalm"),
                                                     Ansi("Вызов внешней программы /nonexistent/before"),
                                                     Ansi("ZembraToPalm - Загружено: 3 заказов")}));
}

}  // namespace
